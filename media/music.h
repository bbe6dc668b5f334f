// The music: started once for the player, or opened for decoding offline.
#pragma once

#include "bass.h"
#include "media/music_clock.h"

extern bool MusicStartPending;

// Plays the music from its start into MusicStream; every failure is told in
// a box and the clock keeps the pictures' time all the same. `window` is the
// player's window, for the audio library.
void StartMusic(HWND window);
void ReleaseMusic();

// A stream of the music that is never played, only decoded on request
// (the audio library must be started); 0 when the music is missing or unreadable.
HSTREAM OpenMusicForDecoding();
