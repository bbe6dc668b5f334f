// SDL's audio output: a device that calls back for data from SDL's thread.
// SDL cannot say what it plays: what it holds is estimated from its buffer.
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstring>

#include "audio_output.h"
#include "pcm_source.h"

namespace {

const int CallbackFrames = 1024;
// A device that has not asked for data for this long is not playing: three
// buffers and a margin for a busy machine.
const double SilenceSeconds = 0.3;

double Seconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

class SdlOutput : public AudioOutput {
public:
    explicit SdlOutput(AudioFeeder feeder) : feed(std::move(feeder)) {}

    ~SdlOutput() override {
        if (device) {
            SDL_CloseAudioDevice(device);
        }
        if (driverStarted) {
            SDL_AudioQuit();
        }
    }

    bool Open(const char* driver, std::string* why) {
        if (SDL_AudioInit(driver) != 0) {
            *why = std::string("no audio driver ") + driver + ": " + SDL_GetError();
            return false;
        }
        driverStarted = true;
        SDL_AudioSpec want{};
        want.freq = PcmSource::Rate;
        want.format = AUDIO_S16SYS;
        want.channels = PcmSource::Channels;
        want.samples = CallbackFrames;
        want.callback = Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts the 44.1 kHz stereo stream to whatever the device takes.
        device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (!device) {
            *why = std::string(driver) + ": " + SDL_GetError();
            return false;
        }
        kind = driver;
        name = std::string("SDL (") + driver + ")";
        // Drivers that play in real time straight from the callback's buffer hold nothing.
        const bool queued = std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "disk") != 0;
        latency = queued ? CallbackFrames : 0.0;
        return true;
    }

    void Start() override {
        lastCallback = Seconds();
        SDL_PauseAudioDevice(device, 0);
    }

    std::string Problem(double now) override {
        if (SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_PLAYING) {
            return "the sound device stopped";
        }
        if (now - lastCallback > SilenceSeconds) {
            return "the sound device stopped asking for sound";
        }
        return "";
    }

    bool PlayedFrame(int64_t*) override { return false; }
    double LatencyFrames() const override { return latency; }
    std::string Name() const override { return name; }
    std::string Kind() const override { return kind; }

private:
    static void SDLCALL Callback(void* self, Uint8* out, int len) {
        auto* output = static_cast<SdlOutput*>(self);
        const double now = Seconds();
        output->lastCallback = now;
        output->feed(out, len, now, output->streamFrames, output->latency);
        output->streamFrames += len / PcmSource::BytesPerFrame;
    }

    AudioFeeder feed;
    SDL_AudioDeviceID device = 0;
    bool driverStarted = false;
    std::string name;
    std::string kind;
    double latency = 0.0;
    std::atomic<double> lastCallback{0.0};
    int64_t streamFrames = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> OpenSdlOutput(const char* driver, const AudioFeeder& feed, std::string* why) {
    auto output = std::make_unique<SdlOutput>(feed);
    if (!output->Open(driver, why)) {
        return nullptr;
    }
    return output;
}
