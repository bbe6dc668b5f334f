#include "media/music_clock.h"

#include <algorithm>

HSTREAM MusicStream = 0;
float MusicPosition = 0.0f;
float SlowClock = 0.0f;
float SpectrumBuffer[256] = {};

float BytesToPosition(uint64_t bytes) {
    // An unsigned conversion, rounded once to the nearest single-precision
    // value: a count with the top bit set stays a huge positive position.
    return static_cast<float>(bytes);
}

void SetMusicClock(uint64_t bytes) {
    MusicPosition = BytesToPosition(bytes);
    SlowClock = MusicPosition / 200000.0f;
}

void SampleMusic() {
    SetMusicClock(BASS_ChannelGetPosition(MusicStream));
    BASS_ChannelGetData(MusicStream, SpectrumBuffer, BASS_DATA_FFT512);
}

void ResetMusicClock() {
    SetMusicClock(0);
    std::fill(SpectrumBuffer, SpectrumBuffer + 256, 0.0f);
}
