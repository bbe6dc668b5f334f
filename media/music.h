// The music: playback, the clock every scene is timed by, and its spectrum.
#pragma once

#include <cstdint>

#include "bass.h"

extern HSTREAM MusicStream;
extern bool MusicStartPending;
extern float MusicPosition;
extern float SlowClock;
extern float SpectrumBuffer[256];

void StartMusic();
void SampleMusic();
void ReleaseMusic();

// A byte count as single precision, read as unsigned whatever its top bit.
float BytesToPosition(uint64_t bytes);
