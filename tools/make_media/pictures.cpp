// The sample pictures: each labelled with what it is, shaped for the quad
// that shows it, with real transparency where the scenes use the alpha test.
#include <turbojpeg.h>
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "media.h"
#include "media/png_encoder.h"

namespace {

const char* const FontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

struct Colour {
    Uint8 r, g, b, a;
};

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
using Font = std::unique_ptr<TTF_Font, decltype(&TTF_CloseFont)>;

// A canvas whose bytes are R, G, B, A in memory, as the image library takes them.
Surface NewCanvas(int width, int height, Colour fill) {
    Surface canvas(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ABGR8888), SDL_FreeSurface);
    if (canvas) {
        SDL_SetSurfaceBlendMode(canvas.get(), SDL_BLENDMODE_NONE);
        SDL_FillRect(canvas.get(), nullptr, SDL_MapRGBA(canvas->format, fill.r, fill.g, fill.b, fill.a));
    }
    return canvas;
}

void FillRect(SDL_Surface* canvas, int x, int y, int w, int h, Colour c) {
    SDL_Rect rect{x, y, w, h};
    SDL_FillRect(canvas, &rect, SDL_MapRGBA(canvas->format, c.r, c.g, c.b, c.a));
}

// Writes a disc (or a ring between two radii) of one colour, alpha included.
void FillDisc(SDL_Surface* canvas, int cx, int cy, int outer, int inner, Colour c) {
    const Uint32 value = SDL_MapRGBA(canvas->format, c.r, c.g, c.b, c.a);
    for (int y = std::max(0, cy - outer); y < std::min(canvas->h, cy + outer + 1); ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(canvas->pixels) + y * canvas->pitch);
        for (int x = std::max(0, cx - outer); x < std::min(canvas->w, cx + outer + 1); ++x) {
            const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            if (d2 <= outer * outer && d2 >= inner * inner) {
                row[x] = value;
            }
        }
    }
}

// Vertical gradient between two colours, opaque.
void Gradient(SDL_Surface* canvas, Colour top, Colour bottom) {
    for (int y = 0; y < canvas->h; ++y) {
        const float t = static_cast<float>(y) / static_cast<float>(canvas->h - 1);
        Colour c{static_cast<Uint8>(top.r + (bottom.r - top.r) * t), static_cast<Uint8>(top.g + (bottom.g - top.g) * t),
                 static_cast<Uint8>(top.b + (bottom.b - top.b) * t), 255};
        FillRect(canvas, 0, y, canvas->w, 1, c);
    }
}

// Draws text centred on (cx, cy). With `replace`, the text's pixels are
// written as they are, alpha included, instead of blended over the canvas.
bool Text(SDL_Surface* canvas, const std::string& text, int size, int cx, int cy, Colour c, bool replace = false) {
    Font font(TTF_OpenFont(FontPath, size), TTF_CloseFont);
    if (!font) {
        return false;
    }
    SDL_Color colour{c.r, c.g, c.b, 255};
    Surface rendered(TTF_RenderUTF8_Blended(font.get(), text.c_str(), colour), SDL_FreeSurface);
    if (!rendered) {
        return false;
    }
    SDL_Rect at{cx - rendered->w / 2, cy - rendered->h / 2, rendered->w, rendered->h};
    if (replace) {
        // Hard-edged text of alpha c.a: pixels more than half covered are text.
        Surface converted(SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ABGR8888, 0), SDL_FreeSurface);
        const Uint32 value = SDL_MapRGBA(canvas->format, c.r, c.g, c.b, c.a);
        for (int y = 0; y < converted->h; ++y) {
            const Uint8* src = static_cast<const Uint8*>(converted->pixels) + y * converted->pitch;
            const int dy = at.y + y;
            if (dy < 0 || dy >= canvas->h) {
                continue;
            }
            Uint32* dst = reinterpret_cast<Uint32*>(static_cast<Uint8*>(canvas->pixels) + dy * canvas->pitch);
            for (int x = 0; x < converted->w; ++x) {
                const int dx = at.x + x;
                if (dx >= 0 && dx < canvas->w && src[x * 4 + 3] > 127) {
                    dst[dx] = value;
                }
            }
        }
        return true;
    }
    SDL_SetSurfaceBlendMode(rendered.get(), SDL_BLENDMODE_BLEND);
    return SDL_BlitSurface(rendered.get(), nullptr, canvas, &at) == 0;
}

