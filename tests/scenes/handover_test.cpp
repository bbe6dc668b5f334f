// The three scenes in the order the frame loop calls them, across their
// hand-overs: no frame is left empty, each runs once, and the chain runs dry
// one frame after the credits end.
#include "palette.h"
#include "scenes/scene_chain.h"

namespace {

using namespace palette;

class HandoverTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        PaintTextureSet();
    }

    // One pass of the program's chain at a position: which scene drew, 0 when none did.
    static int Pass(float position) {
        SetPosition(position);
        return RunSceneChain();
    }
};

TEST_F(HandoverTest, EachSceneDrawsUntilItsEndFrameAndTheNextTakesTheFollowingFrame) {
    EXPECT_EQ(Pass(0.0f), 1);
    EXPECT_EQ(Centre(), Logo);
    EXPECT_EQ(Pass(3235176.0f), 1) << "the logo draws its own end frame";
    EXPECT_EQ(Centre(), Logo);
    EXPECT_EQ(Pass(3240000.0f), 2);
    EXPECT_EQ(Centre(), FlipA);
    EXPECT_EQ(Pass(21727784.0f), 2) << "the main section draws its own end frame";
    EXPECT_EQ(Centre(), Vacation3);
    EXPECT_EQ(Pass(21730000.0f), 3);
    EXPECT_EQ(Centre(), Credits[0]);
    EXPECT_EQ(Pass(25468056.0f), 3) << "the credits draw their end frame, empty";
    EXPECT_EQ(Centre(), Black);
    StartGlRecording();
    EXPECT_EQ(Pass(25500000.0f), 0) << "the chain has run dry";
    EXPECT_TRUE(GlCalls().empty());
}

TEST_F(HandoverTest, AfterALongInactiveStretchEachSceneStillDrawsOnceInOrder) {
    // The window was minimised: the clock ran on while no scene was called.
    EXPECT_EQ(Pass(30000000.0f), 1);
    EXPECT_EQ(Pass(30000000.0f), 2);
    EXPECT_EQ(Pass(30000000.0f), 3);
    EXPECT_EQ(Pass(30000000.0f), 0);
}

TEST_F(HandoverTest, WhileTheLogoRunsTheLaterScenesDrawNothing) {
    for (float position : {0.0f, 1000000.0f, 2655499.0f, 3000000.0f}) {
        SetPosition(position);
        StartGlRecording();
        EXPECT_EQ(MainSectionScene(), 0);
        EXPECT_EQ(CreditsScene(), 0);
        EXPECT_TRUE(GlCalls().empty());
        StopGlRecording();
        EXPECT_EQ(OpeningLogoScene(), 1);
    }
}

TEST_F(HandoverTest, NoSceneEverBlendsOrSetsAColour) {
    StartGlRecording();
    for (float position : {0.0f, 3235176.0f, 5000000.0f, 10000000.0f, 21727784.0f, 23000000.0f, 25468056.0f}) {
        Pass(position);
    }
    for (const auto& call : GlCalls()) {
        EXPECT_EQ(call.rfind("glColor", 0), std::string::npos) << call;
        EXPECT_EQ(call.rfind("glBlendFunc", 0), std::string::npos) << call;
        EXPECT_NE(call, "glEnable 3042") << "GL_BLEND";
    }
}

}  // namespace

namespace {

// When each picture is first on screen: the order the pictures are decoded
// in, and the moment by which each must be ready.
TEST(FirstMoments, AreTheStartsOfTheScenesAndSpansThatFirstShowEachPicture) {
    const PictureMoments moments = FirstMoments();
    const std::pair<PictureId, float> expected[] = {
        {PictureId::Logo, 0.0f},
        {PictureId::Background, 3235176.0f},   {PictureId::Lyrics, 3235176.0f},
        {PictureId::FlipFrameA, 3235176.0f},   {PictureId::FlipFrameB, 4155176.0f},
        {PictureId::Nerd, 6905176.0f},         {PictureId::Demoscene, 8005176.0f},
        {PictureId::Tuvrel, 9005176.0f},       {PictureId::Ass, 14005176.0f},
        {PictureId::Vacation1, 16005176.0f},   {PictureId::Vacation2, 20505176.0f},
        {PictureId::Vacation3, 21505176.0f},   {PictureId::VekCreds, 21727784.0f},
        {PictureId::JubCreds, 22397784.0f},    {PictureId::SnurfelsCreds, 22997784.0f},
        {PictureId::QuillackCreds, 23597784.0f}, {PictureId::ZephruntCreds, 24197784.0f},
        {PictureId::EndPicture, 24797784.0f},
    };
    for (const auto& [picture, moment] : expected) {
        EXPECT_EQ(moments[PictureIndex(picture)], moment) << Picture(picture).path;
    }
}

}  // namespace
