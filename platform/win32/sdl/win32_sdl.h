// Internals shared by the SDL implementation of the Win32 subset.
#pragma once

#include <SDL.h>

#include <string>

#include <windows.h>

struct HWND__ {
    SDL_Window* sdl = nullptr;
    WNDPROC proc = nullptr;
    std::string className;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool active = false;
    bool minimized = false;
    HDC dc = nullptr;
};

struct HDC__ {
    HWND window = nullptr;
    int pixelFormat = 0;
};

struct HGLRC__ {
    SDL_GLContext context = nullptr;
    HWND window = nullptr;
};

namespace win32sdl {

// WIN32_SDL_TRACE=1 lists every dispatched message and the teardown's calls
// on standard error, in printf's way.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whether the environment names a display (X11's or Wayland's) or a video
// driver to use.
bool DisplayNamed();
// Starts SDL's video subsystem once; false where there is no display.
bool StartVideo();
// Stops it again once no window class is left.
void StopVideo();
bool VideoStarted();

// The window procedure of a registered class, null when there is none.
WNDPROC ClassProcedure(const char* className);
// Whether a window of that class still exists.
bool ClassInUse(const std::string& className);

bool IsWindow(HWND window);
HWND WindowForSdlId(Uint32 id);
HWND FirstWindow();
bool IsDeviceContext(HDC dc);

// Calls the window procedure at once, as Win32's SendMessage does.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Appends a message to the thread's queue.
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops queued messages addressed to a window that is gone.
void DropMessagesFor(HWND window);

// Marks the window active or not and tells it, as Win32 does on focus changes.
void SetActive(HWND window, bool active, bool post);

// Nominal border and caption Win32 adds around the client area of a style.
RECT FrameMargins(DWORD style);

// The full-screen mode in force after ChangeDisplaySettingsA, if any.
const SDL_DisplayMode* FullscreenDisplayMode();
// Takes every full-screen window back to the desktop's mode.
void LeaveFullscreen();

// The Windows virtual-key code of an SDL key, 0 when it has none.
int VirtualKeyFromSdl(SDL_Keycode key);

}  // namespace win32sdl
