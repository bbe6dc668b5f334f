#include "mp3_writer.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

bool Write(FILE* file, const std::vector<unsigned char>& mp3, int bytes) {
    return bytes >= 0 && std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), file) == static_cast<size_t>(bytes);
}

}  // namespace

bool WriteMp3(const std::string& path, const Mp3Settings& settings, long frames, const PcmBlock& fill,
              std::string* error) {
    std::unique_ptr<lame_global_flags, decltype(&lame_close)> lame(lame_init(), lame_close);
    if (!lame) {
        *error = "the MP3 encoder could not start";
        return false;
    }
    lame_set_in_samplerate(lame.get(), settings.rate);
    lame_set_out_samplerate(lame.get(), settings.rate);
    lame_set_num_channels(lame.get(), settings.channels);
    if (settings.explicitMode) {
        lame_set_mode(lame.get(), settings.channels == 1 ? MONO : STEREO);
    }
    if (settings.vbr) {
        lame_set_VBR(lame.get(), vbr_default);
        lame_set_VBR_quality(lame.get(), static_cast<float>(settings.quality));
    } else {
        lame_set_brate(lame.get(), settings.kbps);
    }
    lame_set_quality(lame.get(), settings.quality);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) {
        *error = "the MP3 encoder refused its settings";
        return false;
    }

    // Opened for reading too: the tag is written back at the start.
    std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "w+b"), std::fclose);
    if (!file) {
        *error = "cannot be created";
        return false;
    }
    const int block = 4096;
    std::vector<short> left(block);
    std::vector<short> right(block);
    std::vector<unsigned char> mp3(block * 5 / 4 + 7200);
    short* rightOrNone = settings.channels == 2 ? right.data() : nullptr;
    for (long start = 0; start < frames; start += block) {
        const int count = static_cast<int>(std::min<long>(block, frames - start));
        fill(start, count, left.data(), rightOrNone);
        const int bytes = lame_encode_buffer(lame.get(), left.data(), rightOrNone, count, mp3.data(),
                                             static_cast<int>(mp3.size()));
        if (!Write(file.get(), mp3, bytes)) {
            *error = "encoding or writing failed";
            return false;
        }
    }
    if (!Write(file.get(), mp3, lame_encode_flush(lame.get(), mp3.data(), static_cast<int>(mp3.size())))) {
        *error = "encoding or writing failed";
        return false;
    }
    // The tag at the file's start carries the length and the encoder delay
    // that gapless decoding needs.
    lame_mp3_tags_fid(lame.get(), file.get());
    if (std::fflush(file.get()) != 0) {
        *error = "writing failed";
        return false;
    }
    return true;
}
