// High-resolution timer on the performance counter, reporting seconds.
#pragma once

#include <windows.h>

class FrameTimer {
public:
    FrameTimer();
    ~FrameTimer();

    void Reset();
    double Now();
    float Elapsed();

    // Read-only views for callers that inspect the timer.
    float StartTime() const { return startTime; }
    float LastElapsed() const { return lastElapsed; }
    float SecondsPerTick() const { return secondsPerTick; }

private:
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    float secondsPerTick;
    float startTime;
    float lastElapsed;
};

extern FrameTimer GlobalFrameTimer;
