#include <tuple>

#include "palette.h"
#include "scenes/scene_chain.h"

namespace {

using namespace palette;

class MainSectionTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        PaintTextureSet();
        MainSectionLatch = false;
    }

    // One main-section frame at a position, as the frame loop would draw it.
    static Colour FrameAt(float position) {
        MainSectionLatch = false;
        SetPosition(position);
        EXPECT_EQ(MainSectionScene(), 1);
        return Centre();
    }
};

struct Boundary {
    float position;
    Colour expected;
    std::string what;
};

// Every start of the photo schedule selects its own row; the largest value
// below it still selects the row before (or nothing before the first).
std::vector<Boundary> ScheduleBoundaries() {
    std::vector<std::tuple<float, Colour, std::string>> rows;
    rows.emplace_back(3235176.0f, FlipA, "row 1");
    for (int k = 0; k <= 18; ++k) {
        rows.emplace_back(4155176.0f + 150000.0f * k, FlipB, "row " + std::to_string(2 + 2 * k));
        if (k < 18) {
            rows.emplace_back(4205176.0f + 150000.0f * k, FlipA, "row " + std::to_string(3 + 2 * k));
        }
    }
    rows.emplace_back(6905176.0f, Nerd, "row 39");
    rows.emplace_back(8005176.0f, Demoscene, "row 40");
    rows.emplace_back(9005176.0f, Tuvrel, "row 41");
    rows.emplace_back(14005176.0f, Ass, "row 42");
    rows.emplace_back(16005176.0f, Vacation1, "row 43");
    rows.emplace_back(20505176.0f, Vacation2, "row 44");
    rows.emplace_back(21505176.0f, Vacation3, "row 45");
    rows.emplace_back(21805176.0f, Background, "after the last row");
    std::vector<Boundary> cases;
    Colour before = Background;
    std::string beforeWhat = "before the first row";
    for (const auto& [start, colour, what] : rows) {
        cases.push_back({std::nextafter(start, 0.0f), before, "below the start of " + what + ": " + beforeWhat});
        cases.push_back({start, colour, what});
        before = colour;
        beforeWhat = what;
    }
    return cases;
}

TEST_F(MainSectionTest, EachBoundaryOfThePhotoScheduleSelectsTheLaterRow) {
    const auto cases = ScheduleBoundaries();
    ASSERT_EQ(cases.size(), 2u * 46);
    for (const Boundary& c : cases) {
        EXPECT_EQ(FrameAt(c.position), c.expected) << c.what << " at " << std::fixed << c.position;
    }
}

TEST_F(MainSectionTest, BackgroundStandsAtRestWithASilentSpectrum) {
    StartGlRecording();
    FrameAt(21805176.0f);
    const auto t = Translations();
    ASSERT_EQ(t.size(), 3u);  // background, lyrics, photo layer
    EXPECT_EQ(t[0].x, 0.0f);
    EXPECT_EQ(t[0].y, 0.0f);
    EXPECT_EQ(t[0].z, -1.8f);
    // It just overfills the view: both edges are covered.
    EXPECT_EQ(Pixel(0, 300), Background);
    EXPECT_EQ(Pixel(799, 300), Background);
    EXPECT_EQ(Pixel(400, 0), Background);
}

TEST_F(MainSectionTest, BinsOneAndFourPushTheBackgroundRightAndUp) {
    for (int bin = 0; bin < 256; ++bin) {
        SpectrumBuffer[bin] = 0.9f;  // no bin but 1 and 4 may count
    }
    SpectrumBuffer[1] = 0.125f;
    SpectrumBuffer[4] = 0.75f;
    StartGlRecording();
    FrameAt(21805176.0f);
    const auto t = Translations();
    ASSERT_GE(t.size(), 1u);
    EXPECT_EQ(t[0].x, 0.125f * 0.8f);
    EXPECT_EQ(t[0].y, 0.75f * 0.5f);
    EXPECT_EQ(t[0].z, -1.8f);
    // Pushed right: black along the left edge; pushed up past 0.254: black along the bottom.
    EXPECT_EQ(Pixel(2, 300), Black);
    EXPECT_EQ(Pixel(799, 300), Background);
    EXPECT_EQ(Pixel(400, 2), Black);
    EXPECT_EQ(Pixel(400, 599), Background);
}

