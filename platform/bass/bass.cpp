// The audio library's seven calls. One stream plays at a time; it decodes
// inside the output callback, so its memory stays bounded whatever the file's
// length, and the caller's thread only reads the clock and the spectrum.
#include "bass.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>

#include "decode_channel.h"
#include "decoded_stream.h"

namespace {

const int CallbackFrames = 1024;
// Positions count bytes of 44.1 kHz 16-bit stereo, whatever the file's format.
const QWORD BytesPerFrame = PcmSource::BytesPerFrame;
// The silent clock of a stream that could not be created.
const double SilentBytesPerSecond = PcmSource::Rate * BytesPerFrame;

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
std::map<HSTREAM, std::unique_ptr<DecodeChannel>> decodeChannels;
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
    want.freq = PcmSource::Rate;
    want.format = AUDIO_S16SYS;
    want.channels = PcmSource::Channels;
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

DecodeChannel* FindDecoding(DWORD handle) {
    const auto found = decodeChannels.find(handle);
    return found != decodeChannels.end() ? found->second.get() : nullptr;
}

void StartSilentClock(QWORD pos) {
    silentClockRunning = true;
    silentClockStart = Seconds() - static_cast<double>(pos) / SilentBytesPerSecond;
}

HSTREAM CreateDecodeChannel(const char* path, DWORD flags) {
    auto created = std::make_unique<DecodeChannel>();
    if (!created->Open(path, (flags & BASS_STREAM_PRESCAN) != 0)) {
        return 0;
    }
    const HSTREAM handle = nextHandle++;
    decodeChannels[handle] = std::move(created);
    return handle;
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

// Sample data, or the spectrum, taken from where a decoding channel stands.
DWORD DecodingChannelData(DecodeChannel& channel, void* buffer, DWORD length) {
    if (length == BASS_DATA_FFT512) {
        channel.Spectrum(static_cast<float*>(buffer));
        return static_cast<DWORD>(Spectrum512::Size * BytesPerFrame);
    }
    if (length & BASS_DATA_FLAGS) {
        return static_cast<DWORD>(-1);
    }
    const size_t got = channel.Read(static_cast<int16_t*>(buffer), length / BytesPerFrame);
    return got > 0 ? static_cast<DWORD>(got * BytesPerFrame) : static_cast<DWORD>(-1);
}

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
    if (!output || mem || !file || offset != 0 || length != 0) {
        return 0;
    }
    if (flags & BASS_STREAM_DECODE) {
        return CreateDecodeChannel(static_cast<const char*>(file), flags);
    }
    if (stream) {
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
            StartSilentClock(0);
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
    if (handle == 0) {
        // The silent clock of a missing stream counts from here, so that the
        // time spent on the boxes that told of it is not lost.
        if (silentClockRunning) {
            StartSilentClock(pos);
        }
        return FALSE;
    }
    if (DecodeChannel* d = FindDecoding(handle)) {
        return d->SetPosition(static_cast<int64_t>(pos / BytesPerFrame)) ? TRUE : FALSE;
    }
    DecodedStream* s = Find(handle);
    if (!s) {
        return FALSE;
    }
    DeviceLock lock;
    return s->Seek(static_cast<int64_t>(pos / BytesPerFrame)) ? TRUE : FALSE;
}

QWORD BASS_ChannelGetPosition(DWORD handle) {
    if (handle == 0) {
        if (!silentClockRunning) {
            return 0;
        }
        const double bytes = (Seconds() - silentClockStart) * SilentBytesPerSecond;
        return static_cast<QWORD>(bytes / BytesPerFrame) * BytesPerFrame;
    }
    if (DecodeChannel* d = FindDecoding(handle)) {
        return static_cast<QWORD>(d->Position()) * BytesPerFrame;
    }
    DecodedStream* s = Find(handle);
    if (!s) {
        return static_cast<QWORD>(-1);
    }
    return static_cast<QWORD>(s->HeardFrames(Seconds())) * BytesPerFrame;
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    if (!buffer) {
        return static_cast<DWORD>(-1);
    }
    if (DecodeChannel* d = FindDecoding(handle)) {
        return DecodingChannelData(*d, buffer, length);
    }
    if (length != BASS_DATA_FFT512) {
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
    return static_cast<DWORD>(Spectrum512::Size * BytesPerFrame);
}

BOOL BASS_Free() {
    silentClockRunning = false;
    decodeChannels.clear();
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
