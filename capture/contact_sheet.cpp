#include "capture/contact_sheet.h"

#include <SDL_ttf.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

#include "capture/progress.h"

namespace {

const uint8_t Backdrop = 24;
const char* const FontPaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/TTF/DejaVuSans.ttf",
};

}  // namespace

SheetLayout LayOutSheet(int tiles, int tileWidth, int tileHeight) {
    SheetLayout layout{};
    layout.columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(tiles))));
    layout.rows = (tiles + layout.columns - 1) / layout.columns;
    layout.tileWidth = tileWidth;
    layout.tileHeight = tileHeight;
    layout.margin = std::max(4, tileWidth / 40);
    layout.labelHeight = std::max(16, tileHeight / 10);
    layout.width = layout.margin + layout.columns * (tileWidth + layout.margin);
    layout.height = layout.margin + layout.rows * (tileHeight + layout.labelHeight + layout.margin);
    return layout;
}

ContactSheet::ContactSheet(const SheetLayout& sheetLayout)
    : layout(sheetLayout), rgb(static_cast<size_t>(sheetLayout.width) * sheetLayout.height * 3, Backdrop) {}

void ContactSheet::Place(int i, const std::vector<uint8_t>& rgba, int width, int height, double seconds) {
    // Area averaging: every pixel of the frame counts in its thumbnail.
    SwsContext* reduce = sws_getContext(width, height, AV_PIX_FMT_RGBA, layout.tileWidth, layout.tileHeight,
                                        AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr, nullptr);
    if (!reduce) {
        return;
    }
    const int stride = width * 4;
    const uint8_t* lastRow = rgba.data() + static_cast<size_t>(height - 1) * stride;
    const int strides[1] = {-stride};
    uint8_t* corner = &rgb[(static_cast<size_t>(layout.TileY(i)) * layout.width + layout.TileX(i)) * 3];
    const int sheetStride = layout.width * 3;
    sws_scale(reduce, &lastRow, strides, 0, height, &corner, &sheetStride);
    sws_freeContext(reduce);
    char text[32];
    Label(i, FormatDuration(seconds, text));
}

void ContactSheet::Label(int i, const char* text) {
    if (!TTF_WasInit() && TTF_Init() != 0) {
        labelProblem = TTF_GetError();
        return;
    }
    TTF_Font* font = nullptr;
    for (const char* path : FontPaths) {
        font = font ? font : TTF_OpenFont(path, layout.labelHeight * 3 / 4);
    }
    if (!font) {
        labelProblem = "no DejaVu Sans font (Debian's fonts-dejavu-core)";
        return;
    }
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text, SDL_Color{235, 235, 235, 255});
    TTF_CloseFont(font);
    SDL_Surface* words = rendered ? SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
    SDL_FreeSurface(rendered);
    if (!words) {
        labelProblem = TTF_GetError();
        return;
    }
    // Centred under the tile, blended onto the backdrop.
    const int left = layout.TileX(i) + (layout.tileWidth - words->w) / 2;
    const int top = layout.TileY(i) + layout.tileHeight + (layout.labelHeight - words->h) / 2;
    for (int y = 0; y < words->h; ++y) {
        for (int x = 0; x < words->w; ++x) {
            const int sx = left + x;
            const int sy = top + y;
            if (sx < 0 || sy < 0 || sx >= layout.width || sy >= layout.height) {
                continue;
            }
            const uint8_t* texel = static_cast<const uint8_t*>(words->pixels) + y * words->pitch + x * 4;
            uint8_t* pixel = &rgb[(static_cast<size_t>(sy) * layout.width + sx) * 3];
            for (int c = 0; c < 3; ++c) {
                pixel[c] = static_cast<uint8_t>((texel[c] * texel[3] + pixel[c] * (255 - texel[3])) / 255);
            }
        }
    }
    SDL_FreeSurface(words);
}
