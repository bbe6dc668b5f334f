#include "mp3_fixture.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

bool WriteSineMp3(const std::string& path, const SineSpec& spec) {
    std::unique_ptr<lame_global_flags, decltype(&lame_close)> lame(lame_init(), lame_close);
    lame_set_in_samplerate(lame.get(), spec.rate);
    lame_set_out_samplerate(lame.get(), spec.rate);
    lame_set_num_channels(lame.get(), spec.channels);
    lame_set_mode(lame.get(), spec.channels == 1 ? MONO : STEREO);
    lame_set_brate(lame.get(), spec.channels == 1 ? 128 : 192);
    lame_set_quality(lame.get(), 2);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) {
        return false;
    }
    std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "w+b"), std::fclose);
    if (!file) {
        return false;
    }
    // Block by block, so a long file needs little memory.
    const long frames = static_cast<long>(spec.rate * spec.seconds);
    const int block = 8192;
    std::vector<short> left(block);
    std::vector<short> right(block);
    std::vector<unsigned char> mp3(block * 5 / 4 + 7200);
    for (long start = 0; start < frames; start += block) {
        const int count = static_cast<int>(std::min<long>(block, frames - start));
        for (int i = 0; i < count; ++i) {
            const double value = spec.amplitude * std::sin(2.0 * M_PI * spec.hz * (start + i) / spec.rate);
            left[i] = right[i] = static_cast<short>(std::lround(value * 32767.0));
        }
        const int bytes = lame_encode_buffer(lame.get(), left.data(), spec.channels == 2 ? right.data() : nullptr,
                                             count, mp3.data(), static_cast<int>(mp3.size()));
        if (bytes < 0) {
            return false;
        }
        std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), file.get());
    }
    const int bytes = lame_encode_flush(lame.get(), mp3.data(), static_cast<int>(mp3.size()));
    std::fwrite(mp3.data(), 1, static_cast<size_t>(std::max(bytes, 0)), file.get());
    lame_mp3_tags_fid(lame.get(), file.get());
    return true;
}

std::string MakeTempDir() {
    char pattern[] = "/tmp/dwip-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
