// The audio library's seven calls on Web Audio. The page has decoded the
// music (the browser's decodeAudioData, at 44.1 kHz) before the program
// starts; here it is played, its heard position read from the audio
// context's clock less the output latency, in the native layer's unit
// (bytes of 44.1 kHz 16-bit stereo), and its spectrum computed from the
// decoded samples by the native layer's own FFT code.
#include "bass.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>

#include "spectrum.h"

EM_JS(int, WebAudioReady, (), {
    const music = Module["page"].music;
    return music.context && music.context.state !== "closed" ? 1 : 0;
});

EM_JS(int, WebMusicLoaded, (const char* path), {
    const music = Module["page"].music;
    return music.buffer && music.path === UTF8ToString(path) ? 1 : 0;
});

// Plays from `offset` seconds on, from now.
EM_JS(void, WebMusicPlay, (double offset), {
    const music = Module["page"].music;
    if (music.source) music.source.stop();
    const source = music.context.createBufferSource();
    source.buffer = music.buffer;
    source.connect(music.context.destination);
    source.start(0, offset);
    music.source = source;
    music.origin = music.context.currentTime - offset;
});

// Seconds of music heard so far: the context's clock less what the output
// still holds; -1 before playing.
EM_JS(double, WebMusicHeard, (), {
    const music = Module["page"].music;
    if (!music.source) return -1;
    const context = music.context;
    const latency = (context.outputLatency || 0) + (context.baseLatency || 0);
    return Math.min(Math.max(context.currentTime - latency - music.origin, 0), music.buffer.duration);
});

EM_JS(double, WebMusicFrames, (), {
    const music = Module["page"].music;
    return music.buffer ? music.buffer.length : 0;
});

// `count` frames from `first` on, mixed to mono, into `out`; silence past the end.
EM_JS(void, WebMusicSamples, (double first, int count, float* out), {
    const buffer = Module["page"].music.buffer;
    const left = buffer.getChannelData(0);
    const right = buffer.getChannelData(buffer.numberOfChannels > 1 ? 1 : 0);
    const base = out >> 2;
    for (let i = 0; i < count; i++) {
        const at = first + i;
        HEAPF32[base + i] = at < buffer.length ? (left[at] + right[at]) / 2 : 0;
    }
});

EM_JS(void, WebMusicStop, (), {
    const music = Module["page"].music;
    if (music.source) music.source.stop();
    music.source = null;
});

EM_JS(double, WebSeconds, (), { return performance.now() / 1000; });

// The last position the program read, for whoever watches the page.
EM_JS(void, WebNotePosition, (double bytes), { Module["page"].position = bytes; });

namespace {

const QWORD BytesPerFrame = 4;
const double FramesPerSecond = 44100.0;
const HSTREAM TheStream = 0x10001;

bool Initialised = false;
bool StreamOpen = false;
bool SilentClockRunning = false;
double SilentClockStart = 0.0;
float Window[Spectrum512::Size];

QWORD BytesOf(double seconds) {
    return static_cast<QWORD>(seconds * FramesPerSecond) * BytesPerFrame;
}

}  // namespace

BOOL BASS_Init(int, DWORD, DWORD, HWND, const void*) {
    if (Initialised) {
        return FALSE;
    }
    Initialised = WebAudioReady() != 0;
    return Initialised ? TRUE : FALSE;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags) {
    if (!Initialised || mem || !file || offset || length || (flags & BASS_STREAM_DECODE) || StreamOpen) {
        return 0;
    }
    if (!WebMusicLoaded(static_cast<const char*>(file))) {
        return 0;
    }
    StreamOpen = true;
    return TheStream;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL) {
    if (handle == 0) {
        // No stream: a silent clock keeps the pictures on their timeline.
        SilentClockRunning = true;
        SilentClockStart = WebSeconds();
        return FALSE;
    }
    if (handle != TheStream || !StreamOpen) {
        return FALSE;
    }
    WebMusicPlay(0.0);
    return TRUE;
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos) {
    const double seconds = static_cast<double>(pos / BytesPerFrame) / FramesPerSecond;
    if (handle == 0) {
        if (SilentClockRunning) {
            SilentClockStart = WebSeconds() - seconds;
        }
        return FALSE;
    }
    if (handle != TheStream || !StreamOpen || pos / BytesPerFrame > static_cast<QWORD>(WebMusicFrames())) {
        return FALSE;
    }
    WebMusicPlay(seconds);
    return TRUE;
}

namespace {
QWORD Position(DWORD handle) {
    if (handle == 0) {
        return SilentClockRunning ? BytesOf(WebSeconds() - SilentClockStart) : 0;
    }
    if (handle != TheStream || !StreamOpen) {
        return static_cast<QWORD>(-1);
    }
    const double heard = WebMusicHeard();
    return heard < 0.0 ? 0 : BytesOf(heard);
}
}  // namespace

QWORD BASS_ChannelGetPosition(DWORD handle) {
    const QWORD position = Position(handle);
    WebNotePosition(static_cast<double>(position));
    return position;
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
    if (handle != TheStream || !StreamOpen) {
        return static_cast<DWORD>(-1);
    }
    static Spectrum512 spectrum;
    const double heard = std::max(WebMusicHeard(), 0.0);
    WebMusicSamples(static_cast<double>(static_cast<int64_t>(heard * FramesPerSecond)), Spectrum512::Size, Window);
    spectrum.Compute(Window, out);
    return static_cast<DWORD>(Spectrum512::Size * BytesPerFrame);
}

BOOL BASS_Free() {
    SilentClockRunning = false;
    if (!Initialised) {
        return FALSE;
    }
    WebMusicStop();
    Initialised = false;
    StreamOpen = false;
    return TRUE;
}
