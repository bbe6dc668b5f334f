#include "palette.h"

namespace {

using namespace palette;

class CreditsTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        PaintTextureSet();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }

    static Colour FrameAt(float position) {
        CreditsLatch = false;
        SetPosition(position);
        EXPECT_EQ(CreditsScene(), 1);
        return Centre();
    }

    static GLint EnvMode() {
        GLint mode = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        return mode;
    }
};

TEST_F(CreditsTest, EachSlideBoundarySelectsTheLaterSlide) {
    const float starts[] = {21727784.0f, 22397784.0f, 22997784.0f, 23597784.0f, 24197784.0f, 24797784.0f};
    Colour before = Black;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(FrameAt(Below(starts[i])), before) << "below slide " << i + 1;
        EXPECT_EQ(FrameAt(starts[i]), Credits[i]) << "slide " << i + 1;
        before = Credits[i];
    }
    EXPECT_EQ(FrameAt(Below(25468056.0f)), Credits[5]);
    EXPECT_FALSE(CreditsLatch);
    EXPECT_EQ(FrameAt(25468056.0f), Black) << "the end frame shows no slide";
    EXPECT_TRUE(CreditsLatch);
}

TEST_F(CreditsTest, SlidesFillTheWholeViewFromTheWideQuad) {
    StartGlRecording();
    FrameAt(22000000.0f);
    const auto t = Translations();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].x, -0.35f);
    EXPECT_EQ(t[0].y, 0.0f);
    EXPECT_EQ(t[0].z, -2.41f);
    for (const auto& corner : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}}) {
        EXPECT_EQ(Pixel(corner.first, corner.second), Credits[0]);
    }
    EXPECT_NE(std::find(GlCalls().begin(), GlCalls().end(), "glVertex3f 1.70000005 1 0"), GlCalls().end());
}

TEST_F(CreditsTest, DrawsTexelsAsTheyAreEvenUnderAColour) {
    glColor4f(0.5f, 0.0f, 0.0f, 1.0f);  // would darken a modulated texture
    EXPECT_EQ(FrameAt(22000000.0f), Credits[0]);
    EXPECT_EQ(EnvMode(), GL_REPLACE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

TEST_F(CreditsTest, WaitingOrEndedTheSceneMakesNoGlCallAndLeavesTheTextureModeAlone) {
    CreditsLatch = true;
    StartGlRecording();
    EXPECT_EQ(CreditsScene(), 0);
    EXPECT_TRUE(GlCalls().empty());
    EXPECT_EQ(EnvMode(), GL_MODULATE);

    FrameAt(25468056.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    StartGlRecording();
    EXPECT_EQ(CreditsScene(), 0);
    EXPECT_TRUE(GlCalls().empty());
    EXPECT_EQ(EnvMode(), GL_MODULATE);
}

TEST_F(CreditsTest, AFirstCallPastTheEndDrawsOnlyTheClearedScreenAndEnds) {
    StartGlRecording();
    EXPECT_EQ(FrameAt(30000000.0f), Black);
    EXPECT_EQ(CountDraws(), 0);
    EXPECT_TRUE(CreditsLatch);
}

TEST_F(CreditsTest, OnlyThePositionEndsTheScene) {
    // Music that stopped short: the slide stays as long as the position does.
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(FrameAt(24000000.0f), Credits[3]);
        EXPECT_FALSE(CreditsLatch);
    }
}

TEST_F(CreditsTest, TheEndIs25468056Bytes) {
    EXPECT_EQ(CreditsEnd, 25468056.0);
    FrameAt(25468054.0f);
    EXPECT_FALSE(CreditsLatch);
    FrameAt(25468056.0f);
    EXPECT_TRUE(CreditsLatch);
}

struct EndCase {
    double end;
    float position;
    bool ends;
};

class CreditsEndTest : public CreditsTest, public ::testing::WithParamInterface<EndCase> {
protected:
    void TearDown() override {
        CreditsEnd = 25468056.0;
        CreditsTest::TearDown();
    }
};

// The end is a double and the position is widened to meet it: an end between
// two single-precision values is neither rounded to one of them nor cut to
// a whole byte.
TEST_P(CreditsEndTest, ThePositionIsComparedWithTheEndAsADouble) {
    CreditsEnd = GetParam().end;
    FrameAt(GetParam().position);
    EXPECT_EQ(CreditsLatch, GetParam().ends) << "end " << GetParam().end << ", position " << GetParam().position;
}

INSTANTIATE_TEST_SUITE_P(
    Ends, CreditsEndTest,
    ::testing::Values(EndCase{25468056.5, 25468056.0f, false},  // as a float or a whole byte it would end here
                      EndCase{25468057.0, 25468056.0f, false},  // as a float, 25468056: it would end here
                      EndCase{25468055.5, 25468056.0f, true}, EndCase{25468056.0, 25468056.0f, true}),
    [](const auto& info) { return "case_" + std::to_string(info.index); });

}  // namespace
