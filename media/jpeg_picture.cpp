#include "media/jpeg_picture.h"

#include <turbojpeg.h>

#include <memory>

namespace {

// Beyond these a JPEG is not decoded at all: no camera makes such pictures,
// and a damaged header must not decide what is allocated.
const int64_t MaxClaimedPixels = 512ll * 1024 * 1024;
const int64_t MaxDecodedPixels = 64ll * 1024 * 1024;

struct TurboJpeg {
    tjhandle handle = tjInitDecompress();
    ~TurboJpeg() {
        if (handle) {
            tjDestroy(handle);
        }
    }
};

// The smallest of 1/8, 1/4, 1/2 and 1 that still covers the area.
tjscalingfactor ScaleFor(int width, int height, ScreenArea area) {
    for (int denominator : {8, 4, 2}) {
        const tjscalingfactor factor{1, denominator};
        if (TJSCALED(width, factor) >= area.width && TJSCALED(height, factor) >= area.height) {
            return factor;
        }
    }
    return tjscalingfactor{1, 1};
}

// CMYK as stored by print software (Adobe's inverted convention, which every
// browser assumes): 255 is no ink.
void CmykToRgb(Pixels& picture) {
    const size_t count = static_cast<size_t>(picture.width) * picture.height;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* cmyk = &picture.data[i * 4];
        uint8_t* rgb = &picture.data[i * 3];
        const int k = cmyk[3];
        const uint8_t r = static_cast<uint8_t>(cmyk[0] * k / 255);
        const uint8_t g = static_cast<uint8_t>(cmyk[1] * k / 255);
        const uint8_t b = static_cast<uint8_t>(cmyk[2] * k / 255);
        rgb[0] = r;
        rgb[1] = g;
        rgb[2] = b;
    }
    picture.data.resize(count * 3);
    picture.channels = 3;
}

}  // namespace

bool DecodeJpeg(const std::string& bytes, ScreenArea area, Pixels* picture, std::string* problem) {
    TurboJpeg jpeg;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    if (!jpeg.handle ||
        tjDecompressHeader3(jpeg.handle, data, bytes.size(), &width, &height, &subsampling, &colourspace) != 0) {
        *problem = std::string("damaged JPEG header: ") + tjGetErrorStr2(jpeg.handle);
        return false;
    }
    if (static_cast<int64_t>(width) * height > MaxClaimedPixels) {
        *problem = std::to_string(width) + " x " + std::to_string(height) + " pixels is more than a picture may have";
        return false;
    }
    const tjscalingfactor factor = ScaleFor(width, height, area);
    picture->width = TJSCALED(width, factor);
    picture->height = TJSCALED(height, factor);
    if (static_cast<int64_t>(picture->width) * picture->height > MaxDecodedPixels) {
        *problem = std::to_string(width) + " x " + std::to_string(height) + " pixels is more than a picture may have";
        return false;
    }
    const bool cmyk = colourspace == TJCS_CMYK || colourspace == TJCS_YCCK;
    picture->channels = cmyk ? 4 : 3;
    picture->data.assign(static_cast<size_t>(picture->width) * picture->height * picture->channels, 0);
    // At most 500 progressive scans: a crafted file cannot make decoding endless.
    const int result = tjDecompress2(jpeg.handle, data, bytes.size(), picture->data.data(), picture->width, 0,
                                     picture->height, cmyk ? TJPF_CMYK : TJPF_RGB, TJFLAG_LIMITSCANS);
    if (result != 0) {
        const std::string why = tjGetErrorStr2(jpeg.handle);
        if (tjGetErrorCode(jpeg.handle) != TJERR_WARNING) {
            *problem = "could not be decoded: " + why;
            return false;
        }
        // A warning: the data was cut short or damaged, and what decoded is there.
        *problem = "truncated or damaged (" + why + ")";
    }
    if (cmyk) {
        CmykToRgb(*picture);
    }
    return true;
}