// A labelled, opaque picture: a gradient, a frame, a title and the file name.
Surface Photo(int width, int height, Colour top, Colour bottom, const std::string& title, const std::string& name) {
    Surface canvas = NewCanvas(width, height, top);
    Gradient(canvas.get(), top, bottom);
    const int border = width / 40;
    const Colour white{255, 255, 255, 255};
    FillRect(canvas.get(), 0, 0, width, border, white);
    FillRect(canvas.get(), 0, height - border, width, border, white);
    FillRect(canvas.get(), 0, 0, border, height, white);
    FillRect(canvas.get(), width - border, 0, border, height, white);
    Text(canvas.get(), title, height / 9, width / 2, height / 2 - height / 14, white);
    Text(canvas.get(), name, height / 22, width / 2, height / 2 + height / 12, white);
    return canvas;
}

// A cut-out figure on a transparent ground. Rings at alpha 0.3, 0.5 and 0.8
// around an opaque body show where the alpha test's references cut.
Surface CutOut(int width, int height, Colour body, const std::string& title, const std::string& name) {
    Surface canvas = NewCanvas(width, height, Colour{0, 0, 0, 0});
    const int cx = width / 2;
    const int cy = height / 2;
    const int r = std::min(width, height) / 2 - 8;
    FillDisc(canvas.get(), cx, cy, r, r * 88 / 100, Colour{body.r, body.g, body.b, 77});
    FillDisc(canvas.get(), cx, cy, r * 88 / 100, r * 76 / 100, Colour{255, 255, 255, 128});
    FillDisc(canvas.get(), cx, cy, r * 76 / 100, r * 64 / 100, Colour{body.r, body.g, body.b, 204});
    FillDisc(canvas.get(), cx, cy, r * 64 / 100, 0, Colour{body.r, body.g, body.b, 255});
    const Colour white{255, 255, 255, 255};
    Text(canvas.get(), title, r / 4, cx, cy - r / 8, white);
    Text(canvas.get(), name, r / 9, cx, cy + r / 5, white);
    return canvas;
}

// Opaque lines of text on a transparent sheet; each line has a shadow of
// alpha 0.5, seen under the lyrics' reference 0.4 only.
Surface LyricsSheet(int size) {
    Surface canvas = NewCanvas(size, size, Colour{0, 0, 0, 0});
    static const char* const lines[] = {
        PictureName(Picture(PictureId::Lyrics)), "dwip this, dwip that",    "the beat goes round",    "eighty-six and three",
        "forty-four and five",  "the logo climbs up high", "the pictures flip along", "we sway from side to side",
        "and on vacation go",   "the credits roll away",   "and then the screen is black", "dwip this",
    };
    const int count = static_cast<int>(sizeof(lines) / sizeof(lines[0]));
    const int step = size / (count + 1);
    for (int i = 0; i < count; ++i) {
        const int y = step * (i + 1);
        Text(canvas.get(), lines[i], step / 2, size / 2 + 4, y + 4, Colour{20, 20, 20, 128}, true);
        Text(canvas.get(), lines[i], step / 2, size / 2, y, Colour{255, 240, 120, 255}, true);
    }
    return canvas;
}

// The tall logo: it passes upward through the view, so it is labelled along
// its whole height.
Surface Logo() {
    const int width = 512;
    const int height = 1280;
    Surface canvas = NewCanvas(width, height, Colour{0, 0, 0, 255});
    Gradient(canvas.get(), Colour{10, 20, 90, 255}, Colour{90, 10, 60, 255});
    const Colour white{255, 255, 255, 255};
    for (int band = 0; band < 5; ++band) {
        if (band == 2) {
            continue;  // the title stands there
        }
        const int y = height - height / 10 - band * height / 5;
        Text(canvas.get(), "LOGO " + std::to_string(band + 1) + "/5", 56, width / 2, y, white);
    }
    Text(canvas.get(), "KX 2007", 110, width / 2, height / 2, Colour{255, 220, 60, 255});
    Text(canvas.get(), PictureName(Picture(PictureId::Logo)), 36, width / 2, height / 2 + 90, white);
    return canvas;
}

