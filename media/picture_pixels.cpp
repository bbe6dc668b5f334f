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
void ReducePlane(SwsContext* scale, const std::vector<uint8_t>& from, int width, std::vector<uint8_t>& to,
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
    const int c = picture.channels;
    std::vector<uint8_t> upright(picture.data.size());
    for (int y = 0; y < outHeight; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            int sx = 0;
            int sy = 0;
            StoredPosition(orientation, x, y, w, h, &sx, &sy);
            std::memcpy(&upright[(static_cast<size_t>(y) * outWidth + x) * c],
                        &picture.data[(static_cast<size_t>(sy) * w + sx) * c], static_cast<size_t>(c));
        }
    }
    picture.data.swap(upright);
    picture.width = outWidth;
    picture.height = outHeight;
}

void Reduce(Pixels& picture, int width, int height) {
    const int c = picture.channels;
    const size_t count = static_cast<size_t>(picture.width) * picture.height;
    const size_t reducedCount = static_cast<size_t>(width) * height;
    SwsContext* scale = sws_getContext(picture.width, picture.height, AV_PIX_FMT_GRAY8, width, height,
                                       AV_PIX_FMT_GRAY8, SWS_LANCZOS | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!scale) {
        return;
    }
    std::vector<uint8_t> plane(count);
    std::vector<uint8_t> reducedPlane(reducedCount);
    std::vector<uint8_t> reduced(reducedCount * c);
    const bool alpha = c == 4;
    for (int channel = 0; channel < c; ++channel) {
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* p = &picture.data[i * c];
            plane[i] = alpha && channel < 3 ? static_cast<uint8_t>((p[channel] * p[3] + 127) / 255) : p[channel];
        }
        ReducePlane(scale, plane, picture.width, reducedPlane, width);
        for (size_t i = 0; i < reducedCount; ++i) {
            reduced[i * c + channel] = reducedPlane[i];
        }
    }
    sws_freeContext(scale);
    if (alpha) {
        for (size_t i = 0; i < reducedCount; ++i) {
            uint8_t* p = &reduced[i * 4];
            for (int channel = 0; channel < 3; ++channel) {
                p[channel] = p[3] ? static_cast<uint8_t>(std::min(255, (p[channel] * 255 + p[3] / 2) / p[3])) : 0;
            }
        }
    }
    picture.data.swap(reduced);
    picture.width = width;
    picture.height = height;
}

void FlipRows(Pixels& picture) {
    const size_t row = static_cast<size_t>(picture.width) * picture.channels;
    std::vector<uint8_t> swap(row);
    for (int top = 0, bottom = picture.height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = &picture.data[top * row];
        uint8_t* b = &picture.data[bottom * row];
        std::memcpy(swap.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, swap.data(), row);
    }
}
