#include "app/render_window.h"

#include <cstring>

#include "gl.h"
#include "media/graphics_setup.h"
#include "scenes/view.h"

bool FullscreenMode = true;
bool WindowActive = true;
bool KeyTable[256] = {};
HWND WindowHandle = nullptr;
HDC DeviceContext = nullptr;
HGLRC RenderContext = nullptr;
HINSTANCE InstanceHandle = nullptr;

namespace {

const char* const WindowClassName = "OpenGL";

void ShowCreationError(const char* text) {
    MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

// Tears down what exists, then tells the user: in full screen the desktop must
// be back before the box appears.
bool FailCreation(const char* text) {
    DestroyRenderWindow();
    ShowCreationError(text);
    return false;
}

void ShowShutdownError(const char* text) {
    MessageBoxA(nullptr, text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

PIXELFORMATDESCRIPTOR PixelFormatRequest(int bits) {
    PIXELFORMATDESCRIPTOR pfd;
    std::memset(&pfd, 0, sizeof(pfd));
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(bits);
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

}  // namespace

bool CreateRenderWindow(const char* title, int width, int height, int bits, bool fullscreen) {
    RECT WindowRect;
    WindowRect.left = 0;
    WindowRect.top = 0;
    WindowRect.right = width;
    WindowRect.bottom = height;
    FullscreenMode = fullscreen;

    InstanceHandle = GetModuleHandleA(nullptr);

    WNDCLASSA wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = RenderWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = InstanceHandle;
    wc.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = WindowClassName;
    if (!RegisterClassA(&wc)) {
        ShowCreationError("Failed To Register The Window Class.");
        return false;
    }

    if (FullscreenMode) {
        DEVMODEA dmScreenSettings;
        std::memset(&dmScreenSettings, 0, sizeof(dmScreenSettings));
        dmScreenSettings.dmSize = sizeof(dmScreenSettings);
        dmScreenSettings.dmPelsWidth = static_cast<DWORD>(width);
        dmScreenSettings.dmPelsHeight = static_cast<DWORD>(height);
        dmScreenSettings.dmBitsPerPel = static_cast<DWORD>(bits);
        dmScreenSettings.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        if (ChangeDisplaySettingsA(&dmScreenSettings, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
            if (MessageBoxA(nullptr,
                            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                            "Use Windowed Mode Instead?",
                            "Morvane", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
                FullscreenMode = false;
            } else {
                // Nothing was changed yet, so there is nothing to tear down.
                MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
                return false;
            }
        }
    }

    DWORD dwExStyle;
    DWORD dwStyle;
    if (FullscreenMode) {
        dwExStyle = WS_EX_APPWINDOW;
        dwStyle = WS_POPUP;
        ShowCursor(FALSE);
    } else {
        dwExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        dwStyle = WS_OVERLAPPEDWINDOW;
    }

    AdjustWindowRectEx(&WindowRect, dwStyle, FALSE, dwExStyle);

    WindowHandle = CreateWindowExA(dwExStyle, WindowClassName, title, dwStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                   0, WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top, nullptr,
                                   nullptr, InstanceHandle, nullptr);
    if (!WindowHandle) {
        return FailCreation("Window Creation Error.");
    }

    DeviceContext = GetDC(WindowHandle);
    if (!DeviceContext) {
        return FailCreation("Can't Create A GL Device Context.");
    }

    PIXELFORMATDESCRIPTOR pfd = PixelFormatRequest(bits);
    int PixelFormat = ChoosePixelFormat(DeviceContext, &pfd);
    if (!PixelFormat) {
        return FailCreation("Can't Find A Suitable PixelFormat.");
    }
    if (!SetPixelFormat(DeviceContext, PixelFormat, &pfd)) {
        return FailCreation("Can't Set The PixelFormat.");
    }

    RenderContext = wglCreateContext(DeviceContext);
    if (!RenderContext) {
        return FailCreation("Can't Create A GL Rendering Context.");
    }
    if (!wglMakeCurrent(DeviceContext, RenderContext)) {
        return FailCreation("Can't Activate The GL Rendering Context.");
    }

    ShowWindow(WindowHandle, SW_SHOW);
    SetForegroundWindow(WindowHandle);
    SetFocus(WindowHandle);
    // The requested size, whatever the window got: size messages correct it later.
    ResizeView(width, height);

    if (!PrepareGraphics(height)) {
        return FailCreation("Initialization Failed.");
    }
    return true;
}

void DestroyRenderWindow() {
    if (FullscreenMode) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }

    if (RenderContext) {
        if (!wglMakeCurrent(nullptr, nullptr)) {
            ShowShutdownError("Release Of DC And RC Failed.");
        }
        if (!wglDeleteContext(RenderContext)) {
            ShowShutdownError("Release Rendering Context Failed.");
        }
        RenderContext = nullptr;
    }

    if (DeviceContext) {
        if (!ReleaseDC(WindowHandle, DeviceContext)) {
            ShowShutdownError("Release Device Context Failed.");
        }
        DeviceContext = nullptr;
    }

    if (WindowHandle) {
        if (!DestroyWindow(WindowHandle)) {
            ShowShutdownError("Could Not Release hWnd.");
        }
        WindowHandle = nullptr;
    }

    if (!UnregisterClassA(WindowClassName, InstanceHandle)) {
        ShowShutdownError("Could Not Unregister Class.");
    }
    InstanceHandle = nullptr;
}

void ResizeView(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    SetPresentationView(0, 0, width, height);
}

LRESULT CALLBACK RenderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        WindowActive = HIWORD(wParam) == 0;
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) {
            return 0;
        }
        break;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        KeyTable[wParam & 0xFF] = true;
        return 0;
    case WM_KEYUP:
        KeyTable[wParam & 0xFF] = false;
        return 0;
    case WM_SIZE:
        ResizeView(LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
