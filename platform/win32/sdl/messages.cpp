// The message queue: window-system events become Win32 messages.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "stop_signals.h"
#include "win32_sdl.h"

namespace {

std::deque<MSG>& Queue() {
    static std::deque<MSG> queue;
    return queue;
}

// Where input without a window of its own goes: the focused window, else the first one.
HWND InputWindow() {
    SDL_Window* focused = SDL_GetKeyboardFocus();
    HWND window = focused ? win32sdl::WindowForSdlId(SDL_GetWindowID(focused)) : nullptr;
    return window ? window : win32sdl::FirstWindow();
}

void PostClientSize(HWND window) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window->sdl, &width, &height);
    win32sdl::Post(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

// Back from the task bar: the window is told its size and that it is active again.
void Restore(HWND window) {
    window->minimized = false;
    window->active = false;
    PostClientSize(window);
    win32sdl::SetActive(window, true, true);
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    HWND window = win32sdl::WindowForSdlId(event.windowID);
    if (!window) {
        return;
    }
    switch (event.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
        if (!window->minimized) {
            window->minimized = true;
            window->active = false;
            win32sdl::Post(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
            win32sdl::Post(window, WM_SIZE, SIZE_MINIMIZED, 0);
            SDL_EnableScreenSaver();
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        if (window->minimized) {
            Restore(window);
        }
        break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
        // X11 sends no restore event for a window mapped again after iconifying.
        if (window->minimized && !(SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED)) {
            Restore(window);
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        win32sdl::SetActive(window, true, true);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        win32sdl::SetActive(window, false, true);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        win32sdl::Post(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(event.data1, event.data2));
        break;
    case SDL_WINDOWEVENT_CLOSE:
        win32sdl::Post(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    default:
        break;
    }
}

void TranslateKeyEvent(const SDL_KeyboardEvent& event) {
    HWND window = win32sdl::WindowForSdlId(event.windowID);
    if (!window) {
        window = InputWindow();
    }
    const int vk = win32sdl::VirtualKeyFromSdl(event.keysym.sym);
    if (!window || vk == 0) {
        return;
    }
    const bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    const bool down = event.type == SDL_KEYDOWN;
    // lParam as Win32 packs it: repeat count, scan code, context and transition bits.
    LPARAM lParam = 1 | ((event.keysym.scancode & 0xFF) << 16);
    if (alt) {
        lParam |= 1 << 29;
    }
    if (!down || event.repeat) {
        lParam |= 1 << 30;
    }
    if (!down) {
        lParam |= static_cast<LPARAM>(1u << 31);
    }
    const bool system = alt || vk == VK_F10 || vk == VK_MENU;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    win32sdl::Post(window, message, static_cast<WPARAM>(vk), lParam);
}

void TranslateEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKeyEvent(event.key);
        break;
    case SDL_QUIT: {
        // A termination signal: ask the window to close, as the window manager would.
        HWND window = InputWindow();
        if (window) {
            win32sdl::Post(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    }
    default:
        break;
    }
}

bool Matches(const MSG& msg, HWND hWnd, UINT first, UINT last) {
    if (hWnd && msg.hwnd != hWnd) {
        return false;
    }
    if (first == 0 && last == 0) {
        return true;
    }
    return msg.message >= first && msg.message <= last;
}

}  // namespace

namespace win32sdl {

void Trace(const char* format, ...) {
    static const bool trace = std::getenv("WIN32_SDL_TRACE") != nullptr;
    if (trace) {
        va_list arguments;
        va_start(arguments, format);
        std::vfprintf(stderr, format, arguments);
        va_end(arguments);
    }
}


LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window) || !window->proc) {
        return 0;
    }
    return window->proc(window, message, wParam, lParam);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = SDL_GetTicks();
    Queue().push_back(msg);
}

void DropMessagesFor(HWND window) {
    auto& queue = Queue();
    for (auto it = queue.begin(); it != queue.end();) {
        it = it->hwnd == window ? queue.erase(it) : it + 1;
    }
}

}  // namespace win32sdl

BOOL WINAPI PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) {
        return FALSE;
    }
    // A termination signal ends the loop as a quit message does, with the
    // signal's usual exit code.
    static bool stopPosted = false;
    if (StopSignal() != 0 && !stopPosted) {
        stopPosted = true;
        PostQuitMessage(128 + StopSignal());
    }
    if (win32sdl::VideoStarted()) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            TranslateEvent(event);
        }
    }
    auto& queue = Queue();
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (Matches(*it, hWnd, wMsgFilterMin, wMsgFilterMax)) {
            *lpMsg = *it;
            if (wRemoveMsg & PM_REMOVE) {
                queue.erase(it);
            }
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) {
    // No character messages: the program reads key codes only.
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg || !win32sdl::IsWindow(lpMsg->hwnd)) {
        return 0;
    }
    win32sdl::Trace("message 0x%04x wParam 0x%lx lParam 0x%lx\n", lpMsg->message,
                    static_cast<unsigned long>(lpMsg->wParam), static_cast<unsigned long>(lpMsg->lParam));
    return win32sdl::Send(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (1 << 29))) {
            return win32sdl::Send(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            return win32sdl::Send(hWnd, WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
            if (win32sdl::IsWindow(hWnd)) {
                SDL_MinimizeWindow(hWnd->sdl);
            }
            return 0;
        case SC_SCREENSAVE:
        case SC_MONITORPOWER:
            // Nobody objected: the screen saver and power-saving may start.
            SDL_EnableScreenSaver();
            return 0;
        default:
            return 0;
        }
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    default:
        return 0;
    }
}

void WINAPI PostQuitMessage(int nExitCode) {
    win32sdl::Post(nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0);
}
