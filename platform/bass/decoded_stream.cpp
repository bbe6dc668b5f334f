#include "decoded_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Mono history for the spectrum: far more than is decoded ahead of what is heard.
const size_t HistoryFrames = 16384;
const size_t ChunkFrames = 1024;
}  // namespace

bool DecodedStream::Open(const std::string& path, bool prescan) {
    if (!source.Open(path, prescan)) {
        return false;
    }
    chunk.resize(ChunkFrames * PcmSource::Channels);
    history.assign(HistoryFrames, 0.0f);
    clock = PlayClock(PcmSource::Rate, 0.0);
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

void DecodedStream::Feed(uint8_t* out, int len, double now, int64_t streamFrame, double latencyFrames) {
    std::lock_guard<std::mutex> feed(feeding);
    const size_t frames = static_cast<size_t>(len / PcmSource::BytesPerFrame);
    size_t got = 0;
    if (playing) {
        DecodeAhead(frames + Spectrum512::Size);
        got = std::min(frames, ahead.size() / PcmSource::Channels);
        std::memcpy(out, ahead.data(), got * PcmSource::BytesPerFrame);
        ahead.erase(ahead.begin(), ahead.begin() + static_cast<long>(got * PcmSource::Channels));
    }
    std::memset(out + got * PcmSource::BytesPerFrame, 0, static_cast<size_t>(len) - got * PcmSource::BytesPerFrame);
    if (!playing) {
        return;
    }
    std::lock_guard<std::mutex> lock(shared);
    Segment& segment = segments[nextSegment];
    segment = Segment{streamFrame, static_cast<int64_t>(frames), clock.HandedFrames(), static_cast<int64_t>(got)};
    nextSegment = (nextSegment + 1) % SegmentCount;
    segmentsKept = std::min(segmentsKept + 1, SegmentCount);
    if (latencyFrames == ReportsPlayedItself) {
        clock.Count(static_cast<int64_t>(got));
    } else {
        clock.SetLatency(latencyFrames);
        clock.Handed(now, static_cast<int64_t>(got), static_cast<int64_t>(frames));
    }
}

bool DecodedStream::Seek(int64_t frame, double now, int64_t heard) {
    std::lock_guard<std::mutex> feed(feeding);
    if (!source.Seek(frame)) {
        return false;
    }
    sourceDone = false;
    ahead.clear();
    std::lock_guard<std::mutex> lock(shared);
    decodedFrames = frame;
    std::fill(history.begin(), history.end(), 0.0f);
    clock.Restart(static_cast<double>(heard >= 0 ? heard : frame), static_cast<double>(frame), now);
    // What the output still holds from before is not this music.
    segmentsKept = 0;
    return true;
}

void DecodedStream::ReportPlayed(double now, int64_t streamFrame) {
    std::lock_guard<std::mutex> lock(shared);
    // The newest segment that starts at or before the frame being heard.
    for (size_t k = 1; k <= segmentsKept; ++k) {
        const Segment& s = segments[(nextSegment + SegmentCount - k) % SegmentCount];
        if (s.streamStart <= streamFrame) {
            const int64_t into = std::min(streamFrame - s.streamStart, s.musicFrames);
            clock.Report(now, s.musicStart + static_cast<double>(into));
            return;
        }
    }
    // Still playing what was there before the music (re)started: it stands.
}

void DecodedStream::FreeRun(double now) {
    std::lock_guard<std::mutex> lock(shared);
    clock.FreeRun(now);
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
