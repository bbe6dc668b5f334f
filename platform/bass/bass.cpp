// The audio library's seven calls. One stream plays at a time; it decodes
// inside the output callback, so its memory stays bounded whatever the file's
// length, and the caller's thread only reads the clock and the spectrum.
#include "bass.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "mp3_decoder.h"
#include "play_clock.h"
#include "spectrum.h"

namespace {

const int DeviceRate = 44100;
const int DeviceChannels = 2;
const int DeviceBytesPerFrame = DeviceChannels * 2;
const int CallbackFrames = 1024;
// The silent clock of a stream that could not be created: 44.1 kHz stereo.
const double SilentBytesPerSecond = 176400.0;
// Mono history for the spectrum, in frames of the file: far more than the
// decoder runs ahead of what is heard.
const size_t HistoryFrames = 16384;

double Seconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

struct Stream {
    HSTREAM handle = 0;
    Mp3Decoder decoder;
    SDL_AudioStream* convert = nullptr;
    bool playing = false;
    bool decoderDone = false;
    std::vector<unsigned char> decodeBuffer;

    // Shared with the caller's thread, under `shared`.
    std::mutex shared;
    PlayClock clock;
    std::vector<float> history = std::vector<float>(HistoryFrames, 0.0f);
    int64_t decodedFrames = 0;
    Spectrum512 spectrum;
    float window[Spectrum512::Size] = {};

    ~Stream() {
        if (convert) {
            SDL_FreeAudioStream(convert);
        }
    }

    int64_t BytesPerFrame() const { return static_cast<int64_t>(decoder.Channels()) * 2; }
    // Device frames to frames of the file, and back.
    double ToFileFrames(double deviceFrames) const { return deviceFrames * decoder.Rate() / DeviceRate; }
    double ToDeviceFrames(double fileFrames) const { return fileFrames * DeviceRate / decoder.Rate(); }
};

struct Output {
    SDL_AudioDeviceID device = 0;
    bool usedDriverByName = false;  // started with SDL_AudioInit, not SDL_InitSubSystem
    double latencyFrames = 0.0;
};

std::unique_ptr<Output> output;
std::unique_ptr<Stream> stream;
HSTREAM nextHandle = 0x10001;

bool silentClockRunning = false;
double silentClockStart = 0.0;

// Appends decoded 16-bit samples, mixed to mono, to the spectrum history.
void RecordHistory(Stream& s, const unsigned char* bytes, size_t count) {
    const int channels = s.decoder.Channels();
    const size_t frames = count / s.BytesPerFrame();
    std::lock_guard<std::mutex> lock(s.shared);
    for (size_t f = 0; f < frames; ++f) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) {
            int16_t sample;
            std::memcpy(&sample, bytes + (f * channels + c) * 2, 2);
            sum += sample / 32768.0f;
        }
        s.history[static_cast<size_t>(s.decodedFrames) % HistoryFrames] = sum / channels;
        ++s.decodedFrames;
    }
}

// Decodes until the converter holds `bytes` bytes for the device, or the file ends.
void FillConverter(Stream& s, int bytes) {
    while (!s.decoderDone && SDL_AudioStreamAvailable(s.convert) < bytes) {
        const size_t got = s.decoder.Read(s.decodeBuffer.data(), s.decodeBuffer.size());
        if (got == 0) {
            SDL_AudioStreamFlush(s.convert);
            s.decoderDone = true;
            break;
        }
        RecordHistory(s, s.decodeBuffer.data(), got);
        SDL_AudioStreamPut(s.convert, s.decodeBuffer.data(), static_cast<int>(got));
    }
}

void SDLCALL FeedDevice(void*, Uint8* out, int len) {
    const double now = Seconds();
    Stream* s = stream.get();
    if (!s || !s->playing) {
        std::memset(out, 0, static_cast<size_t>(len));
        return;
    }
    FillConverter(*s, len);
    int got = SDL_AudioStreamGet(s->convert, out, len);
    got = std::max(got, 0);
    if (got < len) {
        std::memset(out + got, 0, static_cast<size_t>(len - got));
    }
    std::lock_guard<std::mutex> lock(s->shared);
    s->clock.Handed(now, got / DeviceBytesPerFrame, len / DeviceBytesPerFrame);
}

