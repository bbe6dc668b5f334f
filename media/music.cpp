#include "media/music.h"

#include "app/render_window.h"

HSTREAM MusicStream = 0;
bool MusicStartPending = true;
float MusicPosition = 0.0f;
float SlowClock = 0.0f;
float SpectrumBuffer[256] = {};

namespace {

void ShowMusicError(const char* text) {
    MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

float BytesToPosition(uint64_t bytes) {
    // An unsigned conversion, rounded once to the nearest single-precision
    // value: a count with the top bit set stays a huge positive position.
    return static_cast<float>(bytes);
}

void StartMusic() {
    if (!MusicStartPending) {
        return;
    }
    if (!BASS_Init(1, 44100, 0, WindowHandle, nullptr)) {
        ShowMusicError("Bass init failed! Remembered the bass.dll file?");
    }
    MusicStream = BASS_StreamCreateFile(FALSE, "data/Fast.mp3", 0, 0, BASS_STREAM_PRESCAN);
    if (MusicStream == 0) {
        ShowMusicError("Bass file loading failed!");
    }
    if (!BASS_ChannelPlay(MusicStream, TRUE)) {
        ShowMusicError("Music failed to play!");
    }
    BASS_ChannelSetPosition(MusicStream, 0);
    MusicStartPending = false;
}

void SampleMusic() {
    const QWORD p = BASS_ChannelGetPosition(MusicStream);
    MusicPosition = BytesToPosition(p);
    SlowClock = MusicPosition / 200000.0f;
    BASS_ChannelGetData(MusicStream, SpectrumBuffer, BASS_DATA_FFT512);
}

void ReleaseMusic() {
    BASS_Free();
}
