// The performance counter on the system's monotonic clock.
#include <chrono>

#include <windows.h>

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
    if (!lpFrequency) {
        return FALSE;
    }
    using Period = std::chrono::steady_clock::period;
    lpFrequency->QuadPart = Period::den / Period::num;
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
    if (!lpPerformanceCount) {
        return FALSE;
    }
    lpPerformanceCount->QuadPart = std::chrono::steady_clock::now().time_since_epoch().count();
    return TRUE;
}
