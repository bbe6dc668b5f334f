#include "mp3_decoder.h"

#include <mpg123.h>

#include <mutex>

namespace {

// The reservoir reaches back at most 511 bytes in frames of at least 96
// (MPEG 1) or 255 bytes in frames of at least 24 (MPEG 2 and 2.5): eleven
// frames, and a few more for the filter bank's overlap.
const long PreFrames = 16;

bool LibraryReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
#if MPG123_API_VERSION < 46
        ready = mpg123_init() == MPG123_OK;
#else
        ready = true;
#endif
    });
    return ready;
}

}  // namespace

Mp3Decoder::~Mp3Decoder() {
    Close();
}

bool Mp3Decoder::Open(const std::string& path, bool prescan) {
    Close();
    if (!LibraryReady()) {
        return false;
    }
    int error = MPG123_OK;
    handle = mpg123_new(nullptr, &error);
    if (!handle) {
        return false;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    // After a seek, frames are decoded from far enough back that the bit
    // reservoir of even a low-rate VBR file is whole: the samples at any
    // position are then the same however it was reached.
    mpg123_param(handle, MPG123_PREFRAMES, PreFrames, 0.0);
    // Whatever the file's rate and channels, 16-bit signed samples come out.
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    if (mpg123_open(handle, path.c_str()) != MPG123_OK) {
        Close();
        return false;
    }
    if (prescan && mpg123_scan(handle) != MPG123_OK) {
        Close();
        return false;
    }
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels < 1 ||
        channels > 2 || encoding != MPG123_ENC_SIGNED_16) {
        Close();
        return false;
    }
    const off_t length = mpg123_length(handle);
    lengthFrames = length >= 0 ? static_cast<int64_t>(length) : -1;
    if (prescan && lengthFrames <= 0) {
        Close();
        return false;
    }
    return true;
}

void Mp3Decoder::Close() {
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
        handle = nullptr;
    }
    rate = 0;
    channels = 0;
    lengthFrames = -1;
}

size_t Mp3Decoder::Read(int16_t* out, size_t frames) {
    if (!handle) {
        return 0;
    }
    const size_t bytesPerFrame = static_cast<size_t>(channels) * sizeof(int16_t);
    unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
    size_t done = 0;
    int result = mpg123_read(handle, bytes, frames * bytesPerFrame, &done);
    while (result == MPG123_NEW_FORMAT && done == 0) {
        result = mpg123_read(handle, bytes, frames * bytesPerFrame, &done);
    }
    return done / bytesPerFrame;
}

bool Mp3Decoder::Seek(int64_t frame) {
    return handle && mpg123_seek(handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
}
