// The position being heard. From the frames handed to an output device and
// the moments they were handed over (an output that cannot say what it
// plays), from what an output reports it plays, or, with no output, from the
// monotonic clock alone; interpolated between, never going back.
#pragma once

#include <cstdint>

class PlayClock {
public:
    // rate: frames per second of the device stream; latencyFrames: how much
    // the device holds before a handed frame is heard.
    PlayClock(double rate = 44100.0, double latencyFrames = 0.0);

    // Starts counting again, as after a seek: music is handed from
    // `handedFrom` on, and the clock stands at `heard` meanwhile (a clock
    // that runs free runs on from there).
    void Restart(double heard, double handedFrom, double now);
    // The audio thread handed `musicFrames` frames of music inside a buffer of
    // `bufferFrames` frames at time `now` (seconds).
    void Handed(double now, int64_t musicFrames, int64_t bufferFrames);
    // Frames handed to an output that reports what it plays itself.
    void Count(int64_t musicFrames) { handed += static_cast<double>(musicFrames); }
    // An output that knows what it plays says `frame` is heard at `now`.
    void Report(double now, double frame);
    // No output any more: the clock runs on in real time from the last frame
    // handed or reported (from where it stands, if none), without limit,
    // until an output hands or reports again.
    void FreeRun(double now);
    // The frame being heard at `now`: smooth, never decreasing, never past
    // what was handed (while something is handed).
    double Heard(double now);

    double HandedFrames() const { return handed; }
    bool FreeRunning() const { return freeRunning; }
    void SetLatency(double latencyFrames) { latency = latencyFrames; }

private:
    void Anchor(double now, double frame, double reach);

    double rate;
    double latency;
    double handed = 0.0;      // frames of music handed over in all
    double anchorFrame = 0.0; // frame heard at anchorTime
    double anchorTime = 0.0;
    double limit = 0.0;       // the furthest frame the interpolation may reach
    bool anchored = false;
    bool freeRunning = false;
    double lastHeard = 0.0;
};
