#include "play_clock.h"

#include <algorithm>

PlayClock::PlayClock(double rate, double latencyFrames) : rate(rate), latency(latencyFrames) {}

void PlayClock::Restart(double frame) {
    handed = frame;
    anchorFrame = frame;
    anchorTime = 0.0;
    limit = frame;
    anchored = false;
    lastHeard = frame;
}

void PlayClock::Handed(double now, int64_t musicFrames, int64_t bufferFrames) {
    const double before = handed;
    handed += static_cast<double>(musicFrames);
    // What was handed now starts playing once the device has played out what
    // it already holds; until the next buffer the clock may run one buffer on.
    anchorFrame = before - latency;
    anchorTime = now;
    limit = std::min(handed, before - latency + static_cast<double>(bufferFrames));
    anchored = true;
}

double PlayClock::Heard(double now) {
    if (!anchored) {
        return lastHeard;
    }
    double frame = anchorFrame + (now - anchorTime) * rate;
    frame = std::min(frame, limit);
    frame = std::max(frame, lastHeard);
    lastHeard = frame;
    return frame;
}
