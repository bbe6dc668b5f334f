#include "tests/support/picture_fixture.h"

#include <spng.h>
#include <turbojpeg.h>

#include <cstddef>
// After <cstddef>: jpeglib.h needs size_t and FILE.
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "media/png_encoder.h"
#include "tests/support/mp3_fixture.h"

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// 8-bit RGB rows, with an eXIf chunk when `exif` is not empty.
bool WritePngPixels(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
                    const std::string& exif = "") {
    std::string problem;
    const EncodedPng png = EncodePng(rgb.data(), width, height, 3, exif, &problem);
    std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    return png.bytes && file && std::fwrite(png.bytes.get(), 1, png.size, file.get()) == png.size &&
           std::fflush(file.get()) == 0;
}

bool WriteJpegPixels(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
    tjhandle jpeg = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool encoded =
        jpeg && tjCompress2(jpeg, rgb.data(), width, 0, height, TJPF_RGB, &out, &size, TJSAMP_444, 100, 0) == 0;
    if (encoded) {
        WriteFile(path, std::string(reinterpret_cast<char*>(out), size));
    }
    tjFree(out);
    if (jpeg) {
        tjDestroy(jpeg);
    }
    return encoded;
}

}  // namespace

bool WriteSolidPicture(const std::string& path, Rgb colour, int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = colour.r;
        rgb[i + 1] = colour.g;
        rgb[i + 2] = colour.b;
    }
    return EndsWith(path, ".png") ? WritePngPixels(path, rgb, width, height) : WriteJpegPixels(path, rgb, width, height);
}

bool ReadPng(const std::string& path, std::vector<uint8_t>* rgb, int* width, int* height) {
    const std::string bytes = ReadFile(path);
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> png(spng_ctx_new(0), spng_ctx_free);
    if (!png || spng_set_png_buffer(png.get(), bytes.data(), bytes.size()) != 0) {
        return false;
    }
    spng_ihdr header{};
    size_t size = 0;
    if (spng_get_ihdr(png.get(), &header) != 0 || spng_decoded_image_size(png.get(), SPNG_FMT_RGB8, &size) != 0) {
        return false;
    }
    rgb->resize(size);
    *width = static_cast<int>(header.width);
    *height = static_cast<int>(header.height);
    return spng_decode_image(png.get(), rgb->data(), size, SPNG_FMT_RGB8, 0) == 0;
}

std::string ExifOrientation(int orientation) {
    // Little-endian TIFF: header, then one directory of one entry, tag 0x0112
    // (orientation), type SHORT, one value.
    std::string tiff("II*\0\x08\0\0\0", 8);
    tiff += std::string("\x01\0", 2);
    tiff += std::string("\x12\x01\x03\0\x01\0\0\0", 8);
    tiff += static_cast<char>(orientation);
    tiff += std::string("\0\0\0", 3);
    tiff += std::string("\0\0\0\0", 4);
    return tiff;
}

std::string WithExifSegment(const std::string& jpeg, int orientation) {
    const std::string payload = std::string("Exif\0\0", 6) + ExifOrientation(orientation);
    const size_t length = payload.size() + 2;
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return jpeg.substr(0, 2) + segment + payload + jpeg.substr(2);
}

bool WritePngWithExif(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
                      int orientation) {
    return WritePngPixels(path, rgb, width, height, ExifOrientation(orientation));
}

bool WriteCmykJpeg(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
    std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) {
        return false;
    }
    jpeg_compress_struct jpeg{};
    jpeg_error_mgr errors{};
    jpeg.err = jpeg_std_error(&errors);
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, file.get());
    jpeg.image_width = static_cast<JDIMENSION>(width);
    jpeg.image_height = static_cast<JDIMENSION>(height);
    jpeg.input_components = 4;
    jpeg.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&jpeg);
    jpeg_set_colorspace(&jpeg, JCS_CMYK);
    jpeg_set_quality(&jpeg, 95, TRUE);
    jpeg.write_Adobe_marker = TRUE;
    jpeg_start_compress(&jpeg, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
    while (jpeg.next_scanline < jpeg.image_height) {
        const uint8_t* from = &rgb[static_cast<size_t>(jpeg.next_scanline) * width * 3];
        for (int x = 0; x < width; ++x) {
            // Black ink takes what all three share, the others the rest;
            // each stored inverted (255 - ink).
            const int top = std::max({from[x * 3], from[x * 3 + 1], from[x * 3 + 2]});
            for (int c = 0; c < 3; ++c) {
                row[x * 4 + c] = static_cast<uint8_t>(top ? 255 - (top - from[x * 3 + c]) * 255 / top : 255);
            }
            row[x * 4 + 3] = static_cast<uint8_t>(top);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    jpeg_destroy_compress(&jpeg);
    return std::fflush(file.get()) == 0;
}
