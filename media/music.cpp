#include "media/music.h"

#include "media/picture_table.h"

bool MusicStartPending = true;

namespace {

void ShowMusicError(const char* text) {
    MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void StartMusic(HWND window) {
    if (!MusicStartPending) {
        return;
    }
    if (!BASS_Init(1, 44100, 0, window, nullptr)) {
        ShowMusicError("Bass init failed! Remembered the bass.dll file?");
    }
    MusicStream = BASS_StreamCreateFile(FALSE, MusicPath, 0, 0, BASS_STREAM_PRESCAN);
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

HSTREAM OpenMusicForDecoding() {
    return BASS_StreamCreateFile(FALSE, MusicPath, 0, 0, BASS_STREAM_DECODE | BASS_STREAM_PRESCAN);
}
