// A sink's monitor recorded through the sound server, every sample with the
// moment it was played: what a listener at the sink would have heard, and when.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MonitorRecorder {
public:
    MonitorRecorder();
    ~MonitorRecorder();

    // Records `source` (such as "out.monitor") as 44.1 kHz 16-bit stereo.
    // False with `error` set when the server will not.
    bool Start(const std::string& source, std::string* error);
    void Stop();

    // Mono samples recorded so far (the channels' mean), the moment (steady
    // clock, seconds) the first of them was played, and how many are played
    // a second (a null sink's nominal rate, which it keeps by this machine's clock).
    std::vector<int16_t> Samples(double* firstPlayedAt, double* rate);

private:
    struct State;
    std::unique_ptr<State> state;
};

// Seconds on the steady clock, as the audio layer counts them.
double SteadySeconds();
