// Full-screen display modes.
#include "win32_sdl.h"

namespace {

SDL_DisplayMode fullscreenMode{};
bool fullscreenModeSet = false;

// 32 bits per pixel on Windows means 24-bit colour in a 32-bit word.
bool DepthMatches(Uint32 format, DWORD bits) {
    const int depth = SDL_BITSPERPIXEL(format);
    return bits >= 24 ? depth >= 24 : depth == static_cast<int>(bits);
}

bool FindMode(const DEVMODEA& request, SDL_DisplayMode* found) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) {
            continue;
        }
        if ((request.dmFields & DM_PELSWIDTH) && mode.w != static_cast<int>(request.dmPelsWidth)) {
            continue;
        }
        if ((request.dmFields & DM_PELSHEIGHT) && mode.h != static_cast<int>(request.dmPelsHeight)) {
            continue;
        }
        if ((request.dmFields & DM_BITSPERPEL) && !DepthMatches(mode.format, request.dmBitsPerPel)) {
            continue;
        }
        *found = mode;
        return true;
    }
    return false;
}

}  // namespace

namespace win32sdl {
const SDL_DisplayMode* FullscreenDisplayMode() {
    return fullscreenModeSet ? &fullscreenMode : nullptr;
}
}  // namespace win32sdl

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* lpDevMode, DWORD dwFlags) {
    if (!lpDevMode) {
        // Back to the desktop's own mode; SDL restores it when a full-screen
        // window leaves full screen.
        fullscreenModeSet = false;
        win32sdl::LeaveFullscreen();
        win32sdl::Trace("call ChangeDisplaySettingsA restore\n");
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (lpDevMode->dmSize != sizeof(DEVMODEA) || (dwFlags & CDS_FULLSCREEN) == 0) {
        return DISP_CHANGE_FAILED;
    }
    if (!win32sdl::VideoStarted()) {
        return DISP_CHANGE_FAILED;
    }
    SDL_DisplayMode mode;
    if (!FindMode(*lpDevMode, &mode)) {
        return DISP_CHANGE_BADMODE;
    }
    fullscreenMode = mode;
    fullscreenModeSet = true;
    return DISP_CHANGE_SUCCESSFUL;
}
