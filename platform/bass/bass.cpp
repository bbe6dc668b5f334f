// The audio library's seven calls. One stream plays at a time; it decodes
// as the output asks for it, so its memory stays bounded whatever the file's
// length, and the caller's thread only reads the clock and the spectrum.
#include "bass.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>

#include "decode_channel.h"
#include "decoded_stream.h"
#include "playback.h"

namespace {

// Positions count bytes of 44.1 kHz 16-bit stereo, whatever the file's format.
const QWORD BytesPerFrame = PcmSource::BytesPerFrame;
// The silent clock of a stream that could not be created.
const double SilentBytesPerSecond = PcmSource::Rate * BytesPerFrame;

double Seconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

bool initialised = false;
std::unique_ptr<DecodedStream> stream;
HSTREAM streamHandle = 0;
std::map<HSTREAM, std::unique_ptr<DecodeChannel>> decodeChannels;
HSTREAM nextHandle = 0x10001;

bool silentClockRunning = false;
double silentClockStart = 0.0;

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
    if (initialised || freq == 0 || device < -1 || device > 1) {
        return FALSE;
    }
    initialised = true;
    // Device 0 asks for no sound. Without a device that plays, the music
    // keeps its time all the same and a device is looked for meanwhile; the
    // caller is told, so it can say so.
    return device == 0 || StartPlayback() ? TRUE : FALSE;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags) {
    if (!initialised || mem || !file || offset != 0 || length != 0) {
        return 0;
    }
    if (flags & BASS_STREAM_DECODE) {
        return CreateDecodeChannel(static_cast<const char*>(file), flags);
    }
    if (stream) {
        return 0;
    }
    auto created = std::make_unique<DecodedStream>();
    if (!created->Open(static_cast<const char*>(file), (flags & BASS_STREAM_PRESCAN) != 0)) {
        return 0;
    }
    stream = std::move(created);
    SetPlayingStream(stream.get());
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
    const double now = Seconds();
    if (restart && !s->Seek(0, now)) {
        return FALSE;
    }
    PlayStream(s, now);
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
    return s->Seek(static_cast<int64_t>(pos / BytesPerFrame), Seconds()) ? TRUE : FALSE;
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
    return static_cast<QWORD>(StreamHeardFrames(s, Seconds())) * BytesPerFrame;
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
    s->SpectrumAt(StreamHeardFrames(s, Seconds()), out);
    return static_cast<DWORD>(Spectrum512::Size * BytesPerFrame);
}

BOOL BASS_Free() {
    silentClockRunning = false;
    decodeChannels.clear();
    if (!initialised) {
        return FALSE;
    }
    initialised = false;
    StopPlayback();
    SetPlayingStream(nullptr);
    stream.reset();
    streamHandle = 0;
    return TRUE;
}
