#include "app/frame_timer.h"

// Constructed before any other static object of the program, so that every
// reading counts from the start of the process.
FrameTimer GlobalFrameTimer __attribute__((init_priority(101)));

FrameTimer::FrameTimer() : counter{}, frequency{}, secondsPerTick(0.0f), startTime(0.0f), lastElapsed(0.0f) {
    QueryPerformanceFrequency(&frequency);
    // A counter without a frequency yields readings of 0 rather than a division by zero.
    secondsPerTick = frequency.QuadPart != 0 ? static_cast<float>(1.0 / static_cast<double>(frequency.QuadPart)) : 0.0f;
    Reset();
}

FrameTimer::~FrameTimer() = default;

void FrameTimer::Reset() {
    startTime = static_cast<float>(Now());
}

double FrameTimer::Now() {
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * static_cast<double>(secondsPerTick);
}

float FrameTimer::Elapsed() {
    lastElapsed = static_cast<float>(Now() - static_cast<double>(startTime));
    return lastElapsed;
}
