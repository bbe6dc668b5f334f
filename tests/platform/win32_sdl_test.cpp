// The Win32 subset on SDL2, for real, on the test's X screen (800 x 600 x 24).
#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Seen> seen;
bool swallowScreenSaver = true;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back({message, wParam, lParam});
    if (message == WM_SYSCOMMAND && swallowScreenSaver && (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)) {
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool Saw(UINT message, WPARAM wParam) {
    for (const Seen& s : seen) {
        if (s.message == message && s.wParam == wParam) {
            return true;
        }
    }
    return false;
}

PIXELFORMATDESCRIPTOR Request() {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    return pfd;
}

class Win32SdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        swallowScreenSaver = true;
        WNDCLASSA wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Test";
        ASSERT_NE(RegisterClassA(&wc), 0) << "no X display";
    }

    void TearDown() override {
        if (context) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
        }
        if (window) {
            DestroyWindow(window);
        }
        ChangeDisplaySettingsA(nullptr, 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_TRUE(UnregisterClassA("Test", GetModuleHandleA(nullptr)));
    }

    HWND Create(DWORD style, int width, int height) {
        window = CreateWindowExA(WS_EX_APPWINDOW, "Test", "test window", style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                 0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        return window;
    }

    // Window, device context, pixel format and a current context.
    void CreateCurrentContext() {
        ASSERT_NE(Create(WS_POPUP, 320, 240), nullptr);
        HDC dc = GetDC(window);
        ASSERT_NE(dc, nullptr);
        PIXELFORMATDESCRIPTOR pfd = Request();
        const int format = ChoosePixelFormat(dc, &pfd);
        ASSERT_NE(format, 0);
        ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
        context = wglCreateContext(dc);
        ASSERT_NE(context, nullptr);
        ASSERT_TRUE(wglMakeCurrent(dc, context));
    }

    void ShowAndSettle() {
        ShowWindow(window, SW_SHOW);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        seen.clear();
    }

    // Hands the SDL event to the queue and takes every message it became.
    std::vector<MSG> Deliver(SDL_Event event) {
        SDL_PushEvent(&event);
        std::vector<MSG> messages;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            messages.push_back(msg);
            DispatchMessageA(&msg);
        }
        return messages;
    }

    SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = 0;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        event.key.repeat = repeat;
        return event;
    }

    HWND window = nullptr;
    HGLRC context = nullptr;
};

TEST_F(Win32SdlTest, CreationAndShowingEnterTheWindowProcedureAtOnce) {
    ASSERT_NE(Create(WS_POPUP, 320, 240), nullptr);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(seen[1].lParam, MAKELPARAM(320, 240));
    seen.clear();
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(Saw(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0)));
}

TEST_F(Win32SdlTest, OverlappedWindowsGetTheirClientAreaFromTheAdjustedRectangle) {
    RECT rect{0, 0, 800, 600};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE));
    EXPECT_GT(rect.right - rect.left, 800);
    EXPECT_GT(rect.bottom - rect.top, 600);
    ASSERT_NE(Create(WS_OVERLAPPEDWINDOW, rect.right - rect.left, rect.bottom - rect.top), nullptr);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[1].lParam, MAKELPARAM(800, 600));
    RECT popup{0, 0, 800, 600};
    AdjustWindowRectEx(&popup, WS_POPUP, FALSE, WS_EX_APPWINDOW);
    EXPECT_EQ(popup.right - popup.left, 800);
    EXPECT_EQ(popup.bottom - popup.top, 600);
}

TEST_F(Win32SdlTest, FullScreenModeIsOfferedOnlyWhenTheDisplayHasItExactly) {
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof(mode));
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = 1024;
    mode.dmPelsHeight = 768;
    EXPECT_NE(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    mode.dmPelsWidth = 800;
    mode.dmPelsHeight = 600;
    mode.dmBitsPerPel = 16;
    EXPECT_NE(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    mode.dmBitsPerPel = 32;
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);

    ASSERT_NE(Create(WS_POPUP, 800, 600), nullptr);
    ShowWindow(window, SW_SHOW);
    SDL_Window* sdl = nullptr;
    for (Uint32 id = 1; id < 64 && !sdl; ++id) {
        sdl = SDL_GetWindowFromID(id);
    }
    ASSERT_NE(sdl, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_FALSE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN);
}

TEST_F(Win32SdlTest, ContextOffersImmediateModeWithADepthBufferAndDoubleBuffering) {
    CreateCurrentContext();
    ASSERT_NE(glGetString(GL_VERSION), nullptr);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_TRUE(SwapBuffers(GetDC(window)));
}

