// Where the music is played: a PulseAudio stream (PipeWire's PulseAudio
// service too), which says what is being heard, or SDL's audio output for
// every other system (ALSA, PipeWire's own, the dummy and disk drivers).
// Each asks for data on a thread of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The latency an output gives when it says what it plays itself (PlayedFrame).
inline constexpr double ReportsPlayedItself = -1.0;

// Fills `bytes` bytes of 44.1 kHz 16-bit stereo into `out`: the output's
// stream frames from `streamFrame` on, asked for at `now` (seconds).
// `latencyFrames` as DecodedStream::Feed takes it.
using AudioFeeder = std::function<void(uint8_t* out, int bytes, double now, int64_t streamFrame, double latencyFrames)>;

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // From now on it plays (an output may ask for data before: it is given silence).
    virtual void Start() = 0;
    // What went wrong with it, "" while it plays: the device or the server
    // gone, the stream killed or suspended, or no data asked for in a while.
    virtual std::string Problem(double now) = 0;
    // The stream frame being heard now, for an output that can tell; false
    // when it cannot (yet).
    virtual bool PlayedFrame(int64_t* frame) = 0;
    // About how many frames pass between a frame handed over and its being heard.
    virtual double LatencyFrames() const = 0;
    // What it plays through, for the messages: "PulseAudio", "SDL (alsa)".
    virtual std::string Name() const = 0;
    // Which kind of output it is, to open another of: "PulseAudio", or SDL's driver name.
    virtual std::string Kind() const = 0;
};

// What a PulseAudio server (or PipeWire's) running for this user offers.
enum class PulseServer { None, NoSink, Ready };
PulseServer ProbePulseServer();

// Null with `why` set when it cannot be opened.
std::unique_ptr<AudioOutput> OpenPulseOutput(const AudioFeeder& feed, std::string* why);
std::unique_ptr<AudioOutput> OpenSdlOutput(const char* driver, const AudioFeeder& feed, std::string* why);
