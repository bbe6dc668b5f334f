#include "tests/support/picture_fixture.h"

#include <spng.h>
#include <turbojpeg.h>

#include <cstdio>
#include <memory>

#include "tests/support/mp3_fixture.h"

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool WritePngPixels(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> png(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
    std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!png || !file) {
        return false;
    }
    spng_set_png_file(png.get(), file.get());
    spng_ihdr header{};
    header.width = static_cast<uint32_t>(width);
    header.height = static_cast<uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(png.get(), &header);
    return spng_encode_image(png.get(), rgb.data(), rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) == 0;
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
