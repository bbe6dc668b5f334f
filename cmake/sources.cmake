# The program's own sources, shared by every build of it (native, browser,
# Windows). Each build adds its own platform layer beside them.
set(PROGRAM_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Entry point and frame loop, window and rendering context, frame timer.
set(SHELL_SOURCES app/entry.cpp app/frame_timer.cpp app/render_window.cpp)
# The music's clock and spectrum, sampled every frame.
set(MUSIC_CLOCK_SOURCES media/music_clock.cpp)
# Starting and releasing the music.
set(MUSIC_SOURCES media/music.cpp)
# How large each picture is kept, whoever decodes it.
set(PICTURE_AREA_SOURCES media/picture_area.cpp)
# Pictures decoded by the program itself (the browser decodes its own).
set(PICTURE_DECODING_SOURCES media/picture_decoder.cpp media/jpeg_picture.cpp media/png_picture.cpp
  media/picture_pixels.cpp media/picture_loader.cpp)
# The texture set, the off-screen target and the fixed drawing state.
set(GRAPHICS_SOURCES media/graphics_setup.cpp media/texture_set.cpp media/picture_upload.cpp)
# The three scenes, the photo schedule, their chain and the view.
set(SCENE_SOURCES scenes/opening_logo.cpp scenes/main_section.cpp scenes/photo_schedule.cpp scenes/credits.cpp
  scenes/scene_chain.cpp scenes/presentation_state.cpp scenes/view.cpp)
# The spectrum of the audio layer, in every build.
set(SPECTRUM_SOURCES platform/bass/spectrum.cpp)
# The audio layer's calls on the program's own decoders and SDL's output, in
# the native builds (Linux adds its PulseAudio output, Windows says it has none).
set(AUDIO_LAYER_SOURCES platform/bass/bass.cpp platform/bass/decoded_stream.cpp platform/bass/decode_channel.cpp
  platform/bass/music_decoder.cpp platform/bass/mp3_decoder.cpp platform/bass/sndfile_decoder.cpp
  platform/bass/pcm_source.cpp platform/bass/play_clock.cpp platform/bass/playback.cpp platform/bass/sdl_output.cpp)

foreach(list SHELL_SOURCES MUSIC_CLOCK_SOURCES MUSIC_SOURCES PICTURE_AREA_SOURCES PICTURE_DECODING_SOURCES
             GRAPHICS_SOURCES SCENE_SOURCES SPECTRUM_SOURCES AUDIO_LAYER_SOURCES)
  list(TRANSFORM ${list} PREPEND ${PROGRAM_ROOT}/)
endforeach()
