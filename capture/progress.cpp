#include "capture/progress.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {
double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

const char* FormatDuration(double seconds, char (&text)[32]) {
    const long tenths = std::lround(std::max(seconds, 0.0) * 10.0);
    std::snprintf(text, sizeof(text), "%ld:%02ld.%ld", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}

Progress::Progress(int64_t totalFrames) : total(totalFrames), terminal(isatty(STDERR_FILENO) != 0), start(Seconds()) {}

void Progress::FrameDone(int64_t done) {
    const double now = Seconds();
    const int tenth = total > 0 ? static_cast<int>(done * 10 / total) : 0;
    if (terminal ? (now - lastDrawn < 0.25 && done < total) : tenth <= lastTenth) {
        return;
    }
    lastDrawn = now;
    lastTenth = tenth;
    const double elapsed = now - start;
    const double fps = elapsed > 0.0 ? done / elapsed : 0.0;
    char left[32];
    FormatDuration(fps > 0.0 ? (total - done) / fps : 0.0, left);
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
    std::fprintf(stderr, "%sframe %lld of %lld, %d%%, %.0f frames/s, %s left%s", terminal ? "\r" : "",
                 static_cast<long long>(done), static_cast<long long>(total), percent, fps, left,
                 terminal ? "   " : "\n");
    std::fflush(stderr);
    drawn = true;
}

void Progress::Close() {
    if (terminal && drawn) {
        std::fputc('\n', stderr);
        drawn = false;
    }
}
