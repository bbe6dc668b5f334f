// The program's own window and rendering context for tests that draw, in a
// folder of their own with a data/ folder the test fills.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/render_window.h"
#include "media/graphics_setup.h"
#include "media/picture_table.h"
#include "media/texture_set.h"
#include "tests/fakes/call_log.h"
#include "tests/support/mp3_fixture.h"

class GlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog().clear();
        dir = MakeTempDir();
        ASSERT_FALSE(dir.empty());
        ASSERT_EQ(mkdir((dir + "/data").c_str(), 0755), 0);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }

    void TearDown() override {
        if (windowOpen) {
            ReleaseGraphics();
            DestroyRenderWindow();
        }
        // No OpenGL call: it also stops a decoding that a failed test left behind.
        ReleaseTextureSet();
        chdir("/");
        std::system(("rm -rf " + dir).c_str());
    }

    // Links every sample picture into data/, but those named in `except`.
    void UseSampleMedia(const std::string& except = "") {
        const char* media = std::getenv("TEST_MEDIA_DIR");
        ASSERT_NE(media, nullptr) << "TEST_MEDIA_DIR names the sample media";
        for (const PictureEntry& picture : PictureTable) {
            const std::string name = PictureName(picture);
            if (name != except) {
                ASSERT_EQ(symlink((std::string(media) + "/" + name).c_str(), picture.path), 0);
            }
        }
    }

    bool Open() {
        windowOpen = CreateRenderWindow("test", 800, 600, 32, false);
        return windowOpen;
    }

    std::string dir;
    bool windowOpen = false;
};
