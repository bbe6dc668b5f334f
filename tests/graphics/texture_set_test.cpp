// The texture set and the off-screen target, on real OpenGL (Mesa).
#include <algorithm>
#include <set>

#include "gl.h"
#include "tests/support/gl_window.h"

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

TEST_F(TextureSetTest, AMissingPictureIsNamedAndTheRestLoad) {
    UseSampleMedia("Nerd.jpg");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Open());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "data/Nerd.jpg: missing or unreadable; not shown\n");
    EXPECT_EQ(NerdTexture, 0u);
    for (GLuint name : ImageTextures()) {
        if (&name != &NerdTexture && name != NerdTexture) {
            EXPECT_NE(name, 0u);
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
    if (contents == "PNG") {
        contents = ReadFile(std::string(std::getenv("TEST_MEDIA_DIR")) + "/Dwip1.png");
    } else if (contents == "TRUNCATE") {
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
        DamagedCase{"png_named_jpg", "PNG", "a PNG picture in a file named .jpg; not shown"},
        DamagedCase{"absurd_size",
                    std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(0x7fffffff) + Be32(0x7fffffff) +
                        std::string("\x08\x06\x00\x00\x00\0\0\0\0", 9),
                    "2147483647 x 2147483647 pixels is more than a texture can hold"}),
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

TEST_F(TextureSetTest, ReleaseAfterTheContextIsGoneMakesNoGlCallAndForgetsTheNames) {
    UseSampleMedia();
    ASSERT_TRUE(Open());
    glDeleteFramebuffersEXT(1, &OffscreenFramebuffer);
    glDeleteRenderbuffersEXT(1, &OffscreenDepthBuffer);
    DestroyRenderWindow();
    windowOpen = false;
    EXPECT_TRUE(ReleaseTextureSet());
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
        VariantCase{"jpeg_grey", "-alpha off -colorspace Gray -quality 92", "v.jpg", "Nerd.jpg", &NerdTexture, -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
