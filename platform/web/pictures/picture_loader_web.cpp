// The eighteen pictures as the browser decodes them (createImageBitmap,
// which turns photos upright by their EXIF orientation), while the page
// loads; kept at the size the native program keeps them at, for the same
// screen area, and handed over as the same RGBA rows from the bottom up.
#include "media/picture_loader.h"

#include <emscripten.h>

#include <string>

#include "media/picture_area.h"
#include "media/picture_table.h"

// The size of a picture, or 0 with `problem` saying why there is none.
EM_JS(int, WebPictureSize, (const char* path, int* width, int* height, char* problem, int problemBytes), {
    const picture = Module["page"].pictures.get(UTF8ToString(path));
    if (!picture || !picture.bitmap) {
        stringToUTF8(picture ? picture.problem : "missing or unreadable", problem, problemBytes);
        return 0;
    }
    HEAP32[width >> 2] = picture.bitmap.width;
    HEAP32[height >> 2] = picture.bitmap.height;
    return 1;
});

// A picture drawn at `width` x `height` with the browser's best filter, its
// rows from the bottom up into `out`; true when some pixel is not opaque.
EM_JS(int, WebPicturePixels, (const char* path, int width, int height, unsigned char* out), {
    const canvas = new OffscreenCanvas(width, height);
    const context = canvas.getContext("2d", {willReadFrequently: true});
    context.imageSmoothingEnabled = true;
    context.imageSmoothingQuality = "high";
    context.drawImage(Module["page"].pictures.get(UTF8ToString(path)).bitmap, 0, 0, width, height);
    const pixels = context.getImageData(0, 0, width, height).data;
    const row = width * 4;
    let transparent = false;
    for (let y = 0; y < height; y++) {
        HEAPU8.set(pixels.subarray(y * row, (y + 1) * row), out + (height - 1 - y) * row);
    }
    for (let a = 3; a < pixels.length && !transparent; a += 4) {
        transparent = pixels[a] !== 255;
    }
    return transparent ? 1 : 0;
});

namespace {
int PictureHeight = 600;
PictureMoments Moments{};
bool Started = false;
}

// The files the page loads before the program starts, one a line.
extern "C" EMSCRIPTEN_KEEPALIVE const char* WebPicturePaths() {
    static std::string paths;
    if (paths.empty()) {
        for (const PictureEntry& picture : PictureTable) {
            paths += paths.empty() ? picture.path : std::string("\n") + picture.path;
        }
    }
    return paths.c_str();
}

// The music file the page loads.
extern "C" EMSCRIPTEN_KEEPALIVE const char* WebMusicPath() {
    return MusicPath;
}

// The page has decoded every picture before the program starts: only the
// reduction to the kept size is left, done when the picture is taken.
void StartPictureDecoding(int pictureHeight, const PictureMoments& moments) {
    if (!Started) {
        Started = true;
        PictureHeight = pictureHeight;
        Moments = moments;
    }
}

float PictureMoment(int i) {
    return Moments[i];
}

std::string PictureFileProblem(int i) {
    int width = 0;
    int height = 0;
    char problem[256] = {};
    return WebPictureSize(PictureTable[i].path, &width, &height, problem, sizeof(problem)) ? "" : problem;
}

DecodedPicture TakeDecodedPicture(int i) {
    DecodedPicture picture;
    int width = 0;
    int height = 0;
    char problem[256] = {};
    const char* path = PictureTable[i].path;
    if (!WebPictureSize(path, &width, &height, problem, sizeof(problem))) {
        picture.problem = problem;
        return picture;
    }
    KeptSize(width, height, AreaOnScreen(PictureTable[i], PictureHeight), &picture.width, &picture.height);
    picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4);
    picture.transparent = WebPicturePixels(path, picture.width, picture.height, picture.pixels.data()) != 0;
    return picture;
}

bool TryTakeDecodedPicture(int i, DecodedPicture* picture) {
    *picture = TakeDecodedPicture(i);
    return true;
}

void DecodeInBackground() {}

void StopPictureDecoding() {
    Started = false;
}
