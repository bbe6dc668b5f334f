// A music file as 44.1 kHz 16-bit stereo, whatever its own rate and channel
// count: the one format the position, the spectrum and the output count in.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "music_decoder.h"

class PcmSource {
public:
    static constexpr int Rate = 44100;
    static constexpr int Channels = 2;
    static constexpr int BytesPerFrame = Channels * 2;

    PcmSource() = default;
    ~PcmSource();
    PcmSource(const PcmSource&) = delete;
    PcmSource& operator=(const PcmSource&) = delete;

    // False when the file holds no audio a decoder knows.
    bool Open(const std::string& path, bool prescan);

    // Frames of 44.1 kHz stereo in the whole file, or -1 when unknown.
    int64_t LengthFrames() const { return lengthFrames; }
    // Goes to a frame of 44.1 kHz stereo; false past the end.
    bool Seek(int64_t frame);
    // Up to `frames` frames into `out`; fewer only at the end of the file.
    size_t Read(int16_t* out, size_t frames);

private:
    void FinishConversion();

    std::unique_ptr<MusicDecoder> decoder;
    SDL_AudioStream* convert = nullptr;
    bool decoderDone = false;
    int64_t lengthFrames = -1;
    int64_t position = 0;  // the next frame Read gives
    std::vector<int16_t> decodeBuffer;
};
