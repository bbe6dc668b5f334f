// Start-up from process start to the first presented frame, with the sample
// media, split into its steps; beside it, decoding the same eighteen pictures
// with the image library alone.
//   startup_bench MEDIA_DIR    (run on an X display; the music plays into SDL's dummy driver)
#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/frame_timer.h"
#include "gl.h"
#include "app/render_window.h"
#include "bench/bench_util.h"
#include "media/graphics_setup.h"
#include "media/music.h"
#include "media/picture_decoder.h"
#include "media/picture_loader.h"
#include "media/texture_set.h"
#include "scenes/scenes.h"


double preparedAt = 0.0;
double prepareStartedAt = 0.0;

// The texture set, timed: the linker routes the window's call here.
extern "C" bool __real__Z15PrepareGraphicsi(int pictureHeight);
extern "C" bool __wrap__Z15PrepareGraphicsi(int pictureHeight) {
    prepareStartedAt = GlobalFrameTimer.Elapsed();
    const bool ok = __real__Z15PrepareGraphicsi(pictureHeight);
    preparedAt = GlobalFrameTimer.Elapsed();
    return ok;
}

namespace {

// On one thread, for the player's window.
double DecodeOnly(const std::string& media) {
    const double start = WallSeconds();
    for (const PictureEntry& picture : PictureTable) {
        const std::string name = PictureName(picture);
        if (DecodePicture(media + "/" + name, AreaOnScreen(picture, 600)).width == 0) {
            std::fprintf(stderr, "startup_bench: %s does not decode\n", name.c_str());
        }
    }
    return WallSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_bench MEDIA_DIR\n");
        return 2;
    }
    const std::string media = argv[1];
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string work = "/tmp/startup-bench-" + std::to_string(getpid());
    mkdir(work.c_str(), 0755);
    symlink(media.c_str(), (work + "/data").c_str());
    chdir(work.c_str());

    const double entered = GlobalFrameTimer.Elapsed();
    StartPictureDecoding(600);
    if (!CreateRenderWindow("KX 2007 Zandrel - Dwip This", 800, 600, 32, FullscreenMode)) {
        return 1;
    }
    const double windowReady = GlobalFrameTimer.Elapsed();
    StartMusic(WindowHandle);
    const double musicStarted = GlobalFrameTimer.Elapsed();
    OpeningLogoScene();
    SampleMusic();
    SwapBuffers(DeviceContext);
    glFinish();
    const double firstFrame = GlobalFrameTimer.Elapsed();
    const double peak = PeakMemoryMiB();

    ReleaseMusic();
    ReleaseGraphics();
    DestroyRenderWindow();
    ReleaseTextureSet();

    const double decodeOnly = DecodeOnly(media);
    unlink((work + "/data").c_str());
    rmdir(work.c_str());

    const double pictures = preparedAt - prepareStartedAt;
    const double window = (windowReady - entered) - pictures;
    const double music = musicStarted - windowReady;
    const double frame = firstFrame - musicStarted;
    std::printf("process start to entry point:       %7.1f ms\n", entered * 1000);
    std::printf("window and rendering context:       %7.1f ms\n", window * 1000);
    std::printf("pictures decoded and uploaded:      %7.1f ms (and the off-screen target)\n", pictures * 1000);
    std::printf("music started:                      %7.1f ms\n", music * 1000);
    std::printf("first frame drawn and presented:    %7.1f ms\n", frame * 1000);
    std::printf("process start to first frame:       %7.1f ms\n", firstFrame * 1000);
    std::printf("decoding the 18 pictures alone:     %7.1f ms\n", decodeOnly * 1000);
    std::printf("everything but the pictures adds    %7.1f%% to the pictures' own time (target below 15%%)\n",
                100.0 * (firstFrame - pictures) / pictures);
    std::printf("whole start-up over decoding alone: %7.1f%%\n", 100.0 * (firstFrame - decodeOnly) / decodeOnly);
    std::printf("peak memory after start-up:         %7.1f MiB\n", peak);
    return 0;
}
