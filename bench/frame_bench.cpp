// Frames per second of each scene, beside a bare loop drawing the same quads
// with the same textures, and the CPU time per frame spent outside OpenGL.
//   frame_bench MEDIA_DIR    (run on an X display; vsync is turned off)
#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "gl.h"
#include "app/render_window.h"
#include "bench/bench_util.h"
#include "media/graphics_setup.h"
#include "media/music.h"
#include "media/texture_set.h"
#include "scenes/draw_picture.h"
#include "scenes/scene_chain.h"

namespace {

const double Seconds = 2.0;

// The presentation brought to a position, as the player would have played
// it there, and the chain run until `scene` draws (1 to 3).
void ShowSceneAt(uint64_t position, int scene) {
    ResetPresentation();
    SetMusicClock(position);
    while (RunSceneChain() != scene) {
    }
}

// Frames per second of a frame-drawing function, presented as the loop does.
double Rate(const std::function<void()>& frame) {
    frame();
    glFinish();
    int frames = 0;
    const double start = WallSeconds();
    while (WallSeconds() - start < Seconds) {
        frame();
        SwapBuffers(DeviceContext);
        ++frames;
    }
    glFinish();
    return frames / (WallSeconds() - start);
}

// The same quads, drawn straight, without the scenes' logic.
void BareLogo() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, -1.8f, -LogoDistance);
    DrawTexturedQuad(LogoTexture, LogoQuad);
}

void BareMain(GLuint photo, float x, float y, float z, float reference) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(SpectrumBuffer[1] * 0.8f, SpectrumBuffer[4] * 0.5f, -BackgroundDistance);
    DrawTexturedQuad(BackgroundTexture, UnitQuad);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, SlowClock / 46.0f - 2.0f, -LyricsDistance);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.4f);
    DrawTexturedQuad(LyricsTexture, UnitQuad);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glAlphaFunc(GL_GREATER, reference);
    glTranslatef(x, y, z);
    DrawTexturedQuad(photo, UnitQuad);
    glDisable(GL_ALPHA_TEST);
}

void BareCredits() {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(-0.35f, 0, -CreditsDistance);
    DrawTexturedQuad(JubCredsTexture, CreditsQuad);
}

void Compare(const char* what, uint64_t position, int scene, const std::function<void()>& bare) {
    ShowSceneAt(position, scene);
    // Taken in turns, the better of two each, so that warming up and the
    // machine's other work fall on both alike.
    double sceneRate = 0.0;
    double bareRate = 0.0;
    for (int round = 0; round < 2; ++round) {
        sceneRate = std::max(sceneRate, Rate([] { RunSceneChain(); }));
        bareRate = std::max(bareRate, Rate(bare));
    }
    std::printf("%-34s %8.1f fps   bare loop %8.1f fps   ratio %.3f (target 0.95 or better)\n", what, sceneRate,
                bareRate, sceneRate / bareRate);
}

// GL calls that do nothing, to time what the frame costs outside OpenGL.
void GLAPIENTRY NoClear(GLbitfield) {}
void GLAPIENTRY NoVoid() {}
void GLAPIENTRY NoTranslate(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY NoBind(GLenum, GLuint) {}
void GLAPIENTRY NoEnum(GLenum) {}
void GLAPIENTRY NoTexCoord(GLfloat, GLfloat) {}
void GLAPIENTRY NoAlpha(GLenum, GLclampf) {}
void GLAPIENTRY NoClearColor(GLfloat, GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY NoTexEnv(GLenum, GLenum, GLint) {}

// Puts a stand-in in an entry point's place for as long as it lives.
template <typename Entry>
class StandIn {
public:
    StandIn(Entry& slot, Entry standIn) : slot(slot), saved(slot) { slot = standIn; }
    ~StandIn() { slot = saved; }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

private:
    Entry& slot;
    Entry saved;
};

double MicrosecondsOutsideGl() {
    const StandIn clear(epoxy_glClear, NoClear);
    const StandIn identity(epoxy_glLoadIdentity, NoVoid);
    const StandIn translate(epoxy_glTranslatef, NoTranslate);
    const StandIn bind(epoxy_glBindTexture, NoBind);
    const StandIn begin(epoxy_glBegin, NoEnum);
    const StandIn end(epoxy_glEnd, NoVoid);
    const StandIn texCoord(epoxy_glTexCoord2f, NoTexCoord);
    const StandIn vertex(epoxy_glVertex3f, NoTranslate);
    const StandIn enable(epoxy_glEnable, NoEnum);
    const StandIn disable(epoxy_glDisable, NoEnum);
    const StandIn alpha(epoxy_glAlphaFunc, NoAlpha);
    const StandIn clearColor(epoxy_glClearColor, NoClearColor);
    const StandIn texEnv(epoxy_glTexEnvi, NoTexEnv);

    // The chain in the main section, then sampling the playing music, as every pass does.
    ShowSceneAt(10000000, 2);
    const int frames = 20000;
    const double start = WallSeconds();
    for (int i = 0; i < frames; ++i) {
        RunSceneChain();
        SampleMusic();
        // Back into the main section, whatever the music played meanwhile.
        SetMusicClock(10000000 + 4 * i);
    }
    const double perFrame = (WallSeconds() - start) / frames;
    return perFrame * 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: frame_bench MEDIA_DIR\n");
        return 2;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("vblank_mode", "0", 0);
    const std::string work = "/tmp/frame-bench-" + std::to_string(getpid());
    mkdir(work.c_str(), 0755);
    symlink(argv[1], (work + "/data").c_str());
    chdir(work.c_str());
    if (!CreateRenderWindow("KX 2007 Zandrel - Dwip This", 800, 600, 32, FullscreenMode)) {
        return 1;
    }
    SDL_GL_SetSwapInterval(0);
    StartMusic(WindowHandle);

    std::printf("800 x 600, llvmpipe, vsync off, %.0f s a measurement\n", Seconds);
    Compare("opening logo (rising)", 1000000, 1, BareLogo);
    Compare("main section, flip frame", 5000000, 2, [] { BareMain(FlipFrameA, 0, 0, -PhotoLayerDistance, 0.4f); });
    Compare("main section, swaying picture", 10000000, 2, [] {
        const float swing = static_cast<float>(std::sin(static_cast<double>(SlowClock)));
        BareMain(TuvrelTexture, swing, swing * 0.3f, -Picture(PictureId::Tuvrel).distance, 0.6f);
    });
    Compare("credits", 22500000, 3, BareCredits);
    std::printf("CPU per frame outside OpenGL (scene chain and music sampling): %.2f us (target below 50 us)\n",
                MicrosecondsOutsideGl());

    ReleaseMusic();
    ReleaseGraphics();
    DestroyRenderWindow();
    ReleaseTextureSet();
    unlink((work + "/data").c_str());
    rmdir(work.c_str());
    return 0;
}
