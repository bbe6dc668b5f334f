// libFuzzer target: a picture file loaded as the texture set loads it (the
// format chosen by its contents, EXIF orientation, reduction for the screen).
// Built twice: as fuzz_jpeg_picture and fuzz_png_picture, each keeping its
// inputs in its own format by writing that format's signature first.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/picture_decoder.h"

#if defined(FUZZ_JPEG)
static const std::string Signature("\xFF\xD8\xFF", 3);
#else
static const std::string Signature("\x89PNG\r\n\x1a\n", 8);
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    // The last byte picks how large the picture is shown: as the logo
    // (tall), a photograph, or a thumbnail.
    const ScreenArea areas[] = {{819, 2048}, {363, 363}, {64, 48}};
    const ScreenArea area = areas[data[size - 1] % 3];
    std::string bytes(reinterpret_cast<const char*>(data), size - 1);
    bytes.replace(0, std::min(bytes.size(), Signature.size()), Signature);
    DecodePictureData(bytes, area);
    return 0;
}
