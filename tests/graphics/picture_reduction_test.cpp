// A large PNG is averaged down as its rows arrive, never held at full width:
// what comes out must be exactly what reducing the whole picture gives. An
// interlaced copy of the same pixels (whose rows cannot be averaged as they
// come) is decoded whole and reduced afterwards, and serves as the measure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "media/picture_decoder.h"
#include "media/png_encoder.h"
#include "tests/support/mp3_fixture.h"

namespace {

struct ReductionCase {
    const char* name;
    int width, height;
    bool alpha;
    ScreenArea area;
};

class PictureReductionTest : public ::testing::TestWithParam<ReductionCase> {
protected:
    void SetUp() override { dir = MakeTempDir(); }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::string dir;
};

TEST_P(PictureReductionTest, AveragingRowsAsTheyArriveGivesTheSamePixelsAsReducingTheWhole) {
    const ReductionCase& c = GetParam();
    const int channels = c.alpha ? 4 : 3;
    // Noise with a gradient under it, and an alpha that runs through every value.
    std::mt19937 random(7);
    std::vector<uint8_t> pixels(static_cast<size_t>(c.width) * c.height * channels);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * c.width + x) * channels];
            for (int k = 0; k < 3; ++k) {
                p[k] = static_cast<uint8_t>((x * 255 / c.width + k * 80 + random() % 64) % 256);
            }
            if (c.alpha) {
                p[3] = static_cast<uint8_t>((x + y) % 256);
            }
        }
    }
    std::string problem;
    const EncodedPng png = EncodePng(pixels.data(), c.width, c.height, channels, "", &problem);
    ASSERT_TRUE(png.bytes) << problem;
    const std::string plain = dir + "/plain.png";
    WriteFile(plain, std::string(static_cast<const char*>(png.bytes.get()), png.size));
    const std::string interlaced = dir + "/interlaced.png";
    ASSERT_EQ(std::system(("convert '" + plain + "' -interlace PNG '" + (c.alpha ? "PNG32:" : "PNG24:") +
                           interlaced + "'").c_str()),
              0);

    const DecodedPicture streamed = DecodePicture(plain, c.area);
    const DecodedPicture whole = DecodePicture(interlaced, c.area);
    ASSERT_EQ(streamed.problem, "");
    ASSERT_EQ(whole.problem, "");
    ASSERT_EQ(streamed.width, whole.width);
    ASSERT_EQ(streamed.height, whole.height);
    EXPECT_LT(streamed.width, c.width) << "reduced";
    EXPECT_EQ(streamed.transparent, c.alpha);
    EXPECT_EQ(streamed.transparent, whole.transparent);
    EXPECT_TRUE(streamed.pixels == whole.pixels) << "the pixels differ";
    // And from memory, as the fuzzers and the browser-less tools read it, the same again.
    EXPECT_TRUE(DecodePictureData(ReadFile(plain), c.area).pixels == whole.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PictureReductionTest,
    ::testing::Values(ReductionCase{"opaque", 3000, 2000, false, {700, 500}},
                      ReductionCase{"transparent_odd_width", 3001, 1999, true, {700, 500}},
                      ReductionCase{"tall_area", 2400, 1800, true, {300, 900}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
