// How far a capture has got, on standard error: on a terminal one line
// redrawn in place, elsewhere a line at every tenth of the way.
#pragma once

#include <cstdint>

class Progress {
public:
    explicit Progress(int64_t totalFrames);
    void FrameDone(int64_t done);
    // Ends the line drawn in place, if any.
    void Close();

private:
    int64_t total;
    bool terminal;
    double start;
    double lastDrawn = 0.0;
    int lastTenth = 0;
    bool drawn = false;
};

// "2:24.4", for lengths and moments.
const char* FormatDuration(double seconds, char (&text)[32]);
