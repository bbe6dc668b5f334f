// libFuzzer target: a music file opened, decoded, moved in and its spectrum
// read, as the audio layer does for the player and the capture program.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "decode_channel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The decoders read files: this one lives in memory.
    const int fd = memfd_create("music", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) {
        if (fd >= 0) {
            close(fd);
        }
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    DecodeChannel channel;
    if (channel.Open(path, true)) {
        std::vector<int16_t> pcm(4096 * 2);
        float spectrum[Spectrum512::Bins];
        // At most a few seconds decoded an input, wherever the file claims to end.
        size_t total = 0;
        for (int i = 0; i < 64; ++i) {
            const size_t got = channel.Read(pcm.data(), 4096);
            total += got;
            if (got == 0) {
                break;
            }
        }
        channel.SetPosition(static_cast<int64_t>(total / 2));
        channel.Spectrum(spectrum);
        channel.SetPosition(0);
        channel.Spectrum(spectrum);
        channel.SetPosition(static_cast<int64_t>(total) + 1000000);  // past the end: refused
        channel.Read(pcm.data(), 4096);
    }
    close(fd);
    return 0;
}
