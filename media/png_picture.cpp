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

// A decoder reading from what `source` sets, with its limits set and its
// header read; null with `problem` set when the header cannot be read or
// claims too much.
template <typename Source>
Png OpenPng(Source source, spng_ihdr* header, std::string* problem) {
    Png png(spng_ctx_new(0), spng_ctx_free);
    if (!png) {
        *problem = "out of memory";
        return png;
    }
    spng_set_image_limits(png.get(), MaxSide, MaxSide);
    spng_set_chunk_limits(png.get(), MaxChunkBytes, MaxChunkBytes);
    // Show what decodes, as image viewers do, even past a wrong checksum.
    spng_set_crc_action(png.get(), SPNG_CRC_USE, SPNG_CRC_USE);
    source(png.get());
    const int result = spng_get_ihdr(png.get(), header);
    if (result == SPNG_EUSER_WIDTH || result == SPNG_EUSER_HEIGHT) {
        *problem = "more than " + std::to_string(MaxSide) + " pixels on a side is more than a picture may have";
        png.reset();
    } else if (result != 0) {
        *problem = std::string("damaged PNG header: ") + spng_strerror(result);
        png.reset();
    } else if (static_cast<int64_t>(header->width) * header->height > MaxPixels) {
        *problem = std::to_string(header->width) + " x " + std::to_string(header->height) +
                   " pixels is more than a picture may have";
        png.reset();
    }
    return png;
}

auto FromBuffer(std::string_view bytes) {
    return [bytes](spng_ctx* png) { spng_set_png_buffer(png, bytes.data(), bytes.size()); };
}

// Decodes the picture whose header `png` has read, its columns averaged as
// its rows arrive as many times as `halvings` says.
bool DecodeOpened(spng_ctx* png, const spng_ihdr& header, const ColumnHalvings& halvings, Pixels* picture,
                  std::string* exif, std::string* problem) {
    const int format = SPNG_FMT_RGBA8;
    size_t size = 0;
    int result = spng_decoded_image_size(png, format, &size);
    if (result != 0) {
        *problem = std::string("could not be decoded: ") + spng_strerror(result);
        return false;
    }
    result = spng_decode_image(png, nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    if (result != 0) {
        *problem = std::string("could not be decoded: ") + spng_strerror(result);
        return false;
    }
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    picture->transparent = HasTransparency(png, header);
    // Only whole rows can be averaged as they come: not an interlaced picture's.
    int times = 0;
    if (halvings && header.interlace_method == SPNG_INTERLACE_NONE) {
        spng_exif early{};
        const bool seen = spng_get_exif(png, &early) == 0 && early.data;
        times = halvings(width, height, seen ? std::string_view(early.data, early.length) : std::string_view());
    }
    const size_t rowBytes = size / header.height;
    PixelBuffer row(times > 0 ? rowBytes : 0);
    picture->width = width >> times;
    picture->height = height;
    if (times > 0) {
        picture->fullWidth = width;
        picture->fullHeight = height;
        picture->premultiplied = picture->transparent;
    }
    const size_t outRowBytes = static_cast<size_t>(picture->width) * 4;
    picture->data.assign(outRowBytes * static_cast<size_t>(height), 0);
    // Row by row, interlaced or not, so that a picture cut short keeps what came before.
    int rows = 0;
    for (;;) {
        spng_row_info info{};
        result = spng_get_row_info(png, &info);
        if (result == 0) {
            uint8_t* out = &picture->data[info.row_num * outRowBytes];
            result = spng_decode_row(png, times > 0 ? row.data() : out, rowBytes);
            if ((result == 0 || result == SPNG_EOI) && times > 0) {
                HalveRowColumns(row.data(), width, times, picture->transparent, out);
            }
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
    if (spng_get_exif(png, &data) == 0 && data.data) {
        exif->assign(data.data, data.length);
    }
    return true;
}

}  // namespace

bool CheckPngHeader(std::string_view bytes, std::string* problem) {
    spng_ihdr header{};
    return OpenPng(FromBuffer(bytes), &header, problem) != nullptr;
}

bool DecodePng(std::string_view bytes, const ColumnHalvings& halvings, Pixels* picture, std::string* exif,
               std::string* problem) {
    spng_ihdr header{};
    Png png = OpenPng(FromBuffer(bytes), &header, problem);
    return png && DecodeOpened(png.get(), header, halvings, picture, exif, problem);
}

bool DecodePngFile(std::FILE* file, const ColumnHalvings& halvings, Pixels* picture, std::string* exif,
                   std::string* problem) {
    spng_ihdr header{};
    Png png = OpenPng([file](spng_ctx* png) { spng_set_png_file(png, file); }, &header, problem);
    return png && DecodeOpened(png.get(), header, halvings, picture, exif, problem);
}
