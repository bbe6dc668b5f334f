#include <cmath>

#include "gl.h"
#include "media/texture_set.h"
#include "scenes/scenes.h"
#include "scenes/unit_quad.h"

namespace {

enum Placement {
    Layer,  // drawn where the photo layer stands, (0, 0, -1.5)
    Own,    // clears depth and stands at its own translation
    Sway,   // as Own, moved along its translation by sin(SlowClock)
};

// No alpha call: the lyrics' reference stays in force.
const float NoReference = 0.0f;

struct PhotoRow {
    float start;  // inclusive, bytes of music
    float end;    // exclusive
    const GLuint* texture;
    Placement placement;
    float x, y, z;
    float alphaReference;
};

// Rows 1 to 38: a long hold of the first flip frame, then the second for
// 50000 bytes and the first for 100000, in turn. Then seven single pictures.
const PhotoRow PhotoSchedule[] = {
    {3235176.0f, 4155176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 1
    {4155176.0f, 4205176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 2
    {4205176.0f, 4305176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 3
    {4305176.0f, 4355176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 4
    {4355176.0f, 4455176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 5
    {4455176.0f, 4505176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 6
    {4505176.0f, 4605176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 7
    {4605176.0f, 4655176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 8
    {4655176.0f, 4755176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 9
    {4755176.0f, 4805176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 10
    {4805176.0f, 4905176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 11
    {4905176.0f, 4955176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 12
    {4955176.0f, 5055176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 13
    {5055176.0f, 5105176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 14
    {5105176.0f, 5205176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 15
    {5205176.0f, 5255176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 16
    {5255176.0f, 5355176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 17
    {5355176.0f, 5405176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 18
    {5405176.0f, 5505176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 19
    {5505176.0f, 5555176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 20
    {5555176.0f, 5655176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 21
    {5655176.0f, 5705176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 22
    {5705176.0f, 5805176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 23
    {5805176.0f, 5855176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 24
    {5855176.0f, 5955176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 25
    {5955176.0f, 6005176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 26
    {6005176.0f, 6105176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 27
    {6105176.0f, 6155176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 28
    {6155176.0f, 6255176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 29
    {6255176.0f, 6305176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 30
    {6305176.0f, 6405176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 31
    {6405176.0f, 6455176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 32
    {6455176.0f, 6555176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 33
    {6555176.0f, 6605176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 34
    {6605176.0f, 6705176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 35
    {6705176.0f, 6755176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 36
    {6755176.0f, 6855176.0f, &FlipFrameA, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 37
    {6855176.0f, 6905176.0f, &FlipFrameB, Layer, 0.0f, 0.0f, -1.5f, NoReference},  // 38
    {6905176.0f, 8005176.0f, &NerdTexture, Own, 0.0f, 0.3f, -4.0f, NoReference},  // 39
    {8005176.0f, 9005176.0f, &DemosceneTexture, Own, 0.0f, 0.3f, -4.0f, NoReference},  // 40
    {9005176.0f, 14005176.0f, &TuvrelTexture, Sway, 1.0f, 0.3f, -2.0f, 0.6f},  // 41
    {14005176.0f, 16005176.0f, &AssTexture, Own, 0.0f, 0.0f, -3.0f, 0.6f},  // 42
    {16005176.0f, 20505176.0f, &Vacation1Texture, Own, 0.0f, 0.3f, -3.0f, 0.6f},  // 43
    {20505176.0f, 21505176.0f, &Vacation2Texture, Own, 0.0f, 0.3f, -3.0f, 0.6f},  // 44
    {21505176.0f, 21805176.0f, &Vacation3Texture, Own, 0.0f, 0.3f, -3.0f, 0.6f},  // 45
};

void DrawOwnRow(const PhotoRow& row, float s) {
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (row.alphaReference != NoReference) {
        glAlphaFunc(GL_GREATER, row.alphaReference);
    }
    if (row.placement == Sway) {
        const float swing = static_cast<float>(std::sin(static_cast<double>(s)));
        glTranslatef(swing * row.x, swing * row.y, row.z);
    } else {
        glTranslatef(row.x, row.y, row.z);
    }
    DrawUnitQuad(*row.texture);
}

}  // namespace

void DrawPhotoLayer(float p, float s) {
    // Every row is tested; the spans are disjoint, so at most one draws.
    for (const PhotoRow& row : PhotoSchedule) {
        if (row.start <= p && p < row.end) {
            if (row.placement == Layer) {
                DrawUnitQuad(*row.texture);
            } else {
                DrawOwnRow(row, s);
            }
        }
    }
}
