#include "media/picture_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/mp3_fixture.h"

namespace {

std::string Be32(uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
}

// A PNG signature and header claiming a size, followed by `rest`.
std::string PngClaiming(uint32_t width, uint32_t height, const std::string& rest) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(width) + Be32(height) +
           std::string("\x08\x06\x00\x00\x00", 5) + Be32(0) + rest;
}

const std::string PngEnd = std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12);

// A JPEG start, a frame header claiming a size, and an optional end marker.
std::string JpegClaiming(uint16_t width, uint16_t height, bool complete, unsigned char frame = 0xC0) {
    std::string jpeg("\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
    jpeg += std::string("\xff", 1) + static_cast<char>(frame) + std::string("\x00\x11\x08", 3);
    jpeg += static_cast<char>(height >> 8);
    jpeg += static_cast<char>(height & 0xff);
    jpeg += static_cast<char>(width >> 8);
    jpeg += static_cast<char>(width & 0xff);
    jpeg += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    jpeg += std::string(200, '\x55');
    if (complete) {
        jpeg += "\xff\xd9";
    }
    return jpeg;
}

struct CheckCase {
    const char* name;
    std::string contents;  // empty name of a file not written
    PictureCheck::Verdict verdict;
    const char* problem;
};

class PictureCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(PictureCheckTest, NamesWhatIsWrong) {
    const std::string dir = MakeTempDir();
    const std::string path = dir + "/picture";
    if (std::string(GetParam().name) != "missing") {
        WriteFile(path, GetParam().contents);
    }
    const PictureCheck check = CheckPicture(path, 16384);
    EXPECT_EQ(check.verdict, GetParam().verdict);
    EXPECT_NE(check.problem.find(GetParam().problem), std::string::npos) << check.problem;
    std::system(("rm -rf " + dir).c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureCheckTest,
    ::testing::Values(
        CheckCase{"missing", "", PictureCheck::Unreadable, "missing"},
        CheckCase{"empty", "", PictureCheck::Unreadable, "empty"},
        CheckCase{"text", "hello, not a picture", PictureCheck::Unreadable, "not a PNG or JPEG"},
        CheckCase{"png", PngClaiming(640, 480, std::string(100, '\0') + PngEnd), PictureCheck::Fine, ""},
        CheckCase{"png_truncated", PngClaiming(640, 480, std::string(100, '\0')), PictureCheck::Truncated,
                  "truncated"},
        CheckCase{"png_zero", PngClaiming(0, 480, PngEnd), PictureCheck::Unreadable, "0 pixels"},
        CheckCase{"png_absurd", PngClaiming(100000, 100000, PngEnd), PictureCheck::TooLarge, "100000 x 100000"},
        CheckCase{"png_too_many_pixels", PngClaiming(16000, 16000, PngEnd), PictureCheck::TooLarge, "16000"},
        CheckCase{"png_short_header", std::string("\x89PNG\r\n\x1a\n\0\0", 10), PictureCheck::Unreadable,
                  "damaged"},
        CheckCase{"jpeg", JpegClaiming(1024, 768, true), PictureCheck::Fine, ""},
        CheckCase{"jpeg_progressive", JpegClaiming(1024, 768, true, 0xC2), PictureCheck::Fine, ""},
        CheckCase{"jpeg_truncated", JpegClaiming(1024, 768, false), PictureCheck::Truncated, "truncated"},
        CheckCase{"jpeg_no_frame", std::string("\xff\xd8\xff\xe0\x00\x10JFIF", 10), PictureCheck::Truncated,
                  "no frame header"},
        CheckCase{"jpeg_absurd", JpegClaiming(65535, 65535, true), PictureCheck::TooLarge, "65535 x 65535"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureCheck, HoldsTheDriversLimitOnASide) {
    const std::string dir = MakeTempDir();
    WriteFile(dir + "/wide.png", PngClaiming(5000, 10, PngEnd));
    EXPECT_EQ(CheckPicture(dir + "/wide.png", 4096).verdict, PictureCheck::TooLarge);
    const PictureCheck fine = CheckPicture(dir + "/wide.png", 8192);
    EXPECT_EQ(fine.verdict, PictureCheck::Fine);
    EXPECT_EQ(fine.width, 5000);
    EXPECT_EQ(fine.height, 10);
    std::system(("rm -rf " + dir).c_str());
}

}  // namespace
