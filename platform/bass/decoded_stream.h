// One MP3 file playing: decoded as the output device asks for it, converted
// to the device's format, and followed by a clock of what is being heard and
// a short history of samples for the spectrum.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "mp3_decoder.h"
#include "play_clock.h"
#include "spectrum.h"

class DecodedStream {
public:
    // The device's stream format: 44.1 kHz stereo, 16-bit.
    static constexpr int DeviceRate = 44100;
    static constexpr int DeviceChannels = 2;
    static constexpr int DeviceBytesPerFrame = DeviceChannels * 2;

    DecodedStream() = default;
    ~DecodedStream();
    DecodedStream(const DecodedStream&) = delete;
    DecodedStream& operator=(const DecodedStream&) = delete;

    // False when the file holds no MP3 audio. latencyFrames: what the device
    // holds before a handed frame is heard.
    bool Open(const std::string& path, bool prescan, double latencyFrames);

    // On the audio thread: fills the device's buffer, silence once the music ends.
    void Feed(Uint8* out, int len, double now);

    // With the device locked: plays from a frame of the file on.
    bool Seek(int64_t frame);
    bool playing = false;

    // From any thread.
    int64_t BytesPerFrame() const { return static_cast<int64_t>(decoder.Channels()) * 2; }
    // Frames of the file heard at `now`, never past its end.
    int64_t HeardFrames(double now);
    // Magnitudes of the 512 frames from the one being heard on.
    void SpectrumAt(int64_t frame, float* out);

private:
    void Decode(int bytes);
    void Remember(const unsigned char* bytes, size_t count);
    double ToFileFrames(double deviceFrames) const { return deviceFrames * decoder.Rate() / DeviceRate; }
    double ToDeviceFrames(double fileFrames) const { return fileFrames * DeviceRate / decoder.Rate(); }

    Mp3Decoder decoder;
    SDL_AudioStream* convert = nullptr;
    bool decoderDone = false;
    std::vector<unsigned char> decodeBuffer;

    // Shared between the audio thread and the caller's, under `shared`.
    std::mutex shared;
    PlayClock clock;
    std::vector<float> history;
    int64_t decodedFrames = 0;
    Spectrum512 spectrum;
    float window[Spectrum512::Size] = {};
};
