// A music file decoded on request, never played: for rendering offline.
// Its position moves only when it is set or data is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pcm_source.h"
#include "spectrum.h"

class DecodeChannel {
public:
    bool Open(const std::string& path, bool prescan);

    // In 44.1 kHz stereo frames. Every position is reached by a fresh seek,
    // so what is read there never depends on what was read before.
    bool SetPosition(int64_t frame);
    int64_t Position() const { return position; }

    // Up to `frames` frames of 16-bit stereo; 0 at the end.
    size_t Read(int16_t* out, size_t frames);
    // Magnitudes of the 512 frames from the position on (silence past the
    // end), which the spectrum takes up.
    void Spectrum(float* out);

private:
    PcmSource source;
    int64_t position = 0;
    std::vector<int16_t> frames = std::vector<int16_t>(Spectrum512::Size * PcmSource::Channels);
    float window[Spectrum512::Size] = {};
    Spectrum512 spectrum;
};
