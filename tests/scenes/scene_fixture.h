// Scenes drawn for real into the program's window, each picture a texture of
// its own solid colour, so that a pixel tells which picture is on screen.
#pragma once

#include <cmath>
#include <cstring>
#include <string>

#include "gl.h"
#include "media/music_clock.h"
#include "scenes/scene_chain.h"
#include "scenes/scenes.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/gl_window.h"

struct Colour {
    unsigned char r, g, b;
    bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& out, const Colour& c) {
    return out << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

const Colour Black{0, 0, 0};

class SceneTest : public GlWindowTest {
public:
    // A texture of the given RGBA texels, sampled without blending them.
    static GLuint TextureOf(int width, int height, const unsigned char* texels) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        return name;
    }

    // A 4 x 4 texture of one colour and alpha.
    static GLuint Solid(Colour c, unsigned char alpha = 255) {
        unsigned char texels[4 * 4 * 4];
        for (int i = 0; i < 16; ++i) {
            texels[i * 4 + 0] = c.r;
            texels[i * 4 + 1] = c.g;
            texels[i * 4 + 2] = c.b;
            texels[i * 4 + 3] = alpha;
        }
        return TextureOf(4, 4, texels);
    }

protected:
    void SetUp() override {
        GlWindowTest::SetUp();
        testing::internal::CaptureStderr();  // the pictures are missing on purpose
        ASSERT_TRUE(Open());
        testing::internal::GetCapturedStderr();
        ResetPresentation();
    }

    void TearDown() override {
        StopGlRecording();
        GlWindowTest::TearDown();
    }

    static void SetPosition(float position) {
        MusicPosition = position;
        SlowClock = position / 200000.0f;
    }

    // The colour at a pixel of the frame just drawn, counted from the bottom left.
    static Colour Pixel(int x, int y) {
        unsigned char rgba[4] = {};
        glReadBuffer(GL_BACK);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return Colour{rgba[0], rgba[1], rgba[2]};
    }

    static Colour Centre() { return Pixel(400, 300); }

    // Pictures drawn since recording started.
    static int CountDraws() {
        int draws = 0;
        for (const auto& call : GlCalls()) {
            draws += call.rfind("glBegin", 0) == 0 ? 1 : 0;
        }
        return draws;
    }

    static float Below(float value) { return std::nextafter(value, 0.0f); }
};
