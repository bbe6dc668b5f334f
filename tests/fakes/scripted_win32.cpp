#include "scripted_win32.h"

#include <cstdio>
#include <string>

#include "call_log.h"

Win32Script& ScriptState() {
    static Win32Script script;
    return script;
}

namespace {

struct Token {};
Token module, window, deviceContext, renderContext, icon, cursor;

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

bool Fails(const char* name) {
    return Script.failing.count(name) != 0;
}

LRESULT SendToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    return Script.windowProc ? Script.windowProc(ScriptedWindow(), message, wParam, lParam) : 0;
}

}  // namespace

void ResetScript() {
    Script = Win32Script{};
    CallLog().clear();
}

MSG Message(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = message == WM_QUIT || message == NoMessage ? nullptr : ScriptedWindow();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

HWND ScriptedWindow() {
    return reinterpret_cast<HWND>(&window);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    LogCall(std::string("GetModuleHandleA ") + (name ? name : "null"));
    return reinterpret_cast<HMODULE>(&module);
}

WORD WINAPI RegisterClassA(const WNDCLASSA* wc) {
    LogCall("RegisterClassA " + std::string(wc->lpszClassName) + " style=" + Hex(wc->style) +
            " icon=" + (wc->hIcon ? "yes" : "no") + " cursor=" + (wc->hCursor ? "yes" : "no") +
            " extra=" + std::to_string(wc->cbClsExtra) + "," + std::to_string(wc->cbWndExtra));
    if (Fails("RegisterClassA")) {
        return 0;
    }
    Script.windowProc = wc->lpfnWndProc;
    return 0xC001;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    LogCall(std::string("UnregisterClassA ") + name + (instance ? " instance" : " null"));
    return Fails("UnregisterClassA") ? FALSE : TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) {
    LogCall("LoadIconA " + std::to_string(reinterpret_cast<uintptr_t>(name)));
    return reinterpret_cast<HICON>(&icon);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) {
    LogCall("LoadCursorA " + std::to_string(reinterpret_cast<uintptr_t>(name)));
    return reinterpret_cast<HCURSOR>(&cursor);
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
    if (!mode) {
        LogCall("ChangeDisplaySettingsA null " + std::to_string(flags));
        return DISP_CHANGE_SUCCESSFUL;
    }
    LogCall("ChangeDisplaySettingsA " + std::to_string(mode->dmPelsWidth) + "x" + std::to_string(mode->dmPelsHeight) +
            "x" + std::to_string(mode->dmBitsPerPel) + " size=" + std::to_string(mode->dmSize) +
            " fields=" + Hex(mode->dmFields) + " flags=" + std::to_string(flags));
    return Script.displayChangeResult;
}

int WINAPI ShowCursor(BOOL show) {
    LogCall(std::string("ShowCursor ") + (show ? "TRUE" : "FALSE"));
    return show ? 0 : -1;
}

BOOL WINAPI AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD) {
    // Nominal Windows frame of an overlapped window.
    if (!(style & WS_POPUP)) {
        rect->left -= 8;
        rect->top -= 31;
        rect->right += 8;
        rect->bottom += 8;
    }
    LogCall("AdjustWindowRectEx style=" + Hex(style));
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE, LPVOID param) {
    LogCall("CreateWindowExA ex=" + Hex(exStyle) + " class=" + className + " title=" + title + " style=" + Hex(style) +
            " at=" + std::to_string(x) + "," + std::to_string(y) + " size=" + std::to_string(width) + "x" +
            std::to_string(height) + (parent || menu || param ? " extras" : ""));
    if (Fails("CreateWindowExA")) {
        return nullptr;
    }
    Script.windowExists = true;
    // Win32 sends the first size message from inside creation, before any context exists.
    const bool overlapped = !(style & WS_POPUP);
    SendToWindow(WM_SIZE, SIZE_RESTORED, MAKELPARAM(width - (overlapped ? 16 : 0), height - (overlapped ? 39 : 0)));
    return ScriptedWindow();
}

