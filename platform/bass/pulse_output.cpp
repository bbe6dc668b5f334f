// A PulseAudio stream (PipeWire's PulseAudio service serves it too). The
// server interpolates what is being heard, its own latency and the device's
// included, and says so on request.
#include <pulse/pulseaudio.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "audio_output.h"
#include "pcm_source.h"

namespace {

const char* const ApplicationName = "KX 2007 Zandrel - Dwip This";
// How long the server may take to answer before it counts as not there.
const double AnswerSeconds = 2.0;
// What the server is asked to hold: enough for a busy machine, little enough
// that a seek is heard soon.
const pa_usec_t TargetLatency = 60000;
// A stream whose position has not moved for this long is not playing (a
// server that hangs; one that goes away or suspends its sink says so at
// once). Long, as a sink that wakes from idle may take two seconds to start.
const double StallSeconds = 2.5;

double Seconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

const pa_sample_spec MusicFormat{PA_SAMPLE_S16LE, PcmSource::Rate, PcmSource::Channels};

// A connection to the server on a thread of its own.
class PulseConnection {
public:
    ~PulseConnection() {
        if (loop) {
            pa_threaded_mainloop_stop(loop);
        }
        if (context) {
            pa_context_disconnect(context);
            pa_context_unref(context);
        }
        if (loop) {
            pa_threaded_mainloop_free(loop);
        }
    }

    // False when no server answers in time.
    bool Connect() {
        loop = pa_threaded_mainloop_new();
        if (!loop) {
            return false;
        }
        context = pa_context_new(pa_threaded_mainloop_get_api(loop), ApplicationName);
        // No server is started for us: there is one, or there is none.
        if (!context || pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(loop) < 0) {
            return false;
        }
        return WaitFor([this] {
            const pa_context_state_t state = pa_context_get_state(context);
            return state == PA_CONTEXT_READY ? 1 : !PA_CONTEXT_IS_GOOD(state) ? -1 : 0;
        }) > 0;
    }

    // Whether the server has a default sink to play to.
    bool HasSink() {
        struct Answer {
            std::atomic<int> state{0};
            bool found = false;
        } answer;
        pa_threaded_mainloop_lock(loop);
        pa_operation* asking = pa_context_get_sink_info_by_name(
            context, "@DEFAULT_SINK@",
            [](pa_context*, const pa_sink_info* info, int eol, void* data) {
                auto* a = static_cast<Answer*>(data);
                if (eol == 0 && info) {
                    a->found = true;
                } else {
                    a->state = 1;
                }
            },
            &answer);
        pa_threaded_mainloop_unlock(loop);
        if (!asking) {
            return false;
        }
        const bool answered = WaitFor([&] { return answer.state.load(); }) > 0;
        Locked([&] { pa_operation_unref(asking); });
        return answered && answer.found;
    }

