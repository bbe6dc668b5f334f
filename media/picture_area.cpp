#include "media/picture_area.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

ScreenArea AreaOnScreen(const PictureEntry& picture, int pictureHeight) {
    const double pixelsPerUnit = pictureHeight / (2.0 * picture.distance * std::tan(M_PI / 8.0));
    return ScreenArea{static_cast<int>(std::ceil(picture.quad.Width() * pixelsPerUnit)),
                      static_cast<int>(std::ceil(picture.quad.Height() * pixelsPerUnit))};
}

void KeptSize(int width, int height, ScreenArea area, int* keptWidth, int* keptHeight) {
    const int reducedWidth = std::min(width, area.width);
    const int reducedHeight = std::min(height, area.height);
    // Less than that is not worth a filter pass.
    const bool reduce = static_cast<int64_t>(width) * height > 2ll * reducedWidth * reducedHeight;
    *keptWidth = reduce ? reducedWidth : width;
    *keptHeight = reduce ? reducedHeight : height;
}
