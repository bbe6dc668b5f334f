#include <windows.h>

#include "app/frame_timer.h"
#include "app/render_window.h"
#include "media/graphics_setup.h"
#include "media/music.h"
#include "media/music_clock.h"
#include "media/picture_loader.h"
#include "media/picture_upload.h"
#include "media/texture_set.h"
#include "scenes/scene_chain.h"

namespace {
const char* const WindowTitle = "KX 2007 Zandrel - Dwip This";
const int WindowWidth = 800;
const int WindowHeight = 600;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MSG msg{};
    bool done = false;

    // The pictures decode on the other cores while the window is made, in
    // the order the show needs them.
    StartPictureDecoding(WindowHeight, FirstMoments());
    if (!CreateRenderWindow(WindowTitle, WindowWidth, WindowHeight, 32, FullscreenMode)) {
        return 1;
    }
    StartMusic(WindowHandle);
    ResetPresentation();

    while (!done) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                done = true;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
                // A tap of Escape shorter than a frame must not be lost to its
                // own key-up, which would otherwise be handled first.
                done = KeyTable[VK_ESCAPE];
            }
        } else {
            // What the coming frame may show is made ready first; the rest
            // goes up a little at a time.
            UploadPictures(MusicPosition);
            if ((WindowActive && !RunSceneChain()) || KeyTable[VK_ESCAPE]) {
                // The frame drawn in this pass is never presented.
                done = true;
            } else {
                SampleMusic();
                SwapBuffers(DeviceContext);
                GlobalFrameTimer.Elapsed();
            }
        }
    }

    ReleaseMusic();
    ReleaseGraphics();
    DestroyRenderWindow();
    ReleaseTextureSet();

    // Escape and the end of the presentation are normal ends too; only a quit
    // message carries a code of its own.
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}
