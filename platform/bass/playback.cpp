#include "playback.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "audio_output.h"

namespace {

// How often the output is looked at, and how often a new one is tried.
const double WatchSeconds = 0.05;
const double RetrySeconds = 1.0;
const char* const PulseKind = "PulseAudio";

double Seconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

std::mutex feeding;  // the stream outputs feed from
DecodedStream* playing = nullptr;
bool holding = false;  // a new output gets silence until the music is placed for it

void Feed(uint8_t* out, int bytes, double now, int64_t streamFrame, double latencyFrames) {
    std::lock_guard<std::mutex> guard(feeding);
    if (playing && !holding) {
        playing->Feed(out, bytes, now, streamFrame, latencyFrames);
    } else {
        std::memset(out, 0, static_cast<size_t>(bytes));
    }
}

bool IsOneOf(const char* name, const char* a, const char* b, const char* c) {
    return std::strcmp(name, a) == 0 || std::strcmp(name, b) == 0 || std::strcmp(name, c) == 0;
}

// The server's own stream where a PulseAudio server (or PipeWire's) runs;
// else SDL's drivers in their order, but never SDL's PulseAudio driver
// (which a server without a sink crashes in) and never a silent one unless
// asked for by name (SDL_AUDIODRIVER). `only`, when given, is the one kind
// to try: the one that played before (PulseAudio or an SDL driver's name).
std::unique_ptr<AudioOutput> OpenBestOutput(const std::string& only, std::string* why) {
    const char* wanted = SDL_getenv("SDL_AUDIODRIVER");
    const bool named = wanted && *wanted;
    const bool pulseWanted = !named || std::strcmp(wanted, "pulseaudio") == 0 || std::strcmp(wanted, "pulse") == 0;
    if (pulseWanted && (only.empty() || only == PulseKind)) {
        if (auto pulse = OpenPulseOutput(Feed, why)) {
            return pulse;
        }
    }
    if (pulseWanted && named) {
        return nullptr;
    }
    if (named) {
        return OpenSdlOutput(wanted, Feed, why);
    }
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
        const char* driver = SDL_GetAudioDriver(i);
        if (!IsOneOf(driver, "pulseaudio", "dummy", "disk") && (only.empty() || only == driver)) {
            std::string failed;
            if (auto output = OpenSdlOutput(driver, Feed, &failed)) {
                return output;
            }
        }
    }
    if (why->empty()) {
        *why = "no sound device";
    }
    return nullptr;
}

class Playback {
public:
    ~Playback() {
        {
            std::lock_guard<std::mutex> guard(lock);
            stopping = true;
        }
        wake.notify_all();
        watcher.join();
        output.reset();
    }

    // The first output, then the watch over it.
    bool Open() {
        std::string why;
        output = OpenBestOutput("", &why);
        // Later only what played is tried again (and a sound server, which
        // may start late): other drivers that failed now fail every time,
        // some of them loudly.
        retryKind = output ? output->Kind() : PulseKind;
        if (output) {
            output->Start();
        }
        nextTry = Seconds() + RetrySeconds;
        watcher = std::thread([this] {
            Watch();
            // SDL keeps per-thread data (its error text) for threads it did
            // not start until they say they are done.
            SDL_TLSCleanup();
        });
        return output != nullptr;
    }

    bool HasOutput() {
        std::lock_guard<std::mutex> guard(lock);
        return output != nullptr;
    }

    int64_t Heard(DecodedStream* stream, double now) {
        {
            std::lock_guard<std::mutex> guard(lock);
            int64_t frame = 0;
            if (output && output->PlayedFrame(&frame)) {
                stream->ReportPlayed(now, frame);
            }
        }
        return stream->HeardFrames(now);
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> guard(lock);
        while (!stopping) {
            wake.wait_for(guard, std::chrono::duration<double>(WatchSeconds));
            if (stopping) {
                break;
            }
            const double now = Seconds();
            if (output) {
                const std::string problem = output->Problem(now);
                if (!problem.empty()) {
                    Lose(problem, now, guard);
                }
            } else if (now >= nextTry) {
                nextTry = now + RetrySeconds;
                guard.unlock();
                Reopen();
                guard.lock();
            }
        }
    }

    // The output is let go outside the lock: closing a dead device can take a while.
    void Lose(const std::string& problem, double now, std::unique_lock<std::mutex>& guard) {
        {
            std::lock_guard<std::mutex> feed(feeding);
            if (playing) {
                playing->FreeRun(now);
            }
        }
        std::fprintf(stderr, "Sound lost: %s; the show goes on and the sound comes back when it can.\n",
                     problem.c_str());
        std::unique_ptr<AudioOutput> lost = std::move(output);
        nextTry = now + RetrySeconds;
        guard.unlock();
        lost.reset();
        guard.lock();
    }

    // A new output, if there is one, takes up the music where the clock stands.
    void Reopen() {
        std::string why;
        {
            std::lock_guard<std::mutex> feed(feeding);
            holding = true;
        }
        auto opened = OpenBestOutput(retryKind, &why);
        {
            std::lock_guard<std::mutex> feed(feeding);
            holding = false;
            if (opened && playing && playing->playing) {
                const double now = Seconds();
                // What it hands over now is heard a little later: it starts that far on.
                const int64_t heard = playing->HeardFrames(now);
                playing->Seek(heard + static_cast<int64_t>(opened->LatencyFrames()), now, heard);
            }
        }
        if (!opened) {
            return;
        }
        opened->Start();
        std::fprintf(stderr, "Sound back through %s.\n", opened->Name().c_str());
        std::lock_guard<std::mutex> guard(lock);
        output = std::move(opened);
    }

    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    std::unique_ptr<AudioOutput> output;
    double nextTry = 0.0;
    std::string retryKind;
    std::thread watcher;
};

std::unique_ptr<Playback> Current;

}  // namespace

bool StartPlayback() {
    Current = std::make_unique<Playback>();
    return Current->Open();
}

void StopPlayback() {
    Current.reset();
}

void SetPlayingStream(DecodedStream* stream) {
    std::lock_guard<std::mutex> guard(feeding);
    playing = stream;
}

void PlayStream(DecodedStream* stream, double now) {
    stream->playing = true;
    if (!Current || !Current->HasOutput()) {
        stream->FreeRun(now);
    }
}

int64_t StreamHeardFrames(DecodedStream* stream, double now) {
    return Current ? Current->Heard(stream, now) : stream->HeardFrames(now);
}
