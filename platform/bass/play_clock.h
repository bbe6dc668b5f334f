// The position being heard, from the frames handed to the output device and
// the moments they were handed over, interpolated on a monotonic clock.
#pragma once

#include <cstdint>

class PlayClock {
public:
    // rate: frames per second of the device stream; latencyFrames: how much
    // the device holds before a handed frame is heard.
    PlayClock(double rate = 44100.0, double latencyFrames = 0.0);

    // Starts counting again from a frame, as after a seek.
    void Restart(double frame);
    // The audio thread handed `musicFrames` frames of music inside a buffer of
    // `bufferFrames` frames at time `now` (seconds).
    void Handed(double now, int64_t musicFrames, int64_t bufferFrames);
    // The frame being heard at `now`: smooth, never decreasing, never past
    // what was handed.
    double Heard(double now);

    double HandedFrames() const { return handed; }

private:
    double rate;
    double latency;
    double handed = 0.0;      // frames of music handed over in all
    double anchorFrame = 0.0; // frame heard at anchorTime
    double anchorTime = 0.0;
    double limit = 0.0;       // the furthest frame the interpolation may reach
    bool anchored = false;
    double lastHeard = 0.0;
};
