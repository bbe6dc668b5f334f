#include "media/picture_upload.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <numeric>
#include <string>

#include "gl.h"
#include "media/picture_loader.h"
#include "media/texture_set.h"

namespace {

// Most of a frame at 60 Hz stays with the frame.
const double UploadBudgetSeconds = 0.002;
// About 256 KB a band: a fraction of a millisecond each.
const size_t BandBytes = 256 * 1024;

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void ReportPicture(int i, const std::string& problem) {
    std::fprintf(stderr, "%s: %s\n", PictureTable[i].path, problem.c_str());
}

// The picture whose texture is being filled, band by band.
struct Upload {
    int picture = -1;
    DecodedPicture pixels;
    GLuint texture = 0;
    int rows = 0;  // uploaded so far
};

GLint MaxSide = 0;
bool Settled[PictureCount] = {};  // uploaded, or never to be
// The pictures in the order the show first needs them.
int NeedOrder[PictureCount] = {};
Upload Current;

// Starts picture i's texture, or settles it with nothing to show: what is
// wrong with it is told on standard error.
void Begin(int i, DecodedPicture picture) {
    Settled[i] = true;
    if (picture.width == 0 && picture.problem.empty()) {
        return;  // not decoded: the program is stopping
    }
    if (picture.width == 0) {
        ReportPicture(i, picture.problem + "; not shown");
        return;
    }
    if (picture.width > MaxSide || picture.height > MaxSide) {
        ReportPicture(i, std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                             " pixels is more than a texture can hold (at most " + std::to_string(MaxSide) +
                             " on a side); not shown");
        return;
    }
    if (!picture.problem.empty()) {
        ReportPicture(i, picture.problem + "; shown as far as it decodes");
    }
    Settled[i] = false;
    Current = Upload{i, std::move(picture), 0, 0};
    glGenTextures(1, &Current.texture);
    glBindTexture(GL_TEXTURE_2D, Current.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Opaque pictures keep no alpha; every picture arrives as RGBA, which
    // the driver takes fastest.
    const GLint internalFormat = Current.pixels.transparent ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, Current.pixels.width, Current.pixels.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
}

// Fills the current texture band by band until it is whole or `deadline`
// (seconds) has passed; a whole picture becomes its texture.
void Continue(double deadline) {
    if (Current.picture < 0) {
        return;
    }
    const DecodedPicture& pixels = Current.pixels;
    const size_t rowBytes = static_cast<size_t>(pixels.width) * 4;
    const int band = static_cast<int>(std::max<size_t>(1, BandBytes / rowBytes));
    glBindTexture(GL_TEXTURE_2D, Current.texture);
    while (Current.rows < pixels.height && Now() < deadline) {
        const int rows = std::min(band, pixels.height - Current.rows);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, Current.rows, pixels.width, rows, GL_RGBA, GL_UNSIGNED_BYTE,
                        pixels.pixels.data() + rowBytes * static_cast<size_t>(Current.rows));
        Current.rows += rows;
    }
    if (Current.rows == pixels.height) {
        *PictureTextures[Current.picture] = Current.texture;
        Settled[Current.picture] = true;
        Current = Upload{};
    }
}

// Picture i uploaded whole now, waiting for its decoding if need be.
void Finish(int i) {
    if (Current.picture >= 0 && Current.picture != i) {
        Continue(HUGE_VAL);
    }
    if (Current.picture != i) {
        Begin(i, TakeDecodedPicture(i));
    }
    Continue(HUGE_VAL);
}

}  // namespace

void UploadStartPictures() {
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &MaxSide);
    std::iota(std::begin(NeedOrder), std::end(NeedOrder), 0);
    std::stable_sort(std::begin(NeedOrder), std::end(NeedOrder),
                     [](int a, int b) { return PictureMoment(a) < PictureMoment(b); });
    // Every file whose header is wrong is named now, in load order.
    for (int i = 0; i < PictureCount; ++i) {
        const std::string problem = PictureFileProblem(i);
        Settled[i] = !problem.empty();
        if (!problem.empty()) {
            ReportPicture(i, problem + "; not shown");
        }
    }
    for (int i = 0; i < PictureCount; ++i) {
        if (!Settled[i] && PictureMoment(i) <= 0.0f) {
            Finish(i);
        }
    }
}

void UploadPictures(float position) {
    for (int i : NeedOrder) {
        if (PictureMoment(i) > position) {
            break;
        }
        if (Settled[i]) {
            continue;
        }
        const double start = Now();
        Finish(i);
        std::fprintf(stderr, "%s: not ready when first shown, at %.1f s of music; that frame waited %.0f ms\n",
                     PictureTable[i].path, PictureMoment(i) / 176400.0, (Now() - start) * 1000.0);
    }
    const double deadline = Now() + UploadBudgetSeconds;
    for (int i : NeedOrder) {
        if (Now() >= deadline) {
            break;
        }
        DecodedPicture picture;
        if (!Settled[i] && Current.picture != i && Current.picture < 0 && TryTakeDecodedPicture(i, &picture)) {
            Begin(i, std::move(picture));
        }
        if (Current.picture == i) {
            Continue(deadline);
        }
    }
}

void ForgetPictureUploads() {
    std::fill(std::begin(Settled), std::end(Settled), false);
    Current = Upload{};
    MaxSide = 0;
}
