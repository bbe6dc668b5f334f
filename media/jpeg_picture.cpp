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

// The smallest size the decoder makes (1/8, 1/4, 3/8, 1/2 ... 7/8 of the
// picture, or all of it) that still covers the area: the less it decodes,
// the less memory it fills.
tjscalingfactor ScaleFor(int width, int height, ScreenArea area) {
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    tjscalingfactor best{1, 1};
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        const bool smaller = f.num * best.denom < best.num * f.denom;
        if (f.num <= f.denom && smaller && TJSCALED(width, f) >= area.width && TJSCALED(height, f) >= area.height) {
            best = f;
        }
    }
    return best;
}

// CMYK as stored by print software (Adobe's inverted convention, which every
// browser assumes): 255 is no ink.
void CmykToRgba(Pixels& picture) {
    for (size_t i = 0; i < picture.data.size(); i += 4) {
        uint8_t* p = &picture.data[i];
        const int k = p[3];
        for (int c = 0; c < 3; ++c) {
            p[c] = static_cast<uint8_t>(p[c] * k / 255);
        }
        p[3] = 255;
    }
}

// The header's size and colour space; false with `problem` set when it
// cannot be read or claims more than a picture may have.
bool ReadHeader(TurboJpeg& jpeg, std::string_view bytes, int* width, int* height, int* colourspace,
                std::string* problem) {
    int subsampling = 0;
    if (!jpeg.handle || tjDecompressHeader3(jpeg.handle, reinterpret_cast<const unsigned char*>(bytes.data()),
                                            bytes.size(), width, height, &subsampling, colourspace) != 0) {
        *problem = std::string("damaged JPEG header: ") + tjGetErrorStr2(jpeg.handle);
        return false;
    }
    if (static_cast<int64_t>(*width) * *height > MaxClaimedPixels) {
        *problem = std::to_string(*width) + " x " + std::to_string(*height) + " pixels is more than a picture may have";
        return false;
    }
    return true;
}

}  // namespace

bool CheckJpegHeader(std::string_view bytes, std::string* problem) {
    TurboJpeg jpeg;
    int width = 0;
    int height = 0;
    int colourspace = 0;
    return ReadHeader(jpeg, bytes, &width, &height, &colourspace, problem);
}

bool DecodeJpeg(std::string_view bytes, ScreenArea area, Pixels* picture, std::string* problem) {
    TurboJpeg jpeg;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int width = 0;
    int height = 0;
    int colourspace = 0;
    if (!ReadHeader(jpeg, bytes, &width, &height, &colourspace, problem)) {
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
    picture->transparent = false;
    picture->data.assign(static_cast<size_t>(picture->width) * picture->height * 4, 0);
    // Four bytes a pixel upload fastest. At most 500 progressive scans: a
    // crafted file cannot make decoding endless.
    const int result = tjDecompress2(jpeg.handle, data, bytes.size(), picture->data.data(), picture->width, 0,
                                     picture->height, cmyk ? TJPF_CMYK : TJPF_RGBA, TJFLAG_LIMITSCANS);
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
        CmykToRgba(*picture);
    }
    return true;
}