TEST_F(MainSectionTest, LyricsRiseWithTheSlowClock) {
    for (float position : {3235176.0f, 12000000.0f, 21727784.0f}) {
        StartGlRecording();
        FrameAt(position);
        const auto t = Translations();
        ASSERT_GE(t.size(), 2u);
        EXPECT_EQ(t[1].x, 0.0f);
        EXPECT_EQ(t[1].y, SlowClock / 46.0f - 2.0f);
        EXPECT_EQ(t[1].z, -1.65f);
    }
    EXPECT_NEAR(3235176.0f / 200000.0f / 46.0f - 2.0f, -1.6484f, 1e-4);
}

TEST_F(MainSectionTest, AlphaBetweenTheReferencesShowsUnderPointFourButNotUnderPointSix) {
    // Half-transparent lyrics and photographs: alpha 0.5.
    LyricsTexture = Solid(Lyrics, 128);
    FlipFrameA = Solid(FlipA, 128);
    NerdTexture = Solid(Nerd, 128);
    TuvrelTexture = Solid(Tuvrel, 128);
    Vacation3Texture = Solid(Vacation3, 128);
    EXPECT_EQ(FrameAt(21805176.0f), Lyrics) << "no photograph: the lyrics show at 0.4";
    EXPECT_EQ(FrameAt(3235176.0f), FlipA) << "row 1 keeps the lyrics' 0.4";
    EXPECT_EQ(FrameAt(6905176.0f), Nerd) << "row 39 keeps the lyrics' 0.4";
    // The sheet has not yet risen to the centre here: the background shows.
    EXPECT_EQ(FrameAt(9005176.0f), Background) << "row 41 sets 0.6: the photograph is cut away";
    EXPECT_EQ(FrameAt(21505176.0f), Lyrics) << "row 45 sets 0.6";
    // The next frame draws its lyrics with 0.4 again.
    EXPECT_EQ(FrameAt(21805176.0f), Lyrics);
    GLfloat reference = 0.0f;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_FLOAT_EQ(reference, 0.4f);
}

TEST_F(MainSectionTest, LyricsCutAwayBelowTheReferenceShowTheBackground) {
    LyricsTexture = Solid(Lyrics, 90);  // alpha 0.35
    EXPECT_EQ(FrameAt(21805176.0f), Background);
}

TEST_F(MainSectionTest, FrameLeavesTheAlphaTestOffAndTheReferenceAsLastSet) {
    FrameAt(9005176.0f);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLfloat reference = 0.0f;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_FLOAT_EQ(reference, 0.6f);
    GLint function = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
    EXPECT_EQ(function, GL_GREATER);
}

TEST_F(MainSectionTest, TheSwayingPictureFollowsTheSineOfTheSlowClock) {
    struct {
        float s;
        float x, y;
    } cases[] = {{static_cast<float>(15 * M_PI), 0.0f, 0.0f},
                 {static_cast<float>(14.5 * M_PI), 1.0f, 0.3f},
                 {static_cast<float>(15.5 * M_PI), -1.0f, -0.3f}};
    for (const auto& c : cases) {
        StartGlRecording();
        DrawPhotoLayer(9005176.0f, c.s);
        const auto t = Translations();
        ASSERT_EQ(t.size(), 1u);
        const float swing = static_cast<float>(std::sin(static_cast<double>(c.s)));
        EXPECT_EQ(t[0].x, swing * 1.0f);
        EXPECT_EQ(t[0].y, swing * 0.3f);
        EXPECT_EQ(t[0].z, -2.0f);
        EXPECT_NEAR(t[0].x, c.x, 1e-5);
        EXPECT_NEAR(t[0].y, c.y, 1e-5);
    }
    // At the row's first frame it stands near x 0.864, y 0.259.
    StartGlRecording();
    DrawPhotoLayer(9005176.0f, 9005176.0f / 200000.0f);
    EXPECT_NEAR(Translations()[0].x, 0.864f, 0.01f);
    EXPECT_NEAR(Translations()[0].y, 0.259f, 0.01f);
}

TEST_F(MainSectionTest, SinglePicturesStandWhereTheirRowsSay) {
    struct {
        float position;
        float x, y, z;
    } rows[] = {{6905176.0f, 0.0f, 0.3f, -4.0f},  {8005176.0f, 0.0f, 0.3f, -4.0f},  {14005176.0f, 0.0f, 0.0f, -3.0f},
                {16005176.0f, 0.0f, 0.3f, -3.0f}, {20505176.0f, 0.0f, 0.3f, -3.0f}, {21505176.0f, 0.0f, 0.3f, -3.0f}};
    for (const auto& row : rows) {
        StartGlRecording();
        DrawPhotoLayer(row.position, row.position / 200000.0f);
        const auto t = Translations();
        ASSERT_EQ(t.size(), 1u) << row.position;
        EXPECT_EQ(t[0].x, row.x);
        EXPECT_EQ(t[0].y, row.y);
        EXPECT_EQ(t[0].z, row.z);
        EXPECT_EQ(GlCalls()[0], "glClear 256") << "own rows clear the depth buffer first";
    }
    // Rows 39 and 40 fill about 60% of the height, raised by 0.3.
    FrameAt(6905176.0f);
    EXPECT_EQ(Pixel(400, 300), Nerd);
    EXPECT_EQ(Pixel(400, 20), Background);
}

