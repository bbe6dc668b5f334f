// The music: playback, the clock every scene is timed by, and its spectrum.
#pragma once

#include <cstdint>

#include "bass.h"

extern HSTREAM MusicStream;
extern bool MusicStartPending;
extern float MusicPosition;
extern float SlowClock;
extern float SpectrumBuffer[256];

// Playing the music: the player's start and release.
void StartMusic();
void ReleaseMusic();

// The clock: the stream's position into MusicPosition and SlowClock, then
// its spectrum into SpectrumBuffer, as every frame is drawn with.
void SampleMusic();
// MusicPosition and SlowClock alone, for a position in bytes.
void SetMusicClock(uint64_t bytes);
// A byte count as single precision, read as unsigned whatever its top bit.
float BytesToPosition(uint64_t bytes);
