// Windows: creation, destruction, showing, focus and the frame arithmetic.
#include <algorithm>
#include <memory>
#include <vector>

#include "win32_sdl.h"

namespace {

std::vector<std::unique_ptr<HWND__>>& Windows() {
    static std::vector<std::unique_ptr<HWND__>> windows;
    return windows;
}

int cursorCount = 0;

bool IsOverlapped(DWORD style) {
    return (style & WS_POPUP) == 0 && (style & WS_CHILD) == 0;
}

Uint32 SdlFlagsFor(DWORD style, int width, int height) {
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (style & WS_THICKFRAME) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    if (!IsOverlapped(style)) {
        flags |= SDL_WINDOW_BORDERLESS;
        const SDL_DisplayMode* mode = win32sdl::FullscreenDisplayMode();
        // A pop-up covering the mode that was switched to is a full-screen window.
        if (mode && mode->w == width && mode->h == height) {
            flags |= SDL_WINDOW_FULLSCREEN;
        }
    }
    return flags;
}

}  // namespace

namespace win32sdl {

bool IsWindow(HWND window) {
    return window && std::any_of(Windows().begin(), Windows().end(),
                                 [window](const std::unique_ptr<HWND__>& w) { return w.get() == window; });
}

HWND WindowForSdlId(Uint32 id) {
    for (auto& w : Windows()) {
        if (w->sdl && SDL_GetWindowID(w->sdl) == id) {
            return w.get();
        }
    }
    return nullptr;
}

HWND FirstWindow() {
    return Windows().empty() ? nullptr : Windows().front().get();
}

bool ClassInUse(const std::string& className) {
    return std::any_of(Windows().begin(), Windows().end(),
                       [&className](const std::unique_ptr<HWND__>& w) { return w->className == className; });
}

RECT FrameMargins(DWORD style) {
    RECT margins{0, 0, 0, 0};
    if (!IsOverlapped(style)) {
        return margins;
    }
    // Sizes of a standard Windows frame at 96 dpi: sizing border and caption.
    const LONG border = (style & WS_THICKFRAME) ? 8 : 3;
    margins.left = border;
    margins.right = border;
    margins.bottom = border;
    margins.top = border + ((style & WS_CAPTION) == WS_CAPTION ? 23 : 0);
    return margins;
}

void LeaveFullscreen() {
    for (auto& w : Windows()) {
        if (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_FULLSCREEN) {
            SDL_SetWindowFullscreen(w->sdl, 0);
        }
    }
}

void SetActive(HWND window, bool active, bool post) {
    if (!IsWindow(window) || window->active == active) {
        return;
    }
    window->active = active;
    const WPARAM wParam = MAKEWPARAM(active ? WA_ACTIVE : WA_INACTIVE, window->minimized ? 1 : 0);
    if (post) {
        Post(window, WM_ACTIVATE, wParam, 0);
    } else {
        Send(window, WM_ACTIVATE, wParam, 0);
    }
    if (active) {
        // The saver is held off unless the window lets the request through to
        // DefWindowProcA, which allows it again.
        SDL_DisableScreenSaver();
        Post(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        Post(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
    } else {
        SDL_EnableScreenSaver();
    }
}

}  // namespace win32sdl

int WINAPI ShowCursor(BOOL bShow) {
    cursorCount += bShow ? 1 : -1;
    if (win32sdl::VideoStarted()) {
        SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    }
    return cursorCount;
}

BOOL WINAPI AdjustWindowRectEx(RECT* lpRect, DWORD dwStyle, BOOL, DWORD) {
    if (!lpRect) {
        return FALSE;
    }
    const RECT margins = win32sdl::FrameMargins(dwStyle);
    lpRect->left -= margins.left;
    lpRect->top -= margins.top;
    lpRect->right += margins.right;
    lpRect->bottom += margins.bottom;
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND, HMENU, HINSTANCE, LPVOID) {
    WNDPROC proc = win32sdl::ClassProcedure(lpClassName);
    if (!proc || !win32sdl::VideoStarted()) {
        return nullptr;
    }
    // SDL sizes windows by their client area; the frame belongs to the window manager.
    const RECT margins = win32sdl::FrameMargins(dwStyle);
    const int clientWidth = nWidth - margins.left - margins.right;
    const int clientHeight = nHeight - margins.top - margins.bottom;
    if (clientWidth <= 0 || clientHeight <= 0) {
        return nullptr;
    }

    // The visual is fixed when an X window is made, so the pixel format that
    // SetPixelFormat may later pick is requested here already.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    const Uint32 flags = SdlFlagsFor(dwStyle, clientWidth, clientHeight);
    SDL_Window* sdl = SDL_CreateWindow(lpWindowName ? lpWindowName : "", X, Y, clientWidth, clientHeight, flags);
    if (!sdl) {
        return nullptr;
    }
    if (flags & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowDisplayMode(sdl, win32sdl::FullscreenDisplayMode());
    }

    auto window = std::make_unique<HWND__>();
    window->sdl = sdl;
    window->proc = proc;
    window->className = lpClassName;
    window->style = dwStyle;
    window->exStyle = dwExStyle;
    HWND handle = window.get();
    Windows().push_back(std::move(window));

    if (win32sdl::Send(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    win32sdl::Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(clientWidth, clientHeight));
    return handle;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    if (!win32sdl::IsWindow(hWnd)) {
        return FALSE;
    }
    win32sdl::Trace("call DestroyWindow\n");
    win32sdl::Send(hWnd, WM_DESTROY, 0, 0);
    if (hWnd->active) {
        SDL_EnableScreenSaver();
    }
    win32sdl::DropMessagesFor(hWnd);
    SDL_DestroyWindow(hWnd->sdl);
    delete hWnd->dc;
    auto& windows = Windows();
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [hWnd](const std::unique_ptr<HWND__>& w) { return w.get() == hWnd; }),
                  windows.end());
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    if (!win32sdl::IsWindow(hWnd)) {
        return FALSE;
    }
    const BOOL wasVisible = (SDL_GetWindowFlags(hWnd->sdl) & SDL_WINDOW_SHOWN) != 0;
    switch (nCmdShow) {
    case SW_HIDE:
        SDL_HideWindow(hWnd->sdl);
        win32sdl::SetActive(hWnd, false, false);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        SDL_MinimizeWindow(hWnd->sdl);
        break;
    case SW_RESTORE:
        SDL_RestoreWindow(hWnd->sdl);
        break;
    default:
        SDL_ShowWindow(hWnd->sdl);
        win32sdl::Send(hWnd, WM_SHOWWINDOW, TRUE, 0);
        win32sdl::SetActive(hWnd, true, false);
        break;
    }
    return wasVisible;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    if (!win32sdl::IsWindow(hWnd)) {
        return FALSE;
    }
    SDL_RaiseWindow(hWnd->sdl);
    win32sdl::SetActive(hWnd, true, false);
    return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd) {
    if (!win32sdl::IsWindow(hWnd)) {
        return nullptr;
    }
    HWND previous = nullptr;
    for (auto& w : Windows()) {
        if (w->active && w.get() != hWnd) {
            previous = w.get();
        }
    }
    SDL_SetWindowInputFocus(hWnd->sdl);
    win32sdl::Send(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}
