#include "tests/support/monitor_recorder.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

double SteadySeconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

namespace {
const pa_sample_spec RecordFormat{PA_SAMPLE_S16LE, 44100, 2};
// Chunks as small as the server will deliver them.
const double FragmentSeconds = 0.001;
}  // namespace

struct MonitorRecorder::State {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    std::mutex lock;
    std::vector<int16_t> samples;
    // For each chunk: when it arrived, and how many samples there were by
    // its end. A sample arrives after it was played, never before (the
    // server's own latency figures for a recording were seen off by hundreds
    // of milliseconds).
    std::vector<double> arrivals;
    std::vector<size_t> ends;

    static void Read(pa_stream* s, size_t, void* self) {
        auto* state = static_cast<State*>(self);
        const void* data = nullptr;
        size_t bytes = 0;
        while (pa_stream_readable_size(s) > 0 && pa_stream_peek(s, &data, &bytes) == 0 && bytes > 0) {
            const double now = SteadySeconds();
            std::lock_guard<std::mutex> guard(state->lock);
            const size_t before = state->samples.size();
            const size_t frames = bytes / 4;
            for (size_t i = 0; i < frames; ++i) {
                const int16_t* frame = data ? static_cast<const int16_t*>(data) + i * 2 : nullptr;
                state->samples.push_back(frame ? static_cast<int16_t>((frame[0] + frame[1]) / 2) : 0);
            }
            state->arrivals.push_back(now);
            state->ends.push_back(before + frames);
            pa_stream_drop(s);
        }
    }
};

MonitorRecorder::MonitorRecorder() : state(std::make_unique<State>()) {}

MonitorRecorder::~MonitorRecorder() {
    Stop();
}

bool MonitorRecorder::Start(const std::string& source, std::string* error) {
    State& s = *state;
    s.loop = pa_threaded_mainloop_new();
    s.context = pa_context_new(pa_threaded_mainloop_get_api(s.loop), "monitor recorder");
    if (pa_context_connect(s.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(s.loop) < 0) {
        *error = "no sound server";
        return false;
    }
    auto waitFor = [&](auto ready, auto failed) {
        for (int i = 0; i < 400; ++i) {
            pa_threaded_mainloop_lock(s.loop);
            const bool done = ready();
            const bool bad = failed();
            pa_threaded_mainloop_unlock(s.loop);
            if (done || bad) {
                return done;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    };
    if (!waitFor([&] { return pa_context_get_state(s.context) == PA_CONTEXT_READY; },
                 [&] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(s.context)); })) {
        *error = "the sound server does not answer";
        return false;
    }
    pa_threaded_mainloop_lock(s.loop);
    s.stream = pa_stream_new(s.context, "monitor", &RecordFormat, nullptr);
    pa_stream_set_read_callback(s.stream, State::Read, &s);
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(static_cast<pa_usec_t>(FragmentSeconds * 1e6), &RecordFormat));
    attributes.tlength = attributes.prebuf = attributes.minreq = static_cast<uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE |
                                                      PA_STREAM_ADJUST_LATENCY);
    const int connected = pa_stream_connect_record(s.stream, source.c_str(), &attributes, flags);
    pa_threaded_mainloop_unlock(s.loop);
    if (connected < 0 || !waitFor([&] { return pa_stream_get_state(s.stream) == PA_STREAM_READY; },
                                  [&] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(s.stream)); })) {
        *error = "the sound server will not record " + source;
        return false;
    }
    return true;
}

void MonitorRecorder::Stop() {
    State& s = *state;
    if (s.loop) {
        pa_threaded_mainloop_stop(s.loop);
    }
    if (s.stream) {
        pa_stream_disconnect(s.stream);
        pa_stream_unref(s.stream);
        s.stream = nullptr;
    }
    if (s.context) {
        pa_context_disconnect(s.context);
        pa_context_unref(s.context);
        s.context = nullptr;
    }
    if (s.loop) {
        pa_threaded_mainloop_free(s.loop);
        s.loop = nullptr;
    }
}

std::vector<int16_t> MonitorRecorder::Samples(double* firstPlayedAt, double* rate) {
    std::lock_guard<std::mutex> guard(state->lock);
    // The soonest arrival in each stretch of half a second bounds when its
    // samples were played. The null sinks the tests play to keep this
    // machine's clock at their nominal rate; the bounds, averaged along that
    // line, place its start. (A line fitted through them tilts whenever a
    // stretch at one end arrives late on a busy machine.)
    const size_t stretch = RecordFormat.rate / 2;
    std::vector<std::pair<double, double>> bounds;  // (sample index, played at)
    for (size_t i = 0; i < state->arrivals.size(); ++i) {
        const size_t window = state->ends[i] / stretch;
        const double at = state->arrivals[i] - FragmentSeconds;
        const double index = static_cast<double>(state->ends[i]);
        if (bounds.size() <= window) {
            bounds.resize(window + 1, {-1.0, 0.0});
        }
        if (bounds[window].first < 0.0 || at - index / RecordFormat.rate < bounds[window].second - bounds[window].first / RecordFormat.rate) {
            bounds[window] = {index, at};
        }
    }
    double start = 0.0;
    int counted = 0;
    for (const auto& [index, at] : bounds) {
        if (index >= 0.0) {
            start += at - index / RecordFormat.rate;
            ++counted;
        }
    }
    *firstPlayedAt = counted > 0 ? start / counted : 0.0;
    *rate = RecordFormat.rate;
    return state->samples;
}
