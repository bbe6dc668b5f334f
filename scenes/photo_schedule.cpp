#include <array>
#include <cmath>

#include "gl.h"
#include "media/picture_table.h"
#include "media/texture_set.h"
#include "scenes/scenes.h"
#include "scenes/draw_picture.h"

namespace {

enum Placement {
    Layer,  // drawn where the photo layer stands
    Own,    // clears depth and stands at its own translation
    Sway,   // as Own, moved along its translation by sin(SlowClock)
};

// No alpha call: the lyrics' reference stays in force.
constexpr float NoReference = 0.0f;

struct PhotoRow {
    float start;  // inclusive, bytes of music
    float end;    // exclusive
    PictureId picture;
    Placement placement;
    float x, y;  // the depth is the picture's distance
    float alphaReference;
};

constexpr int FlipRows = 38;
constexpr int SingleRows = 7;

// A long hold of the first flip frame, then the second for 50000 bytes and
// the first for 100000, in turn, the second last.
constexpr std::array<PhotoRow, FlipRows> FlipAnimation() {
    std::array<PhotoRow, FlipRows> rows{};
    rows[0] = {3235176.0f, 4155176.0f, PictureId::FlipFrameA, Layer, 0.0f, 0.0f, NoReference};
    for (int k = 0; 1 + 2 * k < FlipRows; ++k) {
        const float b = 4155176.0f + 150000.0f * static_cast<float>(k);
        rows[1 + 2 * k] = {b, b + 50000.0f, PictureId::FlipFrameB, Layer, 0.0f, 0.0f, NoReference};
        if (2 + 2 * k < FlipRows) {
            rows[2 + 2 * k] = {b + 50000.0f, b + 150000.0f, PictureId::FlipFrameA, Layer, 0.0f, 0.0f, NoReference};
        }
    }
    return rows;
}

constexpr std::array<PhotoRow, SingleRows> SinglePictures = {{
    {6905176.0f, 8005176.0f, PictureId::Nerd, Own, 0.0f, 0.3f, NoReference},
    {8005176.0f, 9005176.0f, PictureId::Demoscene, Own, 0.0f, 0.3f, NoReference},
    {9005176.0f, 14005176.0f, PictureId::Tuvrel, Sway, 1.0f, 0.3f, 0.6f},
    {14005176.0f, 16005176.0f, PictureId::Ass, Own, 0.0f, 0.0f, 0.6f},
    {16005176.0f, 20505176.0f, PictureId::Vacation1, Own, 0.0f, 0.3f, 0.6f},
    {20505176.0f, 21505176.0f, PictureId::Vacation2, Own, 0.0f, 0.3f, 0.6f},
    {21505176.0f, 21805176.0f, PictureId::Vacation3, Own, 0.0f, 0.3f, 0.6f},
}};

constexpr std::array<PhotoRow, FlipRows + SingleRows> Schedule() {
    std::array<PhotoRow, FlipRows + SingleRows> rows{};
    const auto flips = FlipAnimation();
    for (int i = 0; i < FlipRows; ++i) {
        rows[i] = flips[i];
    }
    for (int i = 0; i < SingleRows; ++i) {
        rows[FlipRows + i] = SinglePictures[i];
    }
    return rows;
}

constexpr std::array<PhotoRow, FlipRows + SingleRows> PhotoSchedule = Schedule();

constexpr bool Contiguous() {
    for (size_t i = 1; i < PhotoSchedule.size(); ++i) {
        if (PhotoSchedule[i].start != PhotoSchedule[i - 1].end) {
            return false;
        }
    }
    return PhotoSchedule.front().start == 3235176.0f && PhotoSchedule.back().end == 21805176.0f;
}
static_assert(Contiguous(), "each row ends where the next starts");

void DrawOwnRow(const PhotoRow& row, float s) {
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (row.alphaReference != NoReference) {
        glAlphaFunc(GL_GREATER, row.alphaReference);
    }
    const float z = -Picture(row.picture).distance;
    if (row.placement == Sway) {
        const float swing = static_cast<float>(std::sin(static_cast<double>(s)));
        glTranslatef(swing * row.x, swing * row.y, z);
    } else {
        glTranslatef(row.x, row.y, z);
    }
    DrawPicture(row.picture);
}

}  // namespace

void DrawPhotoLayer(float p, float s) {
    // Every row is tested; the spans are disjoint, so at most one draws.
    for (const PhotoRow& row : PhotoSchedule) {
        if (row.start <= p && p < row.end) {
            if (row.placement == Layer) {
                DrawPicture(row.picture);
            } else {
                DrawOwnRow(row, s);
            }
        }
    }
}

float FirstPhotoMoment(PictureId picture) {
    for (const PhotoRow& row : PhotoSchedule) {
        if (row.picture == picture) {
            return row.start;
        }
    }
    return -1.0f;
}