TEST_F(MainSectionTest, AlternationRowsDrawWhereThePhotoLayerStands) {
    StartGlRecording();
    DrawPhotoLayer(4155176.0f, 20.0f);
    EXPECT_TRUE(Translations().empty());
    EXPECT_EQ(CountDraws(), 1);
    EXPECT_EQ(GlCalls()[0], "glBindTexture 3553 " + std::to_string(FlipFrameB));
    StartGlRecording();
    DrawPhotoLayer(21805176.0f, 109.0f);
    DrawPhotoLayer(3235175.75f, 16.0f);
    EXPECT_TRUE(GlCalls().empty()) << "no row: no clear, no alpha change, no drawing";
}

TEST_F(MainSectionTest, EndFrameLatchesHandsOverAndStillDrawsAllThreeLayers) {
    CreditsLatch = true;
    StartGlRecording();
    EXPECT_EQ(FrameAt(21727784.0f), Vacation3);
    EXPECT_TRUE(MainSectionLatch);
    EXPECT_FALSE(CreditsLatch);
    EXPECT_EQ(CountDraws(), 3);

    StartGlRecording();
    EXPECT_EQ(MainSectionScene(), 0);
    EXPECT_TRUE(GlCalls().empty());
}

TEST_F(MainSectionTest, JustBelowTheEndNothingIsHandedOver) {
    CreditsLatch = true;
    FrameAt(21727782.0f);
    EXPECT_FALSE(MainSectionLatch);
    EXPECT_TRUE(CreditsLatch);
}

TEST_F(MainSectionTest, AStalledFramePastTheScheduleEndsWithoutAPhotograph) {
    StartGlRecording();
    EXPECT_EQ(FrameAt(22000000.0f), Background);
    EXPECT_TRUE(MainSectionLatch);
    EXPECT_FALSE(CreditsLatch);
    EXPECT_EQ(CountDraws(), 2);
}

}  // namespace

namespace {

using namespace palette;

struct MissingCase {
    const char* name;
    float position;
    GLuint* texture;  // the picture that did not load
    int x, y;         // a pixel where it would show
    Colour behind;    // what shows there instead
};

class MissingPictureTest : public SceneTest, public ::testing::WithParamInterface<MissingCase> {};

// A picture that did not load is left out: the layer behind it shows, not a
// white quad.
TEST_P(MissingPictureTest, ShowsTheLayerBehind) {
    const MissingCase& c = GetParam();
    PaintTextureSet(255);  // an opaque lyrics sheet
    *c.texture = 0;
    OpeningLogoLatch = c.position >= OpeningLogoEnd;
    MainSectionLatch = !OpeningLogoLatch || c.position >= MainSectionEnd;
    CreditsLatch = c.position < MainSectionEnd;
    SetPosition(c.position);
    ASSERT_TRUE(RunSceneChain());
    EXPECT_EQ(Pixel(c.x, c.y), c.behind);
}

// At 16005276 bytes the lyrics cover the whole view and the first holiday
// photograph its middle.
INSTANTIATE_TEST_SUITE_P(
    Pictures, MissingPictureTest,
    ::testing::Values(MissingCase{"logo", 0.0f, &LogoTexture, 400, 300, Black},
                      MissingCase{"flip_frame", 3235276.0f, &FlipFrameA, 400, 300, Background},
                      MissingCase{"photo", 16005276.0f, &Vacation1Texture, 400, 300, Lyrics},
                      MissingCase{"lyrics", 16005276.0f, &LyricsTexture, 20, 20, Background},
                      MissingCase{"credits_slide", 22000000.0f, &VekCredsTexture, 400, 300, Black}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneTest, ABackgroundThatDidNotLoadLeavesTheClearColourWhereTheLyricsLetItThrough) {
    PaintTextureSet(0);  // a fully transparent lyrics sheet
    BackgroundTexture = 0;
    FlipFrameA = 0;
    MainSectionLatch = false;
    SetPosition(3235176.0f + 100.0f);
    ASSERT_EQ(MainSectionScene(), 1);
    EXPECT_EQ(Centre(), Black);
}

}  // namespace
