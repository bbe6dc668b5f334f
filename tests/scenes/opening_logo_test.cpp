#include "palette.h"

namespace {

class OpeningLogoTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        PaintTextureSet();
    }

    // A logo of 64 bands, band k in red k*4, so the centre pixel tells which
    // height of the picture stands in the middle of the screen.
    static GLuint BandedLogo() {
        unsigned char texels[64 * 4];
        for (int k = 0; k < 64; ++k) {
            texels[k * 4 + 0] = static_cast<unsigned char>(k * 4);
            texels[k * 4 + 1] = 0;
            texels[k * 4 + 2] = 0;
            texels[k * 4 + 3] = 255;
        }
        return TextureOf(1, 64, texels);
    }

    static float LoneTranslationY() {
        const auto t = Translations();
        EXPECT_EQ(t.size(), 1u);
        if (t.size() != 1) {
            return NAN;
        }
        EXPECT_EQ(t[0].x, 0.0f);
        EXPECT_EQ(t[0].z, -1.769f);
        return t[0].y;
    }
};

TEST_F(OpeningLogoTest, FirstFrameStandsTheLogoLowAndFillsTheScreen) {
    LogoTexture = BandedLogo();
    StartGlRecording();
    EXPECT_EQ(OpeningLogoScene(), 1);
    EXPECT_EQ(LoneTranslationY(), -2.8f);
    // At the centre, 3.8 of the quad's 5 units lie below: band 48 of 64.
    EXPECT_EQ(Centre().r / 4, 48);
    EXPECT_EQ(Pixel(0, 0).r / 4 < 48, true);
    EXPECT_EQ(Pixel(400, 599).r / 4 > 48, true);
    EXPECT_EQ(GlCalls().front(), "glClear 16640");
}

TEST_F(OpeningLogoTest, RisesOneUnitPerMillionBytes) {
    LogoTexture = BandedLogo();
    SetPosition(1000000.0f);
    StartGlRecording();
    OpeningLogoScene();
    EXPECT_EQ(LoneTranslationY(), 5.0f / 5.0f - 2.8f);
    // One unit higher: a fifth of the picture lower at the centre.
    EXPECT_EQ(Centre().r / 4, 35);
}

TEST_F(OpeningLogoTest, FreezesAtTheFreezePositionWithThatFramesOwnClock) {
    const float freeze = 2655499.0f;
    SetPosition(Below(freeze));
    OpeningLogoScene();
    EXPECT_TRUE(LogoRising);

    SetPosition(freeze + 1000.0f);
    StartGlRecording();
    OpeningLogoScene();
    EXPECT_FALSE(LogoRising);
    EXPECT_EQ(LogoFrozenClock, SlowClock);
    const float frozenY = LoneTranslationY();
    EXPECT_EQ(frozenY, SlowClock / 5.0f - 2.8f);

    // The clock runs on; the logo stays.
    SetPosition(3000000.0f);
    StartGlRecording();
    OpeningLogoScene();
    EXPECT_EQ(LoneTranslationY(), frozenY);
}

TEST_F(OpeningLogoTest, ExactlyTheFreezePositionFreezes) {
    SetPosition(2655499.0f);
    OpeningLogoScene();
    EXPECT_FALSE(LogoRising);
    EXPECT_EQ(LogoFrozenClock, 2655499.0f / 200000.0f);
}

TEST_F(OpeningLogoTest, EndFrameStillDrawsThenTheSceneMakesNoGlCallAtAll) {
    SetPosition(3235176.0f);
    EXPECT_EQ(OpeningLogoScene(), 1);
    EXPECT_EQ(Centre(), palette::Logo);
    EXPECT_TRUE(OpeningLogoLatch);
    EXPECT_FALSE(MainSectionLatch);

    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    StartGlRecording();
    SetPosition(1000.0f);
    EXPECT_EQ(OpeningLogoScene(), 0);
    EXPECT_TRUE(GlCalls().empty());
    StopGlRecording();
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(std::memcmp(before, after, sizeof(before)), 0);
    EXPECT_EQ(Centre(), (Colour{51, 102, 153}));
}

TEST_F(OpeningLogoTest, AFirstCallPastBothThresholdsFreezesDrawsOnceAndEnds) {
    SetPosition(5000000.0f);
    StartGlRecording();
    EXPECT_EQ(OpeningLogoScene(), 1);
    EXPECT_EQ(LoneTranslationY(), 25.0f / 5.0f - 2.8f);
    EXPECT_EQ(CountDraws(), 1);
    EXPECT_TRUE(OpeningLogoLatch);
    EXPECT_FALSE(MainSectionLatch);
}

TEST_F(OpeningLogoTest, JustBelowTheEndTheSceneGoesOn) {
    SetPosition(Below(3235176.0f));
    EXPECT_EQ(OpeningLogoScene(), 1);
    EXPECT_FALSE(OpeningLogoLatch);
    EXPECT_TRUE(MainSectionLatch);
}

TEST_F(OpeningLogoTest, DrawsTheTallQuadWithThePictureStretchedOverIt) {
    StartGlRecording();
    OpeningLogoScene();
    const std::vector<std::string> quad = {"glBindTexture 3553 " + std::to_string(LogoTexture),
                                           "glBegin 7",
                                           "glTexCoord2f 0 0",
                                           "glVertex3f -1 -1 0",
                                           "glTexCoord2f 1 0",
                                           "glVertex3f 1 -1 0",
                                           "glTexCoord2f 1 1",
                                           "glVertex3f 1 4 0",
                                           "glTexCoord2f 0 1",
                                           "glVertex3f -1 4 0",
                                           "glEnd"};
    const std::vector<std::string> tail(GlCalls().end() - quad.size(), GlCalls().end());
    EXPECT_EQ(tail, quad);
    // No state besides the matrix and the bound texture changes.
    for (const auto& call : GlCalls()) {
        EXPECT_EQ(call.rfind("glEnable", 0), std::string::npos) << call;
        EXPECT_EQ(call.rfind("glTexEnv", 0), std::string::npos) << call;
        EXPECT_EQ(call.rfind("glColor", 0), std::string::npos) << call;
    }
}

}  // namespace
