// An MP3 file (MPEG 1, 2 and 2.5, layers I to III) decoded by libmpg123,
// gapless, to 16-bit samples at the file's own rate and channel count.
#pragma once

#include "music_decoder.h"

struct mpg123_handle_struct;

class Mp3Decoder : public MusicDecoder {
public:
    Mp3Decoder() = default;
    ~Mp3Decoder() override;
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // False when the file holds no MP3 audio.
    bool Open(const std::string& path, bool prescan);
    void Close();

    long Rate() const override { return rate; }
    int Channels() const override { return channels; }
    int64_t LengthFrames() const override { return lengthFrames; }
    size_t Read(int16_t* out, size_t frames) override;
    bool Seek(int64_t frame) override;

private:
    mpg123_handle_struct* handle = nullptr;
    long rate = 0;
    int channels = 0;
    int64_t lengthFrames = -1;
};
