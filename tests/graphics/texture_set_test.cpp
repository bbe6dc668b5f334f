// The texture set and the off-screen target, on real OpenGL (Mesa).
#include <algorithm>
#include <chrono>
#include <thread>
#include <set>

#include "gl.h"
#include "media/picture_loader.h"
#include "media/picture_upload.h"
#include "tests/support/gl_window.h"
#include "tests/support/picture_fixture.h"

namespace {

GLint TexLevel(GLenum what, GLint level = 0) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}

GLint TexParameter(GLenum what) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
    return value;
}

GLint Integer(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

std::vector<GLuint> ImageTextures() {
    return {LogoTexture,      VekCredsTexture,  JubCredsTexture,  SnurfelsCredsTexture, QuillackCredsTexture,
            ZephruntCredsTexture, EndPictureTexture, FlipFrameA,   FlipFrameB,           TuvrelTexture,
            NerdTexture,      LyricsTexture,    BackgroundTexture, DemosceneTexture,    Vacation1Texture,
            Vacation2Texture, Vacation3Texture, AssTexture};
}

using TextureSetTest = GlWindowTest;

TEST_F(TextureSetTest, LoadsEighteenDistinctTexturesAndFourBlankOnes) {
    UseSampleMedia();
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "") << "every sample picture loads without a word";

    const auto images = ImageTextures();
    const std::set<GLuint> distinct(images.begin(), images.end());
    EXPECT_EQ(distinct.size(), 18u);
    for (int i = 0; i < PictureCount; ++i) {
        EXPECT_EQ(PictureTexture(PictureTable[i].id), images[i]) << "the texture of " << PictureTable[i].path;
    }
    for (GLuint name : images) {
        EXPECT_NE(name, 0u);
        EXPECT_TRUE(glIsTexture(name));
    }

    const GLuint blanks[] = {BlankTexture1, BlankTexture2, BlankTexture3, BlankTexture4};
    for (GLuint blank : blanks) {
        ASSERT_NE(blank, 0u);
        EXPECT_EQ(distinct.count(blank), 0u);
        glBindTexture(GL_TEXTURE_2D, blank);
        EXPECT_EQ(TexLevel(GL_TEXTURE_WIDTH), 512);
        EXPECT_EQ(TexLevel(GL_TEXTURE_HEIGHT), 512);
        EXPECT_EQ(TexLevel(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), blank == BlankTexture4 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    }
    // The fourth has its whole mipmap chain, down to 1 x 1.
    glBindTexture(GL_TEXTURE_2D, BlankTexture4);
    EXPECT_EQ(TexLevel(GL_TEXTURE_WIDTH, 9), 1);
    glBindTexture(GL_TEXTURE_2D, BlankTexture1);
    EXPECT_EQ(TexLevel(GL_TEXTURE_WIDTH, 9), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureSetTest, LeavesTheWindowAsDrawTargetAndTheFixedStateSet) {
    UseSampleMedia();
    ASSERT_TRUE(Open());
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
    EXPECT_EQ(Integer(GL_RENDERBUFFER_BINDING_EXT), static_cast<GLint>(OffscreenDepthBuffer));
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(BlankTexture4));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_EQ(Integer(GL_POINT_SMOOTH_HINT), GL_NICEST);
    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);

    // The target is complete, built on the second blank texture and the depth renderbuffer.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, OffscreenFramebuffer);
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    GLint attached = 0;
    glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &attached);
    EXPECT_EQ(attached, static_cast<GLint>(BlankTexture2));
    glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &attached);
    EXPECT_EQ(attached, static_cast<GLint>(OffscreenDepthBuffer));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    GLint width = 0;
    glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_WIDTH_EXT, &width);
    EXPECT_EQ(width, 512);
}

// The logo at once; every other picture at a moment of its own, from `first` bytes on.
PictureMoments LaterMoments(float first) {
    PictureMoments moments{};
    for (int i = 1; i < PictureCount; ++i) {
        moments[i] = first + 1000.0f * static_cast<float>(i);
    }
    return moments;
}

