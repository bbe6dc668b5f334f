#include "shell_fixture.h"

namespace {

using Entries = std::vector<std::string>;

TEST_F(ShellTest, CreatesTheWindowInOrderAndLeavesItCurrent) {
    ASSERT_TRUE(CreateProgramWindow());
    const Entries expected = {
        "GetModuleHandleA null",
        "LoadIconA 32517",
        "LoadCursorA 32512",
        "RegisterClassA OpenGL style=0x23 icon=yes cursor=yes extra=0,0",
        "ChangeDisplaySettingsA 800x600x32 size=156 fields=0x1c0000 flags=4",
        "ShowCursor FALSE",
        "AdjustWindowRectEx style=0x80000000",
        "CreateWindowExA ex=0x40000 class=OpenGL title=KX 2007 Zandrel - Dwip This style=0x86000000 at=0,0 size=800x600",
        "glViewport 0 0 800 600",  // the size message sent from inside creation
        "glMatrixMode 5889",
        "glMatrixMode 5888",
        "GetDC",
        "ChoosePixelFormat size=40 version=1 flags=0x25 type=0 colour=32 depth=16 stencil=0 accum=0 layer=0",
        "SetPixelFormat 7",
        "wglCreateContext",
        "wglMakeCurrent dc rc",
        "ShowWindow 5",
        "SetForegroundWindow",
        "SetFocus",
        "glViewport 0 0 800 600",  // the requested size, set again with the context current
        "glMatrixMode 5889",
        "glMatrixMode 5888",
        "PrepareGraphics 600",  // for pictures as high as the window
    };
    EXPECT_EQ(CallLog(), expected);
    EXPECT_TRUE(FullscreenMode);
    EXPECT_NE(WindowHandle, nullptr);
    EXPECT_NE(DeviceContext, nullptr);
    EXPECT_NE(RenderContext, nullptr);
    EXPECT_NE(InstanceHandle, nullptr);
    EXPECT_TRUE(Boxes().empty());
}

struct CreationFailure {
    const char* failingCall;
    const char* message;
    bool tornDown;  // the teardown runs before the box
};

class CreationFailureTest : public ShellTest, public ::testing::WithParamInterface<CreationFailure> {};

TEST_P(CreationFailureTest, ShowsItsMessageAfterTheTeardown) {
    const CreationFailure& failure = GetParam();
    Script.failing.insert(failure.failingCall);
    if (std::string(failure.failingCall) == "PrepareGraphics") {
        Presentation().prepareGraphicsResult = false;
    }
    EXPECT_FALSE(CreateProgramWindow());

    const int box = FindCall(std::string("MessageBoxA ERROR|") + failure.message + "|0x30");
    ASSERT_GE(box, 0);
    EXPECT_EQ(Boxes().back(), std::string("ERROR|") + failure.message + "|0x30");
    const int unregister = FindCall("UnregisterClassA OpenGL");
    if (failure.tornDown) {
        ASSERT_GE(unregister, 0);
        EXPECT_LT(unregister, box);
        // Full screen: the desktop comes back first of all.
        EXPECT_LT(FindCall("ChangeDisplaySettingsA null 0"), unregister);
        EXPECT_LT(FindCall("ShowCursor TRUE"), unregister);
    } else {
        EXPECT_EQ(unregister, -1);
    }
    EXPECT_EQ(WindowHandle, nullptr);
    EXPECT_EQ(DeviceContext, nullptr);
    EXPECT_EQ(RenderContext, nullptr);
    EXPECT_EQ(FindCall("PrepareGraphics") >= 0, std::string(failure.failingCall) == "PrepareGraphics");
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, CreationFailureTest,
    ::testing::Values(CreationFailure{"RegisterClassA", "Failed To Register The Window Class.", false},
                      CreationFailure{"CreateWindowExA", "Window Creation Error.", true},
                      CreationFailure{"GetDC", "Can't Create A GL Device Context.", true},
                      CreationFailure{"ChoosePixelFormat", "Can't Find A Suitable PixelFormat.", true},
                      CreationFailure{"SetPixelFormat", "Can't Set The PixelFormat.", true},
                      CreationFailure{"wglCreateContext", "Can't Create A GL Rendering Context.", true},
                      CreationFailure{"wglMakeCurrent", "Can't Activate The GL Rendering Context.", true},
                      CreationFailure{"PrepareGraphics", "Initialization Failed.", true}),
    [](const auto& info) { return std::string(info.param.failingCall); });

TEST_F(ShellTest, RefusedModeAnsweredYesGivesAnOverlappedWindowWithAnAdjustedSize) {
    Script.displayChangeResult = DISP_CHANGE_BADMODE;
    Script.yesNoAnswer = IDYES;
    ASSERT_TRUE(CreateProgramWindow());
    EXPECT_FALSE(FullscreenMode);
    EXPECT_EQ(Boxes(), (Entries{"Morvane|The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use "
                                "Windowed Mode Instead?|0x34"}));
    EXPECT_EQ(CountCalls("ShowCursor"), 0);
    EXPECT_GE(FindCall("AdjustWindowRectEx style=0xcf0000"), 0);
    // The outer size holds an 800 x 600 client area; the window stands at the corner.
    EXPECT_GE(FindCall("CreateWindowExA ex=0x40100 class=OpenGL title=KX 2007 Zandrel - Dwip This "
                       "style=0x6cf0000 at=0,0 size=816x639"),
              0);

    DestroyRenderWindow();
    EXPECT_EQ(CountCalls("ChangeDisplaySettingsA null"), 0);
    EXPECT_EQ(CountCalls("ShowCursor"), 0);
}

TEST_F(ShellTest, RefusedModeAnsweredNoClosesWithoutAWindow) {
    Script.displayChangeResult = DISP_CHANGE_FAILED;
    Script.yesNoAnswer = IDNO;
    EXPECT_FALSE(CreateProgramWindow());
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1], "ERROR|Program Will Now Close.|0x10");
    EXPECT_EQ(CountCalls("CreateWindowExA"), 0);
    // The mode was never changed and the class stays registered.
    EXPECT_EQ(CountCalls("ChangeDisplaySettingsA null"), 0);
    EXPECT_EQ(CountCalls("UnregisterClassA"), 0);
}