SDL_AudioDeviceID OpenDevice() {
    SDL_AudioSpec want{};
    want.freq = DeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = DeviceChannels;
    want.samples = CallbackFrames;
    want.callback = FeedDevice;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts the 44.1 kHz stereo stream to whatever the device takes.
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

// Drivers that play in real time straight from the callback's buffer.
bool DriverHasNoQueue() {
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
}

// A silent output that plays in real time, so a machine without sound still
// keeps the music's time.
bool OpenSilentOutput(Output& out) {
    if (SDL_AudioInit("dummy") != 0) {
        return false;
    }
    out.usedDriverByName = true;
    out.device = OpenDevice();
    return out.device != 0;
}

void CloseOutput(Output& out) {
    if (out.device) {
        SDL_CloseAudioDevice(out.device);
        out.device = 0;
    }
    if (out.usedDriverByName) {
        SDL_AudioQuit();
    } else {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

// Seeks the stream to a frame of the file; the device must be locked.
bool SeekStream(Stream& s, int64_t frame) {
    if (frame < 0 || (s.decoder.LengthFrames() >= 0 && frame > s.decoder.LengthFrames())) {
        return false;
    }
    if (!s.decoder.Seek(frame)) {
        return false;
    }
    SDL_AudioStreamClear(s.convert);
    s.decoderDone = false;
    std::lock_guard<std::mutex> lock(s.shared);
    s.decodedFrames = frame;
    std::fill(s.history.begin(), s.history.end(), 0.0f);
    s.clock.Restart(s.ToDeviceFrames(static_cast<double>(frame)));
    return true;
}

Stream* Find(DWORD handle) {
    return stream && handle != 0 && stream->handle == handle ? stream.get() : nullptr;
}

// Frames of the file heard so far, capped at its length.
int64_t HeardFileFrames(Stream& s) {
    double frames;
    {
        std::lock_guard<std::mutex> lock(s.shared);
        frames = s.ToFileFrames(s.clock.Heard(Seconds()));
    }
    int64_t whole = static_cast<int64_t>(std::floor(frames + 1e-6));
    if (s.decoder.LengthFrames() >= 0) {
        whole = std::min(whole, s.decoder.LengthFrames());
    }
    return whole;
}

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
    if (output || freq == 0) {
        return FALSE;
    }
    auto out = std::make_unique<Output>();
    bool real = false;
    if (device == 1 || device == -1) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            out->device = OpenDevice();
            if (out->device) {
                real = true;
            } else {
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
            }
        }
    } else if (device != 0) {
        return FALSE;
    }
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
    auto s = std::make_unique<Stream>();
    if (!s->decoder.Open(static_cast<const char*>(file), (flags & BASS_STREAM_PRESCAN) != 0)) {
        return 0;
    }
    s->convert = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(s->decoder.Channels()),
                                    static_cast<int>(s->decoder.Rate()), AUDIO_S16SYS, DeviceChannels, DeviceRate);
    if (!s->convert) {
        return 0;
    }
    s->decodeBuffer.resize(static_cast<size_t>(4608) * 2);
    s->clock = PlayClock(DeviceRate, output->latencyFrames);
    s->handle = nextHandle++;
    DeviceLock lock;
    stream = std::move(s);
    return stream->handle;
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
    Stream* s = Find(handle);
    if (!s || !output) {
        return FALSE;
    }
    {
        DeviceLock lock;
        if (restart && !SeekStream(*s, 0)) {
            return FALSE;
        }
        s->playing = true;
    }
    SDL_PauseAudioDevice(output->device, 0);
    return TRUE;
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos) {
    Stream* s = Find(handle);
    if (!s) {
        return FALSE;
    }
    const int64_t frame = static_cast<int64_t>(pos / static_cast<QWORD>(s->BytesPerFrame()));
    DeviceLock lock;
    return SeekStream(*s, frame) ? TRUE : FALSE;
}

QWORD BASS_ChannelGetPosition(DWORD handle) {
    if (handle == 0) {
        if (!silentClockRunning) {
            return 0;
        }
        const double bytes = (Seconds() - silentClockStart) * SilentBytesPerSecond;
        return static_cast<QWORD>(bytes / 4.0) * 4;
    }
    Stream* s = Find(handle);
    if (!s) {
        return static_cast<QWORD>(-1);
    }
    return static_cast<QWORD>(HeardFileFrames(*s)) * static_cast<QWORD>(s->BytesPerFrame());
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
    Stream* s = Find(handle);
    if (!s) {
        return static_cast<DWORD>(-1);
    }
    const int64_t heard = HeardFileFrames(*s);
    std::lock_guard<std::mutex> lock(s->shared);
    // The 512 frames from the point being heard on, as far as they are decoded.
    for (int n = 0; n < Spectrum512::Size; ++n) {
        const int64_t frame = heard + n;
        const bool held = frame < s->decodedFrames && s->decodedFrames - frame <= static_cast<int64_t>(HistoryFrames);
        s->window[n] = held ? s->history[static_cast<size_t>(frame) % HistoryFrames] : 0.0f;
    }
    s->spectrum.Compute(s->window, out);
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
    return TRUE;
}