TEST_F(TextureSetTest, OnlyTheOpeningPictureIsUploadedAtStartTheRestFollowBetweenFrames) {
    UseSampleMedia();
    StartPictureDecoding(600, LaterMoments(1000000.0f));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    const auto atStart = ImageTextures();
    EXPECT_NE(atStart[PictureIndex(PictureId::Logo)], 0u);
    EXPECT_EQ(std::count(atStart.begin(), atStart.end(), 0u), PictureCount - 1) << "the others wait";
    // Frames before any of their moments: each pass uploads within its budget until all are there.
    // About a frame apart, for at most half a minute on a busy machine.
    int passes = 0;
    for (auto now = ImageTextures(); std::count(now.begin(), now.end(), 0u) > 0 && passes < 6000;
         now = ImageTextures()) {
        UploadPictures(0.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ++passes;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "none was late";
    const auto all = ImageTextures();
    EXPECT_EQ(std::set<GLuint>(all.begin(), all.end()).size(), 18u);
    EXPECT_GT(passes, 1) << "spread over frames";
    for (GLuint name : all) {
        EXPECT_TRUE(glIsTexture(name));
    }
}

TEST_F(TextureSetTest, APictureNotReadyAtItsMomentIsWaitedForAndNamed) {
    UseSampleMedia();
    StartPictureDecoding(600, LaterMoments(1000.0f));
    ASSERT_TRUE(Open());
    ASSERT_EQ(NerdTexture, 0u);
    testing::internal::CaptureStderr();
    // A frame at 11500 bytes may show every picture due by then: the ten after the logo, Nerd the last of them.
    UploadPictures(11500.0f);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(NerdTexture, 0u);
    EXPECT_TRUE(glIsTexture(NerdTexture));
    EXPECT_NE(err.find("data/Nerd.jpg: not ready when first shown, at 0.1 s of music; that frame waited "),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("data/Lyrics.png"), std::string::npos) << "due only later: " << err;
}

TEST_F(TextureSetTest, AMissingPictureIsNamedAndTheRestLoad) {
    UseSampleMedia("Nerd.jpg");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "data/Nerd.jpg: missing or unreadable; not shown\n");
    EXPECT_EQ(NerdTexture, 0u);
    const auto images = ImageTextures();
    for (int i = 0; i < PictureCount; ++i) {
        if (i != PictureIndex(PictureId::Nerd)) {
            EXPECT_NE(images[i], 0u) << PictureTable[i].path;
        }
    }
    EXPECT_TRUE(CallLog().empty()) << "no message box";
}

struct DamagedCase {
    const char* name;
    std::string contents;
    const char* line;
};

std::string Be32(uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
}

class DamagedPictureTest : public GlWindowTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedPictureTest, IsNamedOnStandardErrorAndStartUpGoesOn) {
    UseSampleMedia("Demoscene.jpg");
    std::string contents = GetParam().contents;
    if (contents == "TRUNCATE") {
        const std::string whole = ReadFile(std::string(std::getenv("TEST_MEDIA_DIR")) + "/Demoscene.jpg");
        contents = whole.substr(0, whole.size() / 2);
    }
    WriteFile("data/Demoscene.jpg", contents);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind(std::string("data/Demoscene.jpg: ") + GetParam().line, 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_NE(LogoTexture, 0u);
    EXPECT_NE(AssTexture, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedPictureTest,
    ::testing::Values(
        DamagedCase{"empty", "", "empty file; not shown"},
        DamagedCase{"not_a_picture", "GIF89a this is something else", "not a PNG or JPEG picture; not shown"},
        DamagedCase{"truncated", "TRUNCATE", "truncated"},
        DamagedCase{"absurd_size",
                    std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(0x7fffffff) + Be32(0x7fffffff) +
                        std::string("\x08\x06\x00\x00\x00\0\0\0\0", 9),
                    "more than 32768 pixels on a side is more than a picture may have; not shown"}),
    [](const auto& info) { return std::string(info.param.name); });

GLenum GLAPIENTRY IncompleteStatus(GLenum) {
    return GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT;
}

TEST_F(TextureSetTest, AnIncompleteTargetEndsStartUpWithBothMessages) {
    UseSampleMedia();
    auto real = epoxy_glCheckFramebufferStatusEXT;
    epoxy_glCheckFramebufferStatusEXT = IncompleteStatus;
    const bool opened = Open();
    epoxy_glCheckFramebufferStatusEXT = real;
    EXPECT_FALSE(opened);
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"MessageBoxA ERROR|Failed to initialize FBO!|0x30",
                                                   "MessageBoxA ERROR|Initialization Failed.|0x30"}));
    EXPECT_EQ(WindowHandle, nullptr);
    EXPECT_EQ(RenderContext, nullptr);
    ReleaseTextureSet();
}

