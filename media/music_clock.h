// The clock every scene is timed by, and the spectrum that shakes the
// background: taken from the music stream once per frame.
#pragma once

#include <cstdint>

#include "bass.h"

// The stream the clock reads: the playing music, or a decoding one.
extern HSTREAM MusicStream;
extern float MusicPosition;
extern float SlowClock;
extern float SpectrumBuffer[256];

// The stream's position into MusicPosition and SlowClock, then its spectrum
// into SpectrumBuffer, as every frame is drawn with.
void SampleMusic();
// MusicPosition and SlowClock alone, for a position in bytes.
void SetMusicClock(uint64_t bytes);
// A byte count as single precision, read as unsigned whatever its top bit.
float BytesToPosition(uint64_t bytes);
// The clock at 0 and the spectrum silent, as at load.
void ResetMusicClock();
