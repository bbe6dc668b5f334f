#include "music_decoder.h"

#include <cstring>
#include <fstream>

#include "mp3_decoder.h"
#include "sndfile_decoder.h"

namespace {

// Containers that say what they are in their first four bytes. Anything else
// goes to the MP3 decoder, which looks past tags for MPEG frames.
bool IsNamedContainer(const std::string& path) {
    char head[4] = {};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(head, sizeof(head))) {
        return false;
    }
    for (const char* magic : {"RIFF", "RIFX", "RF64", "FORM", "fLaC", "OggS", "caff"}) {
        if (std::memcmp(head, magic, 4) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<MusicDecoder> OpenMusicDecoder(const std::string& path, bool prescan) {
    if (IsNamedContainer(path)) {
        auto other = std::make_unique<SndfileDecoder>();
        return other->Open(path) ? std::move(other) : nullptr;
    }
    auto mp3 = std::make_unique<Mp3Decoder>();
    return mp3->Open(path, prescan) ? std::move(mp3) : nullptr;
}