TEST_F(TextureSetTest, ReleaseDeletesTheTargetThenForgetsTheNamesOnceTheContextIsGone) {
    UseSampleMedia();
    ASSERT_TRUE(Open());
    ASSERT_TRUE(glIsFramebufferEXT(OffscreenFramebuffer));
    ASSERT_TRUE(glIsRenderbufferEXT(OffscreenDepthBuffer));
    ReleaseGraphics();
    EXPECT_FALSE(glIsFramebufferEXT(OffscreenFramebuffer));
    EXPECT_FALSE(glIsRenderbufferEXT(OffscreenDepthBuffer));
    DestroyRenderWindow();
    windowOpen = false;
    ReleaseTextureSet();
    for (GLuint name : ImageTextures()) {
        EXPECT_EQ(name, 0u);
    }
    EXPECT_EQ(BlankTexture4, 0u);
}

struct VariantCase {
    const char* name;
    const char* convertArgs;  // ImageMagick arguments for the picture written
    const char* written;      // its name as ImageMagick writes it, which picks the format
    const char* slot;         // the file of the program's it takes the place of
    GLuint* texture;
    int leftAlpha;  // alpha of the picture's left quarter, -1 where the format keeps none
};

class PictureVariantTest : public GlWindowTest, public ::testing::WithParamInterface<VariantCase> {};

