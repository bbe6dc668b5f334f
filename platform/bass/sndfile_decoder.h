// WAV, AIFF, FLAC, Ogg Vorbis and Opus files decoded by libsndfile to 16-bit
// samples at the file's own rate and channel count.
#pragma once

#include <vector>

#include "music_decoder.h"

struct sf_private_tag;

class SndfileDecoder : public MusicDecoder {
public:
    SndfileDecoder() = default;
    ~SndfileDecoder() override;
    SndfileDecoder(const SndfileDecoder&) = delete;
    SndfileDecoder& operator=(const SndfileDecoder&) = delete;

    // False when libsndfile does not know the file, or knows it as MPEG
    // audio, which the MP3 decoder plays gapless and quietly.
    bool Open(const std::string& path);

    long Rate() const override { return rate; }
    int Channels() const override { return channels; }
    int64_t LengthFrames() const override { return lengthFrames; }
    size_t Read(int16_t* out, size_t frames) override;
    bool Seek(int64_t frame) override;

private:
    sf_private_tag* file = nullptr;
    long rate = 0;
    int channels = 0;
    int64_t lengthFrames = -1;
    std::vector<float> scratch;
};
