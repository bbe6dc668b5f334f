// Renders the presentation offline, as the command line asks.
#pragma once

#include "capture/options.h"

// Where the time went, for the benchmark.
struct CaptureStats {
    int64_t frames = 0;
    double drawSeconds = 0.0;
    double readSeconds = 0.0;
    double convertSeconds = 0.0;
    double encodeSeconds = 0.0;
    double totalSeconds = 0.0;
};

// The exit status: 0 done, 1 failed, 130 stopped by a signal (what was
// rendered until then is kept).
int RunCapture(const CaptureOptions& options, CaptureStats* stats = nullptr);
