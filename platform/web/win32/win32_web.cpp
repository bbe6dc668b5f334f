// The Win32 subset the program calls, in a web page: the window is the
// page's canvas, key, visibility and full-screen events become the same
// messages, message boxes are dialogs in the page, and the buffer swap hands
// the frame to the browser, waiting for its next one (the program's blocking
// loop runs on, suspended between frames by Asyncify).
#include <windows.h>

#include <emscripten.h>

#include <cstring>
#include <deque>
#include <map>
#include <string>

#include "gl.h"

struct HWND__ {
    WNDPROC proc = nullptr;
    HDC dc = nullptr;
};
struct HDC__ {
    HWND window = nullptr;
};
struct HGLRC__ {};
struct HINSTANCE__ {};
struct HICON__ {};

// The page's side: its canvas, its events and its dialogs (page.js).
EM_JS(int, WebIsFullscreen, (), { return document.fullscreenElement ? 1 : 0; });

EM_JS(void, WebLeaveFullscreen, (), {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
});

EM_JS(void, WebShowCursor, (int show), { Module["canvas"].style.cursor = show ? "" : "none"; });

EM_JS(void, WebOpenWindow, (), { Module["page"].openWindow(); });

EM_JS(void, WebCloseWindow, (), { Module["page"].closeWindow(); });

// The next message the page queued: message, wParam and lParam; false when none.
EM_JS(int, WebNextEvent, (unsigned* message, unsigned* wParam, int* lParam), {
    const event = Module["page"].events.shift();
    if (!event) return 0;
    HEAPU32[message >> 2] = event[0];
    HEAPU32[wParam >> 2] = event[1];
    HEAP32[lParam >> 2] = event[2];
    return 1;
});

EM_ASYNC_JS(int, WebMessageBox, (const char* caption, const char* text, int yesNo), {
    const title = UTF8ToString(caption);
    const message = UTF8ToString(text);
    console.log(title + ": " + message.split(String.fromCharCode(10)).join(" "));
    return await Module["page"].messageBox(title, message, yesNo);
});

EM_ASYNC_JS(void, WebNextFrame, (), {
    Module["page"].frameShown();
    await new Promise(resolve => requestAnimationFrame(() => resolve()));
});

EM_JS(double, WebNow, (), { return performance.now(); });

namespace {

HINSTANCE__ Instance;
HICON__ Icon;
HICON__ Cursor;
HGLRC__ Context;
std::map<std::string, WNDPROC> Classes;
HWND__* Window = nullptr;
std::deque<MSG> Queue;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return window && window->proc ? window->proc(window, message, wParam, lParam) : 0;
}

}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR) {
    return &Instance;
}

WORD WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || Classes.count(wc->lpszClassName)) {
        return 0;
    }
    Classes[wc->lpszClassName] = wc->lpfnWndProc;
    return static_cast<WORD>(Classes.size());
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE) {
    return name && Classes.erase(name) ? TRUE : FALSE;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) {
    return &Icon;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    return &Cursor;
}

// Full screen is the browser's to grant, and only after a click: the page
// asks for it when the user starts the presentation. The mode is there if
// the page is full screen now.
LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
    if (!mode) {
        WebLeaveFullscreen();
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (mode->dmSize != sizeof(DEVMODEA) || (flags & CDS_FULLSCREEN) == 0) {
        return DISP_CHANGE_FAILED;
    }
    return WebIsFullscreen() ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_FAILED;
}

int WINAPI ShowCursor(BOOL show) {
    WebShowCursor(show);
    return show ? 0 : -1;
}

// The canvas has no frame: the client area is the window.
BOOL WINAPI AdjustWindowRectEx(RECT* rect, DWORD, BOOL, DWORD) {
    return rect ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD, int, int, int width, int height, HWND, HMENU,
                            HINSTANCE, LPVOID) {
    const auto found = className ? Classes.find(className) : Classes.end();
    if (found == Classes.end() || Window) {
        return nullptr;
    }
    Window = new HWND__{found->second, nullptr};
    Window->dc = new HDC__{Window};
    WebOpenWindow();
    Send(Window, WM_ACTIVATE, WA_ACTIVE, 0);
    Send(Window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    return Window;
}

BOOL WINAPI DestroyWindow(HWND window) {
    if (!window || window != Window) {
        return FALSE;
    }
    Send(window, WM_DESTROY, 0, 0);
    WebCloseWindow();
    delete window->dc;
    delete window;
    Window = nullptr;
    Queue.clear();
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int) {
    return window == Window && window ? TRUE : FALSE;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    return window == Window && window ? TRUE : FALSE;
}

HWND WINAPI SetFocus(HWND window) {
    return window;
}

BOOL WINAPI PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (!msg) {
        return FALSE;
    }
    unsigned message = 0;
    unsigned wParam = 0;
    int lParam = 0;
    while (Window && WebNextEvent(&message, &wParam, &lParam)) {
        Queue.push_back(MSG{Window, message, wParam, lParam, 0, {0, 0}});
    }
    if (Queue.empty()) {
        return FALSE;
    }
    *msg = Queue.front();
    if (remove & PM_REMOVE) {
        Queue.pop_front();
    }
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    return msg && msg->hwnd == Window ? Send(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        Send(window, WM_CLOSE, 0, 0);
    }
    return 0;
}

void WINAPI PostQuitMessage(int code) {
    Queue.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(code), 0, 0, {0, 0}});
}

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    const bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
    return WebMessageBox(caption ? caption : "Error", text ? text : "", yesNo);
}

HDC WINAPI GetDC(HWND window) {
    return window == Window && window ? window->dc : nullptr;
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    return window && dc && dc->window == window ? 1 : 0;
}

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd) {
    return dc && pfd ? 1 : 0;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
    return dc && format == 1 ? TRUE : FALSE;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
    return dc && CreateWebGlContext() ? &Context : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC, HGLRC) {
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
    if (context != &Context) {
        return FALSE;
    }
    DestroyWebGlContext();
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    WebNextFrame();
    return dc ? TRUE : FALSE;
}

// Microseconds of the page's clock.
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 1000000;
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    count->QuadPart = static_cast<int64_t>(WebNow() * 1000.0);
    return TRUE;
}
