#include "sndfile_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace {
// More channels than the converter to stereo knows are refused.
bool ConvertibleChannels(int channels) {
    return channels == 1 || channels == 2 || channels == 4 || channels == 6 || channels == 8;
}
}  // namespace

SndfileDecoder::~SndfileDecoder() {
    if (file) {
        sf_close(file);
    }
}

bool SndfileDecoder::Open(const std::string& path) {
    SF_INFO info{};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        return false;
    }
    const int major = info.format & SF_FORMAT_TYPEMASK;
    if (major == SF_FORMAT_MPEG || info.samplerate <= 0 || info.frames <= 0 || !ConvertibleChannels(info.channels)) {
        sf_close(file);
        file = nullptr;
        return false;
    }
    rate = info.samplerate;
    channels = info.channels;
    // The library's largest count means it does not know the length.
    lengthFrames = info.frames < SF_COUNT_MAX ? info.frames : -1;
    return true;
}

size_t SndfileDecoder::Read(int16_t* out, size_t frames) {
    if (!file) {
        return 0;
    }
    // Read as floats, which every format gives in [-1, 1], and clipped here:
    // the library's own short conversion leaves floating-point files unscaled.
    scratch.resize(frames * static_cast<size_t>(channels));
    const sf_count_t got = sf_readf_float(file, scratch.data(), static_cast<sf_count_t>(frames));
    if (got <= 0) {
        return 0;
    }
    const size_t samples = static_cast<size_t>(got) * static_cast<size_t>(channels);
    for (size_t i = 0; i < samples; ++i) {
        // 16-bit files come back exactly as they are stored.
        const long sample = std::lrint(std::clamp(scratch[i], -1.0f, 1.0f) * 32768.0f);
        out[i] = static_cast<int16_t>(std::min(sample, 32767L));
    }
    return static_cast<size_t>(got);
}

bool SndfileDecoder::Seek(int64_t frame) {
    return file && sf_seek(file, static_cast<sf_count_t>(frame), SEEK_SET) == frame;
}
