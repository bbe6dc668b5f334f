// One music file playing: decoded as the output device asks for it, a little
// ahead for the spectrum, and followed by a clock of what is being heard.
// Frames are 44.1 kHz stereo frames throughout.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "pcm_source.h"
#include "play_clock.h"
#include "spectrum.h"

class DecodedStream {
public:
    DecodedStream() = default;
    DecodedStream(const DecodedStream&) = delete;
    DecodedStream& operator=(const DecodedStream&) = delete;

    // False when the file holds no audio. latencyFrames: what the device
    // holds before a handed frame is heard.
    bool Open(const std::string& path, bool prescan, double latencyFrames);

    // On the audio thread: fills the device's buffer, silence once the music ends.
    void Feed(Uint8* out, int len, double now);

    // With the device locked: plays from a frame on.
    bool Seek(int64_t frame);
    bool playing = false;

    // From any thread.
    // Frames heard at `now`, never past the end of the music.
    int64_t HeardFrames(double now);
    // Magnitudes of the 512 frames from `frame` on.
    void SpectrumAt(int64_t frame, float* out);

private:
    void DecodeAhead(size_t frames);

    PcmSource source;
    bool sourceDone = false;
    // Decoded frames not yet handed to the device, interleaved.
    std::vector<int16_t> ahead;
    std::vector<int16_t> chunk;

    // Shared between the audio thread and the caller's, under `shared`.
    std::mutex shared;
    PlayClock clock;
    std::vector<float> history;  // mono, a ring indexed by frame
    int64_t decodedFrames = 0;
    Spectrum512 spectrum;
    float window[Spectrum512::Size] = {};
};
