// The audio library's seven calls. One stream plays at a time; it decodes
// inside the output callback, so its memory stays bounded whatever the file's
// length, and the caller's thread only reads the clock and the spectrum.
#include "bass.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "decoded_stream.h"

namespace {

const int CallbackFrames = 1024;
// The silent clock of a stream that could not be created: 44.1 kHz stereo.
const double SilentBytesPerSecond = 176400.0;

double Seconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

struct Output {
    SDL_AudioDeviceID device = 0;
    bool startedByName = false;  // with SDL_AudioInit, not SDL_InitSubSystem
    double latencyFrames = 0.0;
};

std::unique_ptr<Output> output;
std::unique_ptr<DecodedStream> stream;
HSTREAM streamHandle = 0;
HSTREAM nextHandle = 0x10001;

bool silentClockRunning = false;
double silentClockStart = 0.0;

void SDLCALL FeedDevice(void*, Uint8* out, int len) {
    const double now = Seconds();
    if (stream) {
        stream->Feed(out, len, now);
    } else {
        std::memset(out, 0, static_cast<size_t>(len));
    }
}

SDL_AudioDeviceID OpenDevice() {
    SDL_AudioSpec want{};
    want.freq = DecodedStream::DeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = DecodedStream::DeviceChannels;
    want.samples = CallbackFrames;
    want.callback = FeedDevice;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts the 44.1 kHz stereo stream to whatever the device takes.
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

bool OpenDefaultOutput(Output& out) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    out.device = OpenDevice();
    if (!out.device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    return out.device != 0;
}

// A silent output that plays in real time, so a machine without sound still
// keeps the music's time.
bool OpenSilentOutput(Output& out) {
    if (SDL_AudioInit("dummy") != 0) {
        return false;
    }
    out.startedByName = true;
    out.device = OpenDevice();
    return out.device != 0;
}

void CloseOutput(Output& out) {
    if (out.device) {
        SDL_CloseAudioDevice(out.device);
        out.device = 0;
    }
    if (out.startedByName) {
        SDL_AudioQuit();
    } else {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

// Drivers that play in real time straight from the callback's buffer.
bool DriverHasNoQueue() {
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
}

DecodedStream* Find(DWORD handle) {
    return stream && handle != 0 && handle == streamHandle ? stream.get() : nullptr;
}

// Keeps the audio thread out while the stream changes.
class DeviceLock {
public:
    DeviceLock() : device(output ? output->device : 0) {
        if (device) {
            SDL_LockAudioDevice(device);
        }
    }
    ~DeviceLock() {
        if (device) {
            SDL_UnlockAudioDevice(device);
        }
    }

private:
    SDL_AudioDeviceID device;
};

}  // namespace

BOOL BASS_Init(int device, DWORD freq, DWORD, HWND, const void*) {
    if (output || freq == 0 || device < -1 || device > 1) {
        return FALSE;
    }
    auto out = std::make_unique<Output>();
    const bool real = device != 0 && OpenDefaultOutput(*out);
    if (!real && !OpenSilentOutput(*out)) {
        return FALSE;
    }
    // A device with a queue of its own plays one buffer behind the callback.
    out->latencyFrames = DriverHasNoQueue() ? 0.0 : CallbackFrames;
    output = std::move(out);
    // Device 0 asks for no sound; a real device that failed falls back to
    // silence but is reported.
    return real || device == 0;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags) {
    if (!output || mem || !file || offset != 0 || length != 0 || stream) {
        return 0;
    }
    auto created = std::make_unique<DecodedStream>();
    if (!created->Open(static_cast<const char*>(file), (flags & BASS_STREAM_PRESCAN) != 0, output->latencyFrames)) {
        return 0;
    }
    DeviceLock lock;
    stream = std::move(created);
    streamHandle = nextHandle++;
    return streamHandle;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
    if (handle == 0) {
        // No stream: a silent clock keeps the pictures on their timeline.
        if (!silentClockRunning || restart) {
            silentClockRunning = true;
            silentClockStart = Seconds();
        }
        return FALSE;
    }
    DecodedStream* s = Find(handle);
    if (!s) {
        return FALSE;
    }
    {
        DeviceLock lock;
        if (restart && !s->Seek(0)) {
            return FALSE;
        }
        s->playing = true;
    }
    SDL_PauseAudioDevice(output->device, 0);
    return TRUE;
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos) {
    DecodedStream* s = Find(handle);
    if (!s) {
        return FALSE;
    }
    DeviceLock lock;
    return s->Seek(static_cast<int64_t>(pos / static_cast<QWORD>(s->BytesPerFrame()))) ? TRUE : FALSE;
}

QWORD BASS_ChannelGetPosition(DWORD handle) {
    if (handle == 0) {
        if (!silentClockRunning) {
            return 0;
        }
        const double bytes = (Seconds() - silentClockStart) * SilentBytesPerSecond;
        return static_cast<QWORD>(bytes / 4.0) * 4;
    }
    DecodedStream* s = Find(handle);
    if (!s) {
        return static_cast<QWORD>(-1);
    }
    return static_cast<QWORD>(s->HeardFrames(Seconds())) * static_cast<QWORD>(s->BytesPerFrame());
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    if (!buffer || length != BASS_DATA_FFT512) {
        return static_cast<DWORD>(-1);
    }
    float* out = static_cast<float*>(buffer);
    if (handle == 0) {
        std::fill(out, out + Spectrum512::Bins, 0.0f);
        return 0;
    }
    DecodedStream* s = Find(handle);
    if (!s) {
        return static_cast<DWORD>(-1);
    }
    s->SpectrumAt(s->HeardFrames(Seconds()), out);
    return static_cast<DWORD>(Spectrum512::Size * s->BytesPerFrame());
}

BOOL BASS_Free() {
    silentClockRunning = false;
    if (!output) {
        return FALSE;
    }
    SDL_PauseAudioDevice(output->device, 1);
    CloseOutput(*output);
    output.reset();
    stream.reset();
    streamHandle = 0;
    return TRUE;
}
