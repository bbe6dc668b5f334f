// One music file playing: decoded as the output asks for it, a little ahead
// for the spectrum, and followed by a clock of what is being heard. Frames
// are 44.1 kHz stereo frames throughout.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "audio_output.h"
#include "pcm_source.h"
#include "play_clock.h"
#include "spectrum.h"

class DecodedStream {
public:
    DecodedStream() = default;
    DecodedStream(const DecodedStream&) = delete;
    DecodedStream& operator=(const DecodedStream&) = delete;

    // False when the file holds no audio.
    bool Open(const std::string& path, bool prescan);

    // On the output's thread: fills `len` bytes of the output's stream from
    // its frame `streamFrame` on, silence once the music ends or while not
    // playing. An output that cannot say what it plays gives what it holds
    // before a frame handed now is heard (`latencyFrames`); one that can
    // (ReportPlayed) gives ReportsPlayedItself.
    void Feed(uint8_t* out, int len, double now, int64_t streamFrame, double latencyFrames);

    // From any thread: plays from a frame on. False past the end. The clock
    // stands at `heard` (by default the same frame) until the output says
    // what it plays: an output that starts anew begins a little ahead of
    // what is heard now.
    bool Seek(int64_t frame, double now, int64_t heard = -1);
    std::atomic<bool> playing{false};

    // An output that knows what it plays says its stream frame `streamFrame`
    // is heard at `now`.
    void ReportPlayed(double now, int64_t streamFrame);
    // The output is gone: the clock runs on in real time from where it stands.
    void FreeRun(double now);

    // Frames heard at `now`, never past the end of the music.
    int64_t HeardFrames(double now);
    // Magnitudes of the 512 frames from `frame` on.
    void SpectrumAt(int64_t frame, float* out);

private:
    void DecodeAhead(size_t frames);

    // Where music was put into the output's stream, for an output that tells
    // which of its stream frames is being heard.
    struct Segment {
        int64_t streamStart = 0;
        int64_t streamFrames = 0;
        double musicStart = 0.0;
        int64_t musicFrames = 0;
    };
    static constexpr size_t SegmentCount = 256;

    // The output's thread and Seek, under `feeding`.
    std::mutex feeding;
    PcmSource source;
    bool sourceDone = false;
    std::vector<int16_t> ahead;  // decoded frames not yet handed over, interleaved
    std::vector<int16_t> chunk;

    // Shared between the output's thread and the caller's, under `shared`.
    std::mutex shared;
    PlayClock clock;
    Segment segments[SegmentCount];
    size_t segmentsKept = 0;
    size_t nextSegment = 0;
    std::vector<float> history;  // mono, a ring indexed by frame
    int64_t decodedFrames = 0;
    Spectrum512 spectrum;
    float window[Spectrum512::Size] = {};
};
