#include "decoded_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Mono history for the spectrum: far more than is decoded ahead of what is heard.
const size_t HistoryFrames = 16384;
const size_t ChunkFrames = 1024;
}  // namespace

bool DecodedStream::Open(const std::string& path, bool prescan, double latencyFrames) {
    if (!source.Open(path, prescan)) {
        return false;
    }
    chunk.resize(ChunkFrames * PcmSource::Channels);
    history.assign(HistoryFrames, 0.0f);
    clock = PlayClock(PcmSource::Rate, latencyFrames);
    return true;
}

// Keeps at least `frames` frames decoded beyond what was handed, so the
// spectrum of the frame being heard has its whole window.
void DecodedStream::DecodeAhead(size_t frames) {
    while (!sourceDone && ahead.size() < frames * PcmSource::Channels) {
        const size_t got = source.Read(chunk.data(), ChunkFrames);
        if (got == 0) {
            sourceDone = true;
            break;
        }
        ahead.insert(ahead.end(), chunk.begin(), chunk.begin() + static_cast<long>(got * PcmSource::Channels));
        std::lock_guard<std::mutex> lock(shared);
        for (size_t f = 0; f < got; ++f) {
            history[static_cast<size_t>(decodedFrames) % HistoryFrames] = MonoSample(&chunk[f * PcmSource::Channels]);
            ++decodedFrames;
        }
    }
}

void DecodedStream::Feed(Uint8* out, int len, double now) {
    if (!playing) {
        std::memset(out, 0, static_cast<size_t>(len));
        return;
    }
    const size_t frames = static_cast<size_t>(len / PcmSource::BytesPerFrame);
    DecodeAhead(frames + Spectrum512::Size);
    const size_t got = std::min(frames, ahead.size() / PcmSource::Channels);
    const size_t samples = got * PcmSource::Channels;
    std::memcpy(out, ahead.data(), samples * sizeof(int16_t));
    std::memset(out + samples * sizeof(int16_t), 0, static_cast<size_t>(len) - samples * sizeof(int16_t));
    ahead.erase(ahead.begin(), ahead.begin() + static_cast<long>(samples));
    std::lock_guard<std::mutex> lock(shared);
    clock.Handed(now, static_cast<int64_t>(got), static_cast<int64_t>(frames));
}

bool DecodedStream::Seek(int64_t frame) {
    if (!source.Seek(frame)) {
        return false;
    }
    sourceDone = false;
    ahead.clear();
    std::lock_guard<std::mutex> lock(shared);
    decodedFrames = frame;
    std::fill(history.begin(), history.end(), 0.0f);
    clock.Restart(static_cast<double>(frame));
    return true;
}

int64_t DecodedStream::HeardFrames(double now) {
    double frames;
    {
        std::lock_guard<std::mutex> lock(shared);
        frames = clock.Heard(now);
    }
    int64_t whole = static_cast<int64_t>(std::floor(frames + 1e-6));
    if (source.LengthFrames() >= 0) {
        whole = std::min(whole, source.LengthFrames());
    }
    return whole;
}

void DecodedStream::SpectrumAt(int64_t frame, float* out) {
    std::lock_guard<std::mutex> lock(shared);
    // As far as they are decoded and still remembered; silence beyond.
    for (int n = 0; n < Spectrum512::Size; ++n) {
        const int64_t at = frame + n;
        const bool held = at < decodedFrames && decodedFrames - at <= static_cast<int64_t>(HistoryFrames);
        window[n] = held ? history[static_cast<size_t>(at) % HistoryFrames] : 0.0f;
    }
    spectrum.Compute(window, out);
}
