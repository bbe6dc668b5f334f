#include "decoded_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Mono history for the spectrum, in frames of the file: far more than the
// decoder runs ahead of what is heard.
const size_t HistoryFrames = 16384;
const size_t DecodeBytes = 4608 * 2;
}  // namespace

DecodedStream::~DecodedStream() {
    if (convert) {
        SDL_FreeAudioStream(convert);
    }
}

bool DecodedStream::Open(const std::string& path, bool prescan, double latencyFrames) {
    if (!decoder.Open(path, prescan)) {
        return false;
    }
    convert = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(decoder.Channels()),
                                 static_cast<int>(decoder.Rate()), AUDIO_S16SYS, DeviceChannels, DeviceRate);
    if (!convert) {
        return false;
    }
    decodeBuffer.resize(DecodeBytes);
    history.assign(HistoryFrames, 0.0f);
    clock = PlayClock(DeviceRate, latencyFrames);
    return true;
}

void DecodedStream::Remember(const unsigned char* bytes, size_t count) {
    const int channels = decoder.Channels();
    const size_t frames = count / static_cast<size_t>(BytesPerFrame());
    std::lock_guard<std::mutex> lock(shared);
    for (size_t f = 0; f < frames; ++f) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) {
            int16_t sample;
            std::memcpy(&sample, bytes + (f * channels + c) * 2, 2);
            sum += sample / 32768.0f;
        }
        history[static_cast<size_t>(decodedFrames) % HistoryFrames] = sum / channels;
        ++decodedFrames;
    }
}

// Decodes until the converter holds `bytes` bytes for the device, or the file ends.
void DecodedStream::Decode(int bytes) {
    while (!decoderDone && SDL_AudioStreamAvailable(convert) < bytes) {
        const size_t got = decoder.Read(decodeBuffer.data(), decodeBuffer.size());
        if (got == 0) {
            SDL_AudioStreamFlush(convert);
            decoderDone = true;
            break;
        }
        Remember(decodeBuffer.data(), got);
        SDL_AudioStreamPut(convert, decodeBuffer.data(), static_cast<int>(got));
    }
}

void DecodedStream::Feed(Uint8* out, int len, double now) {
    if (!playing) {
        std::memset(out, 0, static_cast<size_t>(len));
        return;
    }
    Decode(len);
    const int got = std::max(SDL_AudioStreamGet(convert, out, len), 0);
    if (got < len) {
        std::memset(out + got, 0, static_cast<size_t>(len - got));
    }
    std::lock_guard<std::mutex> lock(shared);
    clock.Handed(now, got / DeviceBytesPerFrame, len / DeviceBytesPerFrame);
}

bool DecodedStream::Seek(int64_t frame) {
    if (frame < 0 || (decoder.LengthFrames() >= 0 && frame > decoder.LengthFrames())) {
        return false;
    }
    if (!decoder.Seek(frame)) {
        return false;
    }
    SDL_AudioStreamClear(convert);
    decoderDone = false;
    std::lock_guard<std::mutex> lock(shared);
    decodedFrames = frame;
    std::fill(history.begin(), history.end(), 0.0f);
    clock.Restart(ToDeviceFrames(static_cast<double>(frame)));
    return true;
}

int64_t DecodedStream::HeardFrames(double now) {
    double frames;
    {
        std::lock_guard<std::mutex> lock(shared);
        frames = ToFileFrames(clock.Heard(now));
    }
    int64_t whole = static_cast<int64_t>(std::floor(frames + 1e-6));
    if (decoder.LengthFrames() >= 0) {
        whole = std::min(whole, decoder.LengthFrames());
    }
    return whole;
}

void DecodedStream::SpectrumAt(int64_t frame, float* out) {
    std::lock_guard<std::mutex> lock(shared);
    // As far as they are decoded and still remembered; silence beyond.
    for (int n = 0; n < Spectrum512::Size; ++n) {
        const int64_t at = frame + n;
        const bool held = at < decodedFrames && decodedFrames - at <= static_cast<int64_t>(HistoryFrames);
        window[n] = held ? history[static_cast<size_t>(at) % HistoryFrames] : 0.0f;
    }
    spectrum.Compute(window, out);
}