Surface Draw(PictureId picture) {
    const int credW = 1080;
    const int credH = 800;
    const std::string name = PictureName(Picture(picture));
    switch (picture) {
    case PictureId::Logo:
        return Logo();
    case PictureId::VekCreds:
        return Photo(credW, credH, {150, 30, 30, 255}, {60, 10, 10, 255}, "Credits 1: Vek", name);
    case PictureId::JubCreds:
        return Photo(credW, credH, {30, 140, 40, 255}, {10, 50, 15, 255}, "Credits 2: Jub", name);
    case PictureId::SnurfelsCreds:
        return Photo(credW, credH, {30, 60, 160, 255}, {10, 20, 60, 255}, "Credits 3: Snurfels", name);
    case PictureId::QuillackCreds:
        return Photo(credW, credH, {160, 140, 20, 255}, {60, 50, 5, 255}, "Credits 4: Quillack", name);
    case PictureId::ZephruntCreds:
        return Photo(credW, credH, {130, 30, 150, 255}, {45, 10, 55, 255}, "Credits 5: Zephrunt", name);
    case PictureId::EndPicture:
        return Photo(credW, credH, {40, 40, 40, 255}, {0, 0, 0, 255}, "THE END", name);
    case PictureId::FlipFrameA:
        return CutOut(1024, 768, {220, 60, 40, 255}, "FLIP A", name);
    case PictureId::FlipFrameB:
        return CutOut(1024, 768, {40, 90, 220, 255}, "FLIP B", name);
    case PictureId::Tuvrel:
        return CutOut(1024, 1024, {40, 170, 90, 255}, "SWAY", name);
    case PictureId::Lyrics:
        return LyricsSheet(1024);
    case PictureId::Background:
        return Photo(1024, 768, {20, 90, 110, 255}, {5, 25, 40, 255}, "KX07 background", name);
    case PictureId::Nerd:
        return Photo(1024, 768, {200, 110, 30, 255}, {90, 40, 10, 255}, "Nerd", name);
    case PictureId::Demoscene:
        return Photo(1024, 768, {30, 160, 160, 255}, {10, 60, 60, 255}, "Demoscene", name);
    case PictureId::Ass:
        return Photo(1024, 1024, {170, 40, 100, 255}, {60, 10, 35, 255}, "Ass", name);
    case PictureId::Vacation1:
        return Photo(1024, 768, {60, 150, 220, 255}, {220, 200, 120, 255}, "Vacation 1", name);
    case PictureId::Vacation2:
        return Photo(1024, 768, {90, 200, 120, 255}, {30, 80, 40, 255}, "Vacation 2", name);
    case PictureId::Vacation3:
        return Photo(1024, 768, {230, 120, 90, 255}, {90, 40, 30, 255}, "Vacation 3", name);
    }
    return Surface(nullptr, SDL_FreeSurface);
}

bool WriteBytes(const std::string& path, const void* bytes, size_t size, std::string* error) {
    std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    const bool ok = file && std::fwrite(bytes, 1, size, file.get()) == size && std::fflush(file.get()) == 0;
    if (!ok) {
        *error = "could not be written";
    }
    return ok;
}

// JPEG through TurboJPEG (quality 90, chroma halved both ways, as cameras do);
// PNG with its alpha through libspng.
bool Save(SDL_Surface* canvas, const std::string& path, bool jpeg, std::string* error) {
    const size_t row = static_cast<size_t>(canvas->w) * 4;
    std::vector<Uint8> pixels(row * canvas->h);
    for (int y = 0; y < canvas->h; ++y) {
        std::memcpy(pixels.data() + y * row, static_cast<Uint8*>(canvas->pixels) + y * canvas->pitch, row);
    }
    if (jpeg) {
        tjhandle encoder = tjInitCompress();
        unsigned char* out = nullptr;
        unsigned long size = 0;
        const bool encoded = encoder && tjCompress2(encoder, pixels.data(), canvas->w, static_cast<int>(row),
                                                    canvas->h, TJPF_RGBA, &out, &size, TJSAMP_420, 90, 0) == 0;
        const bool ok = encoded && WriteBytes(path, out, size, error);
        if (!encoded) {
            *error = "the JPEG encoder failed";
        }
        tjFree(out);
        if (encoder) {
            tjDestroy(encoder);
        }
        return ok;
    }
    std::string problem;
    const EncodedPng png = EncodePng(pixels.data(), canvas->w, canvas->h, 4, "", &problem);
    if (!png.bytes) {
        *error = "the PNG encoder failed: " + problem;
        return false;
    }
    return WriteBytes(path, png.bytes.get(), png.size, error);
}

bool Ready(std::string* error) {
    static bool started = false;
    if (started) {
        return true;
    }
    if (TTF_Init() != 0) {
        *error = std::string("no font rendering: ") + TTF_GetError();
        return false;
    }
    Font probe(TTF_OpenFont(FontPath, 12), TTF_CloseFont);
    if (!probe) {
        *error = std::string("font ") + FontPath + " is missing (Debian package fonts-dejavu-core)";
        return false;
    }
    started = true;
    return true;
}

}  // namespace

bool WritePicture(PictureId picture, const std::string& path, std::string* error) {
    if (!Ready(error)) {
        return false;
    }
    const std::string name = PictureName(Picture(picture));
    Surface canvas = Draw(picture);
    if (!canvas) {
        *error = "no such sample picture";
        return false;
    }
    const bool jpeg = name.size() > 4 && name.substr(name.size() - 4) == ".jpg";
    return Save(canvas.get(), path, jpeg, error);
}