// Pictures a user may drop in: each decodes, upright, with its colours.
TEST_P(PictureVariantTest, LoadsWithItsColours) {
    UseSampleMedia(GetParam().slot);
    // Top half red, bottom half blue; the left quarter of the top with less alpha.
    const std::string source = dir + "/source.png";
    const int alphaPercent = GetParam().leftAlpha < 0 ? 100 : GetParam().leftAlpha * 100 / 255;
    ASSERT_EQ(std::system(("convert -size 64x24 xc:'#ff0000' -size 64x24 xc:'#0000ff' -append -alpha set "
                           "-region 16x24+0+0 -channel A -evaluate set " + std::to_string(alphaPercent) +
                           "% +channel +region " + source).c_str()),
              0);
    const std::string written = dir + "/" + GetParam().written;
    ASSERT_EQ(std::system(("convert " + source + " " + GetParam().convertArgs + " " + written).c_str()), 0);
    ASSERT_EQ(std::rename(written.c_str(), (std::string("data/") + GetParam().slot).c_str()), 0);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "");
    ASSERT_NE(*GetParam().texture, 0u) << err;
    glBindTexture(GL_TEXTURE_2D, *GetParam().texture);
    const GLint width = TexLevel(GL_TEXTURE_WIDTH);
    const GLint height = TexLevel(GL_TEXTURE_HEIGHT);
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    std::vector<unsigned char> texels(static_cast<size_t>(width) * height * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    auto texel = [&](double fx, double fy) {
        const int x = static_cast<int>(fx * width);
        const int y = static_cast<int>(fy * height);
        return &texels[(static_cast<size_t>(y) * width + x) * 4];
    };
    // Row 0 of a texture is the picture's bottom row.
    const unsigned char* bottom = texel(0.75, 0.25);
    const unsigned char* top = texel(0.75, 0.75);
    const bool grey = std::string(GetParam().name).find("grey") != std::string::npos;
    if (grey) {
        EXPECT_GT(top[0], bottom[0] + 20) << "red is lighter than blue in grey";
    } else {
        EXPECT_GT(top[0], 200);
        EXPECT_LT(top[2], 60);
        EXPECT_GT(bottom[2], 200);
        EXPECT_LT(bottom[0], 60);
    }
    EXPECT_EQ(top[3], 255);
    if (GetParam().leftAlpha >= 0) {
        const unsigned char* left = texel(0.1, 0.75);
        EXPECT_NEAR(left[3], GetParam().leftAlpha, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PictureVariantTest,
    ::testing::Values(
        VariantCase{"png_palette_with_transparency", "", "v.png8", "DwipTuvrel.png", &TuvrelTexture, 0},
        VariantCase{"png_grey", "-colorspace Gray -alpha off -define png:color-type=0", "v.png", "DwipTuvrel.png",
                    &TuvrelTexture, -1},
        VariantCase{"png_16_bit", "-depth 16", "v.png64", "DwipTuvrel.png", &TuvrelTexture, 128},
        VariantCase{"png_interlaced", "-interlace PNG", "v.png", "DwipTuvrel.png", &TuvrelTexture, 128},
        VariantCase{"jpeg_progressive", "-alpha off -interlace JPEG -quality 92", "v.jpg", "Nerd.jpg", &NerdTexture,
                    -1},
        VariantCase{"jpeg_grey", "-alpha off -colorspace Gray -quality 92", "v.jpg", "Nerd.jpg", &NerdTexture, -1},
        // Prepared for print: YCCK, with Adobe's inverted ink.
        VariantCase{"jpeg_ycck", "-alpha off -colorspace CMYK -quality 95", "v.jpg", "Nerd.jpg", &NerdTexture, -1},
        // Recognised by its contents, whatever its name.
        VariantCase{"png_named_jpg", "", "v.png", "Nerd.jpg", &NerdTexture, 128}),
    [](const auto& info) { return std::string(info.param.name); });

// The texels of a texture, and the colour at a point of it as the picture
// shows it (x from the left, y from the top, 0 to 1).
class Texels {
public:
    explicit Texels(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        width = TexLevel(GL_TEXTURE_WIDTH);
        height = TexLevel(GL_TEXTURE_HEIGHT);
        data.resize(static_cast<size_t>(width) * height * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
    }
    Rgb At(double x, double y, int* alpha = nullptr) const {
        const int column = static_cast<int>(x * width);
        const int row = height - 1 - static_cast<int>(y * height);  // the texture's row 0 is the bottom
        const unsigned char* t = &data[(static_cast<size_t>(row) * width + column) * 4];
        if (alpha) {
            *alpha = t[3];
        }
        return Rgb{t[0], t[1], t[2]};
    }
    int width = 0;
    int height = 0;
    std::vector<unsigned char> data;
};

// Within what JPEG's compression changes of a solid colour.
bool Near(Rgb a, Rgb b) {
    const int tolerance = 24;
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

const Rgb Red{255, 0, 0};
const Rgb Green{0, 255, 0};
const Rgb Blue{0, 0, 255};
const Rgb Yellow{255, 255, 0};

// Four quadrants: red top left, green top right, blue bottom left, yellow bottom right.
std::vector<uint8_t> Quadrants(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = y < height / 2 ? (x < width / 2 ? Red : Green) : (x < width / 2 ? Blue : Yellow);
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    return rgb;
}

void ExpectUpright(const Texels& texels) {
    EXPECT_PRED2(Near, texels.At(0.25, 0.25), Red) << "top left";
    EXPECT_PRED2(Near, texels.At(0.75, 0.25), Green) << "top right";
    EXPECT_PRED2(Near, texels.At(0.25, 0.75), Blue) << "bottom left";
    EXPECT_PRED2(Near, texels.At(0.75, 0.75), Yellow) << "bottom right";
}

struct OrientationCase {
    int orientation;
    const char* storedBy;  // ImageMagick's operation that stores the upright picture so
};

class OrientationTest : public GlWindowTest, public ::testing::WithParamInterface<OrientationCase> {};

// A camera stores the picture as its sensor saw it and says in EXIF how to turn it.
TEST_P(OrientationTest, AJpegIsShownUprightWhateverItsExifOrientation) {
    UseSampleMedia("Nerd.jpg");
    ASSERT_TRUE(WritePngWithExif(dir + "/upright.png", Quadrants(64, 48), 64, 48, 1));
    ASSERT_EQ(std::system(("convert " + dir + "/upright.png " + GetParam().storedBy +
                           " -quality 95 -sampling-factor 1x1 " + dir + "/stored.jpg").c_str()),
              0);
    WriteFile("data/Nerd.jpg", WithExifSegment(ReadFile(dir + "/stored.jpg"), GetParam().orientation));
    // ImageMagick, turning it by the tag as a photo viewer does, sees the upright picture.
    EXPECT_EQ(RunShell("convert data/Nerd.jpg -auto-orient -format "
                       "'%[fx:p{8,8}.r>0.8&&p{8,8}.g<0.2] %[fx:p{56,40}.r>0.8&&p{56,40}.g>0.8&&p{56,40}.b<0.2]' info:"),
              "1 1")
        << "red top left and yellow bottom right";
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const Texels texels(NerdTexture);
    EXPECT_EQ(texels.width, 64);
    EXPECT_EQ(texels.height, 48);
    ExpectUpright(texels);
}

INSTANTIATE_TEST_SUITE_P(Exif, OrientationTest,
                         ::testing::Values(OrientationCase{1, ""}, OrientationCase{2, "-flop"},
                                           OrientationCase{3, "-rotate 180"}, OrientationCase{4, "-flip"},
                                           OrientationCase{5, "-transpose"}, OrientationCase{6, "-rotate -90"},
                                           OrientationCase{7, "-transverse"}, OrientationCase{8, "-rotate 90"}),
                         [](const auto& info) { return "orientation_" + std::to_string(info.param.orientation); });

TEST_F(TextureSetTest, APngIsTurnedByItsExifChunkToo) {
    UseSampleMedia("DwipTuvrel.png");
    // Stored turned a quarter anticlockwise; orientation 6 says to turn it clockwise.
    ASSERT_TRUE(WritePngWithExif(dir + "/upright.png", Quadrants(64, 48), 64, 48, 1));
    ASSERT_EQ(std::system(("convert " + dir + "/upright.png -rotate -90 " + dir + "/stored.png").c_str()), 0);
    std::vector<uint8_t> stored;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(ReadPng(dir + "/stored.png", &stored, &width, &height));
    ASSERT_TRUE(WritePngWithExif("data/DwipTuvrel.png", stored, width, height, 6));
    ASSERT_TRUE(Open());
    const Texels texels(TuvrelTexture);
    EXPECT_EQ(texels.width, 64);
    ExpectUpright(texels);
}

TEST_F(TextureSetTest, ACmykJpegWithAdobesInvertedInkShowsItsColours) {
    UseSampleMedia("Nerd.jpg");
    ASSERT_TRUE(WriteCmykJpeg("data/Nerd.jpg", Quadrants(64, 48), 64, 48));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ExpectUpright(Texels(NerdTexture));
}

// The screen shows Nerd.jpg at most 362 pixels square at 800 x 600 (a 2 by 2
// quad 4 units away) and DwipTuvrel.png 725 (2 units away).
TEST_F(TextureSetTest, LargePicturesKeepOnlyThePixelsTheScreenCanShow) {
    UseSampleMedia("Nerd.jpg");
    unlink("data/DwipTuvrel.png");
    // A 12-megapixel photo: decoded at an eighth of its size.
    std::vector<uint8_t> photo = Quadrants(4000, 3000);
    ASSERT_TRUE(WritePngWithExif(dir + "/photo.png", photo, 4000, 3000, 1));
    ASSERT_EQ(std::system(("convert " + dir + "/photo.png -quality 90 data/Nerd.jpg").c_str()), 0);
    // A PNG cannot be decoded smaller: it is reduced, its transparency kept.
    ASSERT_EQ(std::system(("convert " + dir + "/photo.png -resize 2400x2400! -alpha set -region 1200x2400+1200+0 "
                           "-channel A -evaluate set 0 +channel +region data/DwipTuvrel.png").c_str()),
              0);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const Texels nerd(NerdTexture);
    EXPECT_EQ(nerd.width, 500);
    EXPECT_EQ(nerd.height, 375);
    ExpectUpright(nerd);

    const Texels tuvrel(TuvrelTexture);
    EXPECT_EQ(tuvrel.width, 725);
    EXPECT_EQ(tuvrel.height, 725);
    int alpha = 0;
    EXPECT_PRED2(Near, tuvrel.At(0.25, 0.25, &alpha), Red);
    EXPECT_EQ(alpha, 255);
    EXPECT_PRED2(Near, tuvrel.At(0.25, 0.75, &alpha), Blue);
    EXPECT_EQ(alpha, 255);
    tuvrel.At(0.75, 0.5, &alpha);
    EXPECT_EQ(alpha, 0) << "the transparent half stays transparent";
    // The last opaque column before the transparent half keeps its colour.
    EXPECT_PRED2(Near, tuvrel.At(361.0 / 725, 0.25, &alpha), Red);
}

struct PartCase {
    const char* name;
    const char* slot;
    GLuint* texture;
    double keep;        // the share of the file kept
    bool damageMiddle;  // bytes overwritten in the middle of the data instead
};

class PartlyDecodedTest : public GlWindowTest, public ::testing::WithParamInterface<PartCase> {};

// As image viewers do: what decodes is shown, and the file is named.
TEST_P(PartlyDecodedTest, ShowsWhatDecodesAndNamesTheFile) {
    const std::string slot = GetParam().slot;
    UseSampleMedia(slot);
    // The top half plain, the bottom half noise: a file of many chunks, as cameras and editors write them.
    ASSERT_TRUE(WritePngWithExif(dir + "/quadrants.png", Quadrants(256, 256), 256, 256, 1));
    const bool jpeg = slot.find(".jpg") != std::string::npos;
    const std::string whole = dir + (jpeg ? "/whole.jpg" : "/whole.png");
    ASSERT_EQ(std::system(("convert " + dir + "/quadrants.png \\( -seed 7 -size 256x128 xc:gray +noise Random \\) "
                           "-geometry +0+128 -composite -quality 90 " + whole).c_str()),
              0);
    std::string bytes = ReadFile(whole);
    if (GetParam().damageMiddle) {
        // Markers that may not stand inside compressed data.
        for (size_t i = bytes.size() * 6 / 10; i < bytes.size() * 6 / 10 + 64; i += 2) {
            bytes[i] = '\xFF';
            bytes[i + 1] = '\x12';
        }
    } else {
        bytes.resize(static_cast<size_t>(bytes.size() * GetParam().keep));
    }
    WriteFile("data/" + slot, bytes);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("data/" + slot + ": truncated or damaged", 0), 0u) << err;
    EXPECT_NE(err.find("; shown as far as it decodes\n"), std::string::npos) << err;
    ASSERT_NE(*GetParam().texture, 0u);
    const Texels texels(*GetParam().texture);
    EXPECT_PRED2(Near, texels.At(0.25, 0.1), Red) << "the top decoded";
    EXPECT_PRED2(Near, texels.At(0.75, 0.1), Green) << "the top decoded";
}

INSTANTIATE_TEST_SUITE_P(Pictures, PartlyDecodedTest,
                         ::testing::Values(PartCase{"jpeg_cut_short", "Nerd.jpg", &NerdTexture, 0.6, false},
                                           PartCase{"jpeg_damaged_data", "Nerd.jpg", &NerdTexture, 1.0, true},
                                           PartCase{"png_cut_short", "DwipTuvrel.png", &TuvrelTexture, 0.6, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A header may claim anything; no allocation follows such a claim.
TEST_F(TextureSetTest, AJpegClaimingAbsurdDimensionsIsLeftOutBeforeAnythingIsDecoded) {
    UseSampleMedia("Nerd.jpg");
    ASSERT_TRUE(WriteSolidPicture(dir + "/small.jpg", Red, 16, 16));
    std::string bytes = ReadFile(dir + "/small.jpg");
    const size_t frame = bytes.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    // Height and width in the frame header: 60000 each.
    bytes[frame + 5] = static_cast<char>(0xEA);
    bytes[frame + 6] = static_cast<char>(0x60);
    bytes[frame + 7] = static_cast<char>(0xEA);
    bytes[frame + 8] = static_cast<char>(0x60);
    WriteFile("data/Nerd.jpg", bytes);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "data/Nerd.jpg: 60000 x 60000 pixels is more than a picture may have; not shown\n");
    EXPECT_EQ(NerdTexture, 0u);
}

}  // namespace