TEST_F(ShellTest, NoBoxHasAnOwnerWindow) {
    Script.displayChangeResult = DISP_CHANGE_FAILED;
    Script.failing = {"SetPixelFormat", "wglMakeCurrent null", "ReleaseDC", "DestroyWindow", "UnregisterClassA"};
    EXPECT_FALSE(CreateProgramWindow());
    ASSERT_FALSE(Boxes().empty());
    for (const auto& box : Boxes()) {
        EXPECT_EQ(box.find("|owned"), std::string::npos) << box;
    }
}

TEST_F(ShellTest, TeardownInWhichEveryReleaseFailsReportsEachAndClearsEveryHandle) {
    ASSERT_TRUE(CreateProgramWindow());
    CallLog().clear();
    Script.failing = {"wglMakeCurrent null", "wglDeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClassA"};
    DestroyRenderWindow();
    EXPECT_EQ(Boxes(), (Entries{"SHUTDOWN ERROR|Release Of DC And RC Failed.|0x40",
                                "SHUTDOWN ERROR|Release Rendering Context Failed.|0x40",
                                "SHUTDOWN ERROR|Release Device Context Failed.|0x40",
                                "SHUTDOWN ERROR|Could Not Release hWnd.|0x40",
                                "SHUTDOWN ERROR|Could Not Unregister Class.|0x40"}));
    EXPECT_EQ(WindowHandle, nullptr);
    EXPECT_EQ(DeviceContext, nullptr);
    EXPECT_EQ(RenderContext, nullptr);
    EXPECT_EQ(InstanceHandle, nullptr);
    // The desktop mode came back before the first box.
    EXPECT_LT(FindCall("ChangeDisplaySettingsA null 0"), FindCall("MessageBoxA"));
}

TEST_F(ShellTest, TeardownReleasesInOrder) {
    ASSERT_TRUE(CreateProgramWindow());
    CallLog().clear();
    DestroyRenderWindow();
    EXPECT_EQ(CallLog(), (Entries{"ChangeDisplaySettingsA null 0", "ShowCursor TRUE", "wglMakeCurrent null null",
                                  "wglDeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClassA OpenGL instance"}));
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