BOOL WINAPI DestroyWindow(HWND) {
    LogCall("DestroyWindow");
    Script.windowExists = false;
    return Fails("DestroyWindow") ? FALSE : TRUE;
}

BOOL WINAPI ShowWindow(HWND, int show) {
    LogCall("ShowWindow " + std::to_string(show));
    SendToWindow(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    return FALSE;
}

BOOL WINAPI SetForegroundWindow(HWND) {
    LogCall("SetForegroundWindow");
    return TRUE;
}

HWND WINAPI SetFocus(HWND) {
    LogCall("SetFocus");
    return nullptr;
}

BOOL WINAPI PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (Script.queue.empty()) {
        return FALSE;
    }
    const MSG next = Script.queue.front();
    if (remove & PM_REMOVE) {
        Script.queue.pop_front();
    }
    if (next.message == NoMessage) {
        return FALSE;
    }
    *msg = next;
    LogCall("PeekMessageA " + Hex(next.message));
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    LogCall("TranslateMessage " + Hex(msg->message));
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    LogCall("DispatchMessageA " + Hex(msg->message));
    return Script.windowProc ? Script.windowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND, UINT message, WPARAM wParam, LPARAM) {
    LogCall("DefWindowProcA " + Hex(message) + " " + Hex(wParam));
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        return SendToWindow(WM_CLOSE, 0, 0);
    }
    return 0;
}

void WINAPI PostQuitMessage(int code) {
    LogCall("PostQuitMessage " + std::to_string(code));
    Script.queue.push_back(Message(WM_QUIT, static_cast<WPARAM>(code)));
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    LogCall(std::string("MessageBoxA ") + caption + "|" + text + "|" + Hex(type) + (owner ? "|owned" : ""));
    if ((type & MB_TYPEMASK) == MB_YESNO) {
        return Script.yesNoAnswer;
    }
    return IDOK;
}

HDC WINAPI GetDC(HWND) {
    LogCall("GetDC");
    return Fails("GetDC") ? nullptr : reinterpret_cast<HDC>(&deviceContext);
}

int WINAPI ReleaseDC(HWND, HDC) {
    LogCall("ReleaseDC");
    return Fails("ReleaseDC") ? 0 : 1;
}

int WINAPI ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR* pfd) {
    LogCall("ChoosePixelFormat size=" + std::to_string(pfd->nSize) + " version=" + std::to_string(pfd->nVersion) +
            " flags=" + Hex(pfd->dwFlags) + " type=" + std::to_string(pfd->iPixelType) +
            " colour=" + std::to_string(pfd->cColorBits) + " depth=" + std::to_string(pfd->cDepthBits) +
            " stencil=" + std::to_string(pfd->cStencilBits) + " accum=" + std::to_string(pfd->cAccumBits) +
            " layer=" + std::to_string(pfd->iLayerType));
    return Fails("ChoosePixelFormat") ? 0 : 7;
}

BOOL WINAPI SetPixelFormat(HDC, int format, const PIXELFORMATDESCRIPTOR*) {
    LogCall("SetPixelFormat " + std::to_string(format));
    return Fails("SetPixelFormat") ? FALSE : TRUE;
}

HGLRC WINAPI wglCreateContext(HDC) {
    LogCall("wglCreateContext");
    return Fails("wglCreateContext") ? nullptr : reinterpret_cast<HGLRC>(&renderContext);
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context) {
    LogCall(std::string("wglMakeCurrent ") + (dc ? "dc" : "null") + " " + (context ? "rc" : "null"));
    return Fails(context ? "wglMakeCurrent" : "wglMakeCurrent null") ? FALSE : TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC) {
    LogCall("wglDeleteContext");
    return Fails("wglDeleteContext") ? FALSE : TRUE;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    LogCall(std::string("SwapBuffers ") + (dc ? "dc" : "null"));
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = Script.frequency;
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* counter) {
    counter->QuadPart = Script.counter;
    Script.counter += Script.counterStep;
    LogCall("QueryPerformanceCounter");
    return TRUE;
}
