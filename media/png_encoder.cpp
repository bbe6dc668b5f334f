#include "media/png_encoder.h"

#include <spng.h>

EncodedPng EncodePng(const uint8_t* pixels, int width, int height, int channels, const std::string& exif,
                     std::string* error) {
    EncodedPng encoded;
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> png(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
    if (!png) {
        *error = "out of memory";
        return encoded;
    }
    spng_set_option(png.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = static_cast<uint32_t>(width);
    header.height = static_cast<uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = channels == 4 ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(png.get(), &header);
    spng_exif chunk{exif.size(), const_cast<char*>(exif.data())};
    if (!exif.empty()) {
        spng_set_exif(png.get(), &chunk);
    }
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels);
    int result = spng_encode_image(png.get(), pixels, size, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    void* bytes = result == 0 ? spng_get_png_buffer(png.get(), &encoded.size, &result) : nullptr;
    if (!bytes) {
        *error = spng_strerror(result);
        encoded.size = 0;
        return encoded;
    }
    encoded.bytes.reset(bytes);
    return encoded;
}
