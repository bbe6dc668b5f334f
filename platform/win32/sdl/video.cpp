#include <cstring>

#include "win32_sdl.h"

namespace win32sdl {

namespace {
bool videoStarted = false;
}

bool DisplayNamed() {
    return SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY") || SDL_getenv("SDL_VIDEODRIVER");
}

bool StartVideo() {
    if (videoStarted) {
        return true;
    }
    // Nothing to connect to: not even tried, so that no driver complains.
    if (!DisplayNamed()) {
        return false;
    }
    // The screen saver stays allowed unless the focused window refuses it,
    // and closing a window is a request the window procedure answers.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    // Drivers that show nothing count as no display, unless asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
                                      std::strcmp(driver, "evdev") == 0);
    if (invisible && !SDL_getenv("SDL_VIDEODRIVER")) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    videoStarted = true;
    return true;
}

void StopVideo() {
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
}

bool VideoStarted() {
    return videoStarted;
}

}  // namespace win32sdl