    // Polls `done` (1 done, -1 failed, 0 not yet) with the loop locked until
    // it decides or the server takes too long.
    template <typename Done>
    int WaitFor(Done done) {
        const double until = Seconds() + AnswerSeconds;
        for (;;) {
            int result = 0;
            Locked([&] { result = done(); });
            if (result != 0) {
                return result;
            }
            if (Seconds() > until) {
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    template <typename Work>
    void Locked(Work work) {
        pa_threaded_mainloop_lock(loop);
        work();
        pa_threaded_mainloop_unlock(loop);
    }

    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
};

class PulseOutput : public AudioOutput {
public:
    explicit PulseOutput(AudioFeeder feeder) : feed(std::move(feeder)) {}

    ~PulseOutput() override {
        if (stream) {
            server.Locked([this] {
                pa_stream_disconnect(stream);
                pa_stream_unref(stream);
            });
        }
    }

    bool Open(std::string* why) {
        if (!server.Connect()) {
            *why = "no PulseAudio server answers";
            return false;
        }
        if (!server.HasSink()) {
            *why = "the PulseAudio server has no sound device";
            return false;
        }
        bool made = false;
        server.Locked([&] {
            stream = pa_stream_new(server.context, "Music", &MusicFormat, nullptr);
            if (!stream) {
                return;
            }
            pa_stream_set_write_callback(stream, Write, this);
            pa_buffer_attr attributes;
            attributes.maxlength = static_cast<uint32_t>(-1);
            attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(TargetLatency, &MusicFormat));
            attributes.prebuf = static_cast<uint32_t>(-1);
            attributes.minreq = static_cast<uint32_t>(-1);
            attributes.fragsize = static_cast<uint32_t>(-1);
            // Not started corked: a sink with no running stream may sleep
            // through a long block before it takes the stream up.
            const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_INTERPOLATE_TIMING |
                                                              PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
            made = pa_stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) == 0;
        });
        if (!made || server.WaitFor([this] {
                         const pa_stream_state_t state = pa_stream_get_state(stream);
                         return state == PA_STREAM_READY ? 1 : !PA_STREAM_IS_GOOD(state) ? -1 : 0;
                     }) < 0) {
            *why = "the PulseAudio server refused a stream";
            return false;
        }
        return true;
    }

    void Start() override {
        lastMove = Seconds();
        // It plays from the moment it is connected; from now on it is watched.
        started = true;
    }

    std::string Problem(double now) override {
        std::string problem;
        server.Locked([&] {
            if (pa_context_get_state(server.context) != PA_CONTEXT_READY) {
                problem = "the PulseAudio server went away";
            } else if (pa_stream_get_state(stream) != PA_STREAM_READY) {
                problem = "the PulseAudio server ended the stream";
            } else if (pa_stream_is_suspended(stream) == 1) {
                problem = "the sound device was suspended";
            }
        });
        int64_t frame = 0;
        PlayedFrame(&frame);
        if (problem.empty() && started && now - lastMove > StallSeconds) {
            problem = "the sound stopped playing";
        }
        return problem;
    }

    bool PlayedFrame(int64_t* frame) override {
        pa_usec_t played = 0;
        bool known = false;
        server.Locked([&] { known = pa_stream_get_time(stream, &played) == 0; });
        if (!known) {
            return false;
        }
        // A position that moves shows the stream plays.
        if (played != lastPlayed) {
            lastPlayed = played;
            lastMove = Seconds();
        }
        *frame = static_cast<int64_t>(played * PcmSource::Rate / 1000000);
        return true;
    }

    double LatencyFrames() const override {
        return static_cast<double>(TargetLatency) * PcmSource::Rate / 1e6;
    }

    std::string Name() const override { return "PulseAudio"; }
    std::string Kind() const override { return "PulseAudio"; }

private:
    // On the loop's thread: as much as the server asks for.
    static void Write(pa_stream* stream, size_t bytes, void* self) {
        auto* output = static_cast<PulseOutput*>(self);
        void* buffer = nullptr;
        size_t size = bytes;
        if (pa_stream_begin_write(stream, &buffer, &size) < 0 || !buffer) {
            return;
        }
        size -= size % PcmSource::BytesPerFrame;
        output->feed(static_cast<uint8_t*>(buffer), static_cast<int>(size), Seconds(), output->written,
                     ReportsPlayedItself);
        pa_stream_write(stream, buffer, size, nullptr, 0, PA_SEEK_RELATIVE);
        output->written += static_cast<int64_t>(size / PcmSource::BytesPerFrame);
    }

    AudioFeeder feed;
    PulseConnection server;
    pa_stream* stream = nullptr;
    int64_t written = 0;  // stream frames
    bool started = false;
    std::atomic<pa_usec_t> lastPlayed{0};
    std::atomic<double> lastMove{0.0};
};

}  // namespace

PulseServer ProbePulseServer() {
    PulseConnection server;
    if (!server.Connect()) {
        return PulseServer::None;
    }
    return server.HasSink() ? PulseServer::Ready : PulseServer::NoSink;
}

std::unique_ptr<AudioOutput> OpenPulseOutput(const AudioFeeder& feed, std::string* why) {
    auto output = std::make_unique<PulseOutput>(feed);
    if (!output->Open(why)) {
        return nullptr;
    }
    return output;
}
