#include "media/png_picture.h"

#include <spng.h>

#include <memory>

namespace {

// A PNG is decoded whole: beyond this it would take more memory than the
// presentation as a whole.
const int64_t MaxPixels = 64ll * 1024 * 1024;
const uint32_t MaxSide = 32768;
// No text or metadata chunk is needed; none may be huge.
const size_t MaxChunkBytes = 16 * 1024 * 1024;

using Png = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

bool HasTransparency(spng_ctx* png, const spng_ihdr& header) {
    spng_trns trns{};
    return header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
           header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA || spng_get_trns(png, &trns) == 0;
}

}  // namespace

bool DecodePng(const std::string& bytes, Pixels* picture, std::string* exif, std::string* problem) {
    Png png(spng_ctx_new(0), spng_ctx_free);
    if (!png) {
        *problem = "out of memory";
        return false;
    }
    spng_set_image_limits(png.get(), MaxSide, MaxSide);
    spng_set_chunk_limits(png.get(), MaxChunkBytes, MaxChunkBytes);
    // Show what decodes, as image viewers do, even past a wrong checksum.
    spng_set_crc_action(png.get(), SPNG_CRC_USE, SPNG_CRC_USE);
    spng_set_png_buffer(png.get(), bytes.data(), bytes.size());
    spng_ihdr header{};
    int result = spng_get_ihdr(png.get(), &header);
    if (result == SPNG_EUSER_WIDTH || result == SPNG_EUSER_HEIGHT) {
        *problem = "more than " + std::to_string(MaxSide) + " pixels on a side is more than a picture may have";
        return false;
    }
    if (result != 0) {
        *problem = std::string("damaged PNG header: ") + spng_strerror(result);
        return false;
    }
    if (static_cast<int64_t>(header.width) * header.height > MaxPixels) {
        *problem = std::to_string(header.width) + " x " + std::to_string(header.height) +
                   " pixels is more than a picture may have";
        return false;
    }
    const int format = SPNG_FMT_RGBA8;
    size_t size = 0;
    result = spng_decoded_image_size(png.get(), format, &size);
    if (result != 0) {
        *problem = std::string("could not be decoded: ") + spng_strerror(result);
        return false;
    }
    picture->width = static_cast<int>(header.width);
    picture->height = static_cast<int>(header.height);
    picture->transparent = HasTransparency(png.get(), header);
    picture->data.assign(size, 0);
    result = spng_decode_image(png.get(), nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    if (result != 0) {
        *problem = std::string("could not be decoded: ") + spng_strerror(result);
        return false;
    }
    // Row by row, interlaced or not, so that a picture cut short keeps what came before.
    const size_t rowBytes = size / header.height;
    int rows = 0;
    for (;;) {
        spng_row_info row{};
        result = spng_get_row_info(png.get(), &row);
        if (result == 0) {
            result = spng_decode_row(png.get(), &picture->data[row.row_num * rowBytes], rowBytes);
        }
        if (result != 0 && result != SPNG_EOI) {
            break;
        }
        ++rows;
        if (result == SPNG_EOI) {
            break;
        }
    }
    if (result != SPNG_EOI) {
        if (rows == 0) {
            *problem = std::string("could not be decoded: ") + spng_strerror(result);
            return false;
        }
        *problem = std::string("truncated or damaged (") + spng_strerror(result) + ")";
    }
    spng_exif data{};
    if (spng_get_exif(png.get(), &data) == 0 && data.data) {
        exif->assign(data.data, data.length);
    }
    return true;
}