TEST_F(Win32SdlTest, EachContextStepReportsItsOwnFailure) {
    ASSERT_NE(Create(WS_POPUP, 320, 240), nullptr);
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    PIXELFORMATDESCRIPTOR pfd = Request();
    PIXELFORMATDESCRIPTOR colourIndex = pfd;
    colourIndex.iPixelType = PFD_TYPE_COLORINDEX;
    EXPECT_EQ(ChoosePixelFormat(dc, &colourIndex), 0);
    PIXELFORMATDESCRIPTOR noGl = pfd;
    noGl.dwFlags = PFD_DRAW_TO_WINDOW;
    EXPECT_EQ(ChoosePixelFormat(dc, &noGl), 0);
    EXPECT_EQ(wglCreateContext(dc), nullptr);  // no pixel format yet
    EXPECT_FALSE(SetPixelFormat(dc, 42, &pfd));
    const int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
    context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(wglMakeCurrent(nullptr, context));
    EXPECT_TRUE(wglMakeCurrent(dc, context));
}

TEST_F(Win32SdlTest, ForeignHandlesGetFailuresNotCrashes) {
    ASSERT_NE(Create(WS_POPUP, 320, 240), nullptr);
    HWND bogusWindow = reinterpret_cast<HWND>(&seen);
    HDC bogusDc = reinterpret_cast<HDC>(&seen);
    HGLRC bogusContext = reinterpret_cast<HGLRC>(&seen);
    EXPECT_FALSE(DestroyWindow(bogusWindow));
    EXPECT_EQ(GetDC(bogusWindow), nullptr);
    EXPECT_EQ(ReleaseDC(window, bogusDc), 0);
    EXPECT_EQ(ChoosePixelFormat(bogusDc, nullptr), 0);
    EXPECT_EQ(wglCreateContext(bogusDc), nullptr);
    EXPECT_FALSE(wglDeleteContext(bogusContext));
    EXPECT_FALSE(SwapBuffers(nullptr));
    EXPECT_FALSE(ShowWindow(bogusWindow, SW_SHOW));
    EXPECT_FALSE(UnregisterClassA("Test", GetModuleHandleA(nullptr)));  // a window still uses it
    EXPECT_FALSE(UnregisterClassA("NoSuchClass", GetModuleHandleA(nullptr)));
    EXPECT_EQ(RegisterClassA(nullptr), 0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    EXPECT_TRUE(ReleaseDC(window, GetDC(window)));
}

TEST_F(Win32SdlTest, KeysBecomeKeyMessagesWithVirtualKeyCodes) {
    ASSERT_NE(Create(WS_POPUP, 320, 240), nullptr);
    ShowAndSettle();
    struct {
        SDL_Keycode key;
        WPARAM vk;
    } keys[] = {{SDLK_ESCAPE, VK_ESCAPE}, {SDLK_a, 'A'},      {SDLK_z, 'Z'},         {SDLK_0, '0'},
                {SDLK_9, '9'},            {SDLK_SPACE, ' '},   {SDLK_RETURN, VK_RETURN}, {SDLK_LEFT, VK_LEFT},
                {SDLK_DOWN, VK_DOWN},     {SDLK_F1, VK_F1},    {SDLK_F12, VK_F12},   {SDLK_KP_5, VK_NUMPAD0 + 5}};
    for (const auto& k : keys) {
        const std::vector<MSG> down = Deliver(Key(SDL_KEYDOWN, k.key));
        ASSERT_EQ(down.size(), 1u) << k.key;
        EXPECT_EQ(down[0].message, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_EQ(down[0].wParam, k.vk);
        EXPECT_LT(down[0].wParam, 256u);
        const std::vector<MSG> up = Deliver(Key(SDL_KEYUP, k.key));
        ASSERT_EQ(up.size(), 1u);
        EXPECT_EQ(up[0].message, static_cast<UINT>(WM_KEYUP));
        EXPECT_EQ(up[0].wParam, k.vk);
    }
    const std::vector<MSG> repeat = Deliver(Key(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_NONE, 1));
    ASSERT_EQ(repeat.size(), 1u);
    EXPECT_EQ(repeat[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_TRUE(repeat[0].lParam & (1 << 30));
}

TEST_F(Win32SdlTest, AltF4AndTheCloseButtonAskTheWindowToClose) {
    ASSERT_NE(Create(WS_POPUP, 320, 240), nullptr);
    ShowAndSettle();
    const std::vector<MSG> altF4 = Deliver(Key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT));
    ASSERT_FALSE(altF4.empty());
    EXPECT_EQ(altF4[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_TRUE(Saw(WM_SYSCOMMAND, SC_CLOSE));
    EXPECT_TRUE(Saw(WM_CLOSE, 0));
    ASSERT_GE(altF4.size(), 2u);
    EXPECT_EQ(altF4.back().message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(altF4.back().wParam, 0u);

    seen.clear();
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    for (Uint32 id = 1; id < 64; ++id) {
        if (SDL_GetWindowFromID(id)) {
            close.window.windowID = id;
        }
    }
    const std::vector<MSG> closed = Deliver(close);
    ASSERT_FALSE(closed.empty());
    EXPECT_EQ(closed[0].message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(closed[0].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_TRUE(Saw(WM_CLOSE, 0));
}

TEST_F(Win32SdlTest, MinimiseRestoreAndFocusBecomeActivationMessages) {
    ASSERT_NE(Create(WS_OVERLAPPEDWINDOW, 400, 300), nullptr);
    ShowWindow(window, SW_SHOW);
    Uint32 id = 0;
    for (Uint32 i = 1; i < 64; ++i) {
        if (SDL_GetWindowFromID(i)) {
            id = i;
        }
    }
    auto event = [id](Uint8 what, int a = 0, int b = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = id;
        e.window.event = what;
        e.window.data1 = a;
        e.window.data2 = b;
        return e;
    };
    auto activation = [](const std::vector<MSG>& messages) {
        for (const MSG& m : messages) {
            if (m.message == WM_ACTIVATE) {
                return static_cast<long>(m.wParam);
            }
        }
        return -1l;
    };
    Deliver(event(SDL_WINDOWEVENT_FOCUS_GAINED));
    std::vector<MSG> minimised = Deliver(event(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_EQ(activation(minimised), static_cast<long>(MAKEWPARAM(WA_INACTIVE, 1)));
    std::vector<MSG> restored = Deliver(event(SDL_WINDOWEVENT_RESTORED));
    EXPECT_EQ(activation(restored), static_cast<long>(MAKEWPARAM(WA_ACTIVE, 0)));
    bool sized = false;
    for (const MSG& m : restored) {
        sized |= m.message == WM_SIZE;
    }
    EXPECT_TRUE(sized);
    std::vector<MSG> lost = Deliver(event(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(activation(lost), static_cast<long>(MAKEWPARAM(WA_INACTIVE, 0)));
    std::vector<MSG> resized = Deliver(event(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480));
    ASSERT_FALSE(resized.empty());
    EXPECT_EQ(resized[0].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(resized[0].lParam, MAKELPARAM(640, 480));
}

TEST_F(Win32SdlTest, ScreenSaverStaysOffWhileTheFocusedWindowSwallowsTheRequest) {
    ASSERT_NE(Create(WS_POPUP, 320, 240), nullptr);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
    EXPECT_TRUE(Saw(WM_SYSCOMMAND, SC_SCREENSAVE));
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
    ShowWindow(window, SW_HIDE);
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());

    // A window that lets the request through to the default handling allows it.
    swallowScreenSaver = false;
    ShowWindow(window, SW_SHOW);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
}

TEST_F(Win32SdlTest, QuitMessagesCarryTheirCodeAndComeOneAtATime) {
    PostQuitMessage(5);
    PostQuitMessage(6);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 5u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 6u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageBox, WithoutADisplayWritesTheLineAndAnswersWithTheDefaultButton) {
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    testing::internal::CaptureStderr();
    const int ok = MessageBoxA(nullptr, "Two\nlines.", "ERROR", MB_OK | MB_ICONEXCLAMATION);
    const int yes = MessageBoxA(nullptr, "Use Windowed Mode Instead?", "Morvane", MB_YESNO | MB_ICONEXCLAMATION);
    const std::string err = testing::internal::GetCapturedStderr();
    if (!display.empty()) {
        setenv("DISPLAY", display.c_str(), 1);
    }
    EXPECT_EQ(ok, IDOK);
    EXPECT_EQ(yes, IDYES);
    EXPECT_EQ(err, "ERROR: Two lines.\nMorvane: Use Windowed Mode Instead?\n");
}

TEST(PerformanceCounter, IsMonotonicAtItsFrequency) {
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_GE(frequency.QuadPart, 1000000);
    LARGE_INTEGER a;
    LARGE_INTEGER b;
    QueryPerformanceCounter(&a);
    SDL_Delay(20);
    QueryPerformanceCounter(&b);
    const double seconds = static_cast<double>(b.QuadPart - a.QuadPart) / frequency.QuadPart;
    EXPECT_GE(seconds, 0.019);
    EXPECT_LT(seconds, 1.0);
}

}  // namespace
