// An MP3 file decoded as it plays by libmpg123, to 16-bit samples at the
// file's own rate and channel count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct mpg123_handle_struct;

class Mp3Decoder {
public:
    Mp3Decoder() = default;
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Opens the file; with prescan the whole file is scanned first, so that
    // its length and seeking are exact. False when it holds no MP3 audio.
    bool Open(const std::string& path, bool prescan);
    void Close();

    long Rate() const { return rate; }
    int Channels() const { return channels; }
    // Frames in the whole file, or -1 when unknown.
    int64_t LengthFrames() const { return lengthFrames; }

    // Decodes up to `bytes` bytes into `out`; returns the bytes written,
    // 0 at the end of the file or on an error in it.
    size_t Read(unsigned char* out, size_t bytes);
    bool Seek(int64_t frame);

private:
    mpg123_handle_struct* handle = nullptr;
    long rate = 0;
    int channels = 0;
    int64_t lengthFrames = -1;
};
