#include "media/picture_pixels.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace {

// Where pixel (x, y) of the upright picture is in the stored one, for a
// stored picture `w` x `h`.
void StoredPosition(int orientation, int x, int y, int w, int h, int* sx, int* sy) {
    switch (orientation) {
    case 2: *sx = w - 1 - x; *sy = y; break;          // mirrored
    case 3: *sx = w - 1 - x; *sy = h - 1 - y; break;  // upside down
    case 4: *sx = x; *sy = h - 1 - y; break;          // mirrored upside down
    case 5: *sx = y; *sy = x; break;                  // transposed
    case 6: *sx = y; *sy = h - 1 - x; break;          // turned a quarter clockwise to be upright
    case 7: *sx = w - 1 - y; *sy = h - 1 - x; break;  // transversed
    case 8: *sx = w - 1 - y; *sy = x; break;          // turned a quarter anticlockwise to be upright
    default: *sx = x; *sy = y; break;
    }
}

// One channel, as a grey plane, scaled on its own: no colour conversion.
void ReducePlane(SwsContext* scale, const PixelBuffer& from, int width, PixelBuffer& to,
                 int toWidth) {
    const uint8_t* source = from.data();
    uint8_t* target = to.data();
    sws_scale(scale, &source, &width, 0, static_cast<int>(from.size() / static_cast<size_t>(width)), &target,
              &toWidth);
}

}  // namespace

void ApplyOrientation(Pixels& picture, int orientation) {
    if (orientation < 2 || orientation > 8) {
        return;
    }
    const bool turned = orientation >= 5;
    const int w = picture.width;
    const int h = picture.height;
    const int outWidth = turned ? h : w;
    const int outHeight = turned ? w : h;
    PixelBuffer upright(picture.data.size());
    for (int y = 0; y < outHeight; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            int sx = 0;
            int sy = 0;
            StoredPosition(orientation, x, y, w, h, &sx, &sy);
            std::memcpy(&upright[(static_cast<size_t>(y) * outWidth + x) * 4],
                        &picture.data[(static_cast<size_t>(sy) * w + sx) * 4], 4);
        }
    }
    picture.data.swap(upright);
    picture.width = outWidth;
    picture.height = outHeight;
    if (turned) {
        std::swap(picture.fullWidth, picture.fullHeight);
    }
}

namespace {

void PremultiplyPixels(uint8_t* rgba, size_t bytes, bool undo) {
    for (size_t i = 0; i < bytes; i += 4) {
        uint8_t* p = rgba + i;
        for (int c = 0; c < 3; ++c) {
            if (!undo) {
                p[c] = static_cast<uint8_t>((p[c] * p[3] + 127) / 255);
            } else {
                p[c] = p[3] ? static_cast<uint8_t>(std::min(255, (p[c] * 255 + p[3] / 2) / p[3])) : 0;
            }
        }
    }
}

// Averages a pair of pixels, each channel rounded up.
void Average(const uint8_t* a, const uint8_t* b, uint8_t* to) {
    for (int c = 0; c < 4; ++c) {
        to[c] = static_cast<uint8_t>((a[c] + b[c] + 1) / 2);
    }
}

// Averages pairs of columns (or rows): a cheap first step of a large reduction.
void Halve(Pixels& picture, bool columns) {
    const int width = columns ? picture.width / 2 : picture.width;
    const int height = columns ? picture.height : picture.height / 2;
    PixelBuffer halved(static_cast<size_t>(width) * height * 4);
    const size_t row = static_cast<size_t>(picture.width) * 4;
    for (int y = 0; y < height; ++y) {
        uint8_t* to = &halved[static_cast<size_t>(y) * width * 4];
        if (columns) {
            HalveRowColumns(&picture.data[y * row], picture.width, 1, false, to);
            continue;
        }
        const uint8_t* upper = &picture.data[2 * y * row];
        for (int x = 0; x < width; ++x) {
            Average(upper + x * 4, upper + row + x * 4, to + x * 4);
        }
    }
    picture.data.swap(halved);
    picture.width = width;
    picture.height = height;
}

}  // namespace

void HalveRowColumns(uint8_t* row, int width, int times, bool premultiply, uint8_t* out) {
    const size_t bytes = static_cast<size_t>(width) * 4;
    if (premultiply) {
        PremultiplyPixels(row, bytes, false);
    }
    if (times == 0) {
        std::memcpy(out, row, bytes);
        return;
    }
    // Every pass but the last averages within the row itself.
    for (int pass = 0; pass < times; ++pass) {
        const int pairs = width / 2;
        uint8_t* to = pass + 1 == times ? out : row;
        for (int x = 0; x < pairs; ++x) {
            Average(row + x * 8, row + x * 8 + 4, to + x * 4);
        }
        width = pairs;
    }
}

int FullWidth(const Pixels& picture) {
    return picture.fullWidth > 0 ? picture.fullWidth : picture.width;
}

int FullHeight(const Pixels& picture) {
    return picture.fullHeight > 0 ? picture.fullHeight : picture.height;
}

void Reduce(Pixels& picture, int width, int height) {
    if (picture.transparent && !picture.premultiplied) {
        PremultiplyPixels(picture.data.data(), picture.data.size(), false);
    }
    while (picture.width >= 2 * width) {
        Halve(picture, true);
    }
    while (picture.height >= 2 * height) {
        Halve(picture, false);
    }
    if (picture.width != width || picture.height != height) {
        SwsContext* scale = sws_getContext(picture.width, picture.height, AV_PIX_FMT_GRAY8, width, height,
                                           AV_PIX_FMT_GRAY8, SWS_LANCZOS | SWS_ACCURATE_RND, nullptr, nullptr,
                                           nullptr);
        if (scale) {
            const size_t count = static_cast<size_t>(picture.width) * picture.height;
            const size_t reducedCount = static_cast<size_t>(width) * height;
            PixelBuffer plane(count);
            PixelBuffer reducedPlane(reducedCount);
            PixelBuffer reduced(reducedCount * 4);
            for (int channel = 0; channel < 4; ++channel) {
                for (size_t i = 0; i < count; ++i) {
                    plane[i] = picture.data[i * 4 + channel];
                }
                ReducePlane(scale, plane, picture.width, reducedPlane, width);
                for (size_t i = 0; i < reducedCount; ++i) {
                    reduced[i * 4 + channel] = reducedPlane[i];
                }
            }
            sws_freeContext(scale);
            picture.data.swap(reduced);
            picture.width = width;
            picture.height = height;
        }
    }
    if (picture.transparent) {
        PremultiplyPixels(picture.data.data(), picture.data.size(), true);
    }
    picture.premultiplied = false;
    picture.fullWidth = 0;
    picture.fullHeight = 0;
}

void FlipRows(Pixels& picture) {
    const size_t row = static_cast<size_t>(picture.width) * 4;
    PixelBuffer swap(row);
    for (int top = 0, bottom = picture.height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = &picture.data[top * row];
        uint8_t* b = &picture.data[bottom * row];
        std::memcpy(swap.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, swap.data(), row);
    }
}
