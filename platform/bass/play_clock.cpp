#include "play_clock.h"

#include <algorithm>
#include <cmath>

namespace {
// An output's report is good for this long if the next one is late.
const double ReportReachSeconds = 0.1;
}  // namespace

PlayClock::PlayClock(double rate, double latencyFrames) : rate(rate), latency(latencyFrames) {}

void PlayClock::Anchor(double now, double frame, double reach) {
    anchorFrame = frame;
    anchorTime = now;
    limit = reach;
    anchored = true;
}

void PlayClock::Restart(double heard, double handedFrom, double now) {
    handed = handedFrom;
    lastHeard = heard;
    if (freeRunning) {
        Anchor(now, heard, HUGE_VAL);
    } else {
        anchorFrame = heard;
        anchorTime = 0.0;
        limit = heard;
        anchored = false;
    }
}

void PlayClock::Handed(double now, int64_t musicFrames, int64_t bufferFrames) {
    const double before = handed;
    handed += static_cast<double>(musicFrames);
    freeRunning = false;
    // What was handed now starts playing once the device has played out what
    // it already holds; until the next buffer the clock may run one buffer on.
    Anchor(now, before - latency, std::min(handed, before - latency + static_cast<double>(bufferFrames)));
}

void PlayClock::Report(double now, double frame) {
    freeRunning = false;
    Anchor(now, frame, frame + rate * ReportReachSeconds);
}

void PlayClock::FreeRun(double now) {
    // On from the last thing the output said, as if it had gone on playing:
    // the time it took to notice it had stopped is not lost.
    if (anchored) {
        limit = HUGE_VAL;
    } else {
        Anchor(now, lastHeard, HUGE_VAL);
    }
    freeRunning = true;
    Heard(now);
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
