// A music file decoded to interleaved 16-bit samples at its own rate and
// channel count, whatever its format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class MusicDecoder {
public:
    virtual ~MusicDecoder() = default;

    virtual long Rate() const = 0;
    virtual int Channels() const = 0;
    // Frames in the whole file, or -1 when unknown.
    virtual int64_t LengthFrames() const = 0;

    // Decodes up to `frames` frames into `out`; returns the frames written,
    // 0 at the end of the file or on an error in it.
    virtual size_t Read(int16_t* out, size_t frames) = 0;
    virtual bool Seek(int64_t frame) = 0;
};

// Recognises the file by its contents: MP3 through libmpg123, WAV, AIFF,
// FLAC, Ogg Vorbis and Opus through libsndfile. With prescan an MP3 is
// scanned whole first, so that its length and seeking are exact. Null when
// the file holds no audio either can decode.
std::unique_ptr<MusicDecoder> OpenMusicDecoder(const std::string& path, bool prescan);
