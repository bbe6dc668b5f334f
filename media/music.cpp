#include "media/music.h"

#include "app/render_window.h"

bool MusicStartPending = true;

namespace {

void ShowMusicError(const char* text) {
    MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

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

void ReleaseMusic() {
    BASS_Free();
}
