#include "decode_channel.h"

#include <algorithm>

bool DecodeChannel::Open(const std::string& path, bool prescan) {
    return source.Open(path, prescan) && SetPosition(0);
}

bool DecodeChannel::SetPosition(int64_t frame) {
    if (!source.Seek(frame)) {
        return false;
    }
    position = frame;
    return true;
}

size_t DecodeChannel::Read(int16_t* out, size_t count) {
    const size_t got = source.Read(out, count);
    position += static_cast<int64_t>(got);
    return got;
}

void DecodeChannel::Spectrum(float* out) {
    const size_t got = Read(frames.data(), Spectrum512::Size);
    for (size_t n = 0; n < Spectrum512::Size; ++n) {
        window[n] = n < got ? MonoSample(&frames[n * PcmSource::Channels]) : 0.0f;
    }
    spectrum.Compute(window, out);
}
