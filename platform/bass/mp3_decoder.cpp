#include "mp3_decoder.h"

#include <mpg123.h>

#include <mutex>

namespace {

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

size_t Mp3Decoder::Read(unsigned char* out, size_t bytes) {
    if (!handle) {
        return 0;
    }
    size_t done = 0;
    int result = mpg123_read(handle, out, bytes, &done);
    while (result == MPG123_NEW_FORMAT && done == 0) {
        result = mpg123_read(handle, out, bytes, &done);
    }
    return done;
}

bool Mp3Decoder::Seek(int64_t frame) {
    return handle && mpg123_seek(handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
}
