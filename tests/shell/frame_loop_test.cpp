#include "app/frame_timer.h"
#include "shell_fixture.h"

namespace {

using Entries = std::vector<std::string>;

// The calls of the loop and of shutdown, without window creation and start-up.
Entries LoopCalls() {
    const int start = FindCall("ResetPresentation");
    Entries calls;
    for (int i = start + 1; i < static_cast<int>(CallLog().size()); ++i) {
        const std::string& entry = CallLog()[i];
        if (entry != "QueryPerformanceCounter" && entry.rfind("glMatrixMode", 0) != 0) {
            calls.push_back(entry);
        }
    }
    return calls;
}

const Entries Shutdown = {"ReleaseMusic", "ReleaseGraphics",
                          "ChangeDisplaySettingsA null 0", "ShowCursor TRUE", "wglMakeCurrent null null",
                          "wglDeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClassA OpenGL instance",
                          "ReleaseTextureSet"};

// Every swap is followed at once by one reading of the frame timer.
void ExpectTimerReadAfterEverySwap(int swaps) {
    int seen = 0;
    for (int i = 0; i < static_cast<int>(CallLog().size()); ++i) {
        if (CallLog()[i] == "SwapBuffers dc") {
            ++seen;
            ASSERT_LT(i + 1, static_cast<int>(CallLog().size()));
            EXPECT_EQ(CallLog()[i + 1], "QueryPerformanceCounter");
        }
    }
    EXPECT_EQ(seen, swaps);
}

Entries Then(Entries first, const Entries& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST_F(ShellTest, StartsTheMusicAfterTheWindowAndEndsWhenTheChainRunsDry) {
    Presentation().logoReturns = {1, 1};
    const int status = WinMain(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(status, 0);
    // The pictures start decoding first, for the window's 600 pixels, while the window is made.
    EXPECT_EQ(CallLog().front(), "StartPictureDecoding 600 in the order of need");
    EXPECT_GT(FindCall("StartMusic"), FindCall("PrepareGraphics"));
    // The music is tied to the program's window; the scenes start from their beginning.
    EXPECT_EQ(FindCall("ResetPresentation"), FindCall("StartMusic window") + 1);
    const Entries frame = {"OpeningLogoScene", "SampleMusic", "SwapBuffers dc"};
    EXPECT_EQ(LoopCalls(), Then(Then(Then(frame, frame), {"OpeningLogoScene", "MainSectionScene", "CreditsScene"}),
                                Shutdown));
}

TEST_F(ShellTest, BeforeEachFrameThePicturesDueAtItsPositionAreUploaded) {
    Presentation().logoReturns = {1, 1};
    Presentation().logUploads = true;
    Script.queue = {Message(NoMessage), Message(WM_KEYDOWN, 'A')};
    WinMain(nullptr, nullptr, nullptr, 0);
    // A pass that handles a message uploads nothing; one that renders, first of all.
    const Entries expected = {"UploadPictures 0",       "OpeningLogoScene",       "SampleMusic",
                              "SwapBuffers dc",         "PeekMessageA 0x100",     "TranslateMessage 0x100",
                              "DispatchMessageA 0x100", "UploadPictures 1000",    "OpeningLogoScene",
                              "SampleMusic",            "SwapBuffers dc",         "UploadPictures 2000",
                              "OpeningLogoScene",       "MainSectionScene",       "CreditsScene"};
    EXPECT_EQ(LoopCalls(), Then(expected, Shutdown));
}

TEST_F(ShellTest, ReadsTheTimerOnceAfterEverySwap) {
    Presentation().logoReturns = {1, 1, 1};
    WinMain(nullptr, nullptr, nullptr, 0);
    ExpectTimerReadAfterEverySwap(3);
}

TEST_F(ShellTest, ASceneThatDrawsKeepsTheLaterOnesFromBeingCalled) {
    Presentation().logoReturns = {0, 0};
    Presentation().mainReturns = {1, 0};
    Presentation().creditsReturns = {1};
    WinMain(nullptr, nullptr, nullptr, 0);
    const Entries expected = {"OpeningLogoScene", "MainSectionScene", "SampleMusic", "SwapBuffers dc",
                              "OpeningLogoScene", "MainSectionScene", "CreditsScene", "SampleMusic", "SwapBuffers dc",
                              "OpeningLogoScene", "MainSectionScene", "CreditsScene"};
    EXPECT_EQ(LoopCalls(), Then(expected, Shutdown));
}

TEST_F(ShellTest, APassThatHandlesAMessageRendersNothing) {
    Script.queue = {Message(WM_KEYDOWN, 'A'), Message(WM_KEYUP, 'A')};
    Presentation().logoReturns = {1};
    WinMain(nullptr, nullptr, nullptr, 0);
    const Entries expected = {"PeekMessageA 0x100",  "TranslateMessage 0x100", "DispatchMessageA 0x100",
                              "PeekMessageA 0x101",  "TranslateMessage 0x101", "DispatchMessageA 0x101",
                              "OpeningLogoScene",    "SampleMusic",            "SwapBuffers dc",
                              "OpeningLogoScene",    "MainSectionScene",       "CreditsScene"};
    EXPECT_EQ(LoopCalls(), Then(expected, Shutdown));
}

TEST_F(ShellTest, CloseRequestEndsTheLoopWithStatusZero) {
    Script.queue = {Message(WM_SYSCOMMAND, SC_CLOSE)};
    Presentation().logoReturns = {1, 1, 1};
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    const Entries expected = {"PeekMessageA 0x112", "TranslateMessage 0x112", "DispatchMessageA 0x112",
                              "DefWindowProcA 0x112 0xf060", "PostQuitMessage 0", "PeekMessageA 0x12"};
    EXPECT_EQ(LoopCalls(), Then(expected, Shutdown));
}

TEST_F(ShellTest, AQuitMessageCarriesItsCode) {
    Script.queue = {Message(WM_QUIT, 3)};
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 3);
}

TEST_F(ShellTest, InactiveWindowCallsNoSceneButStillSamplesSwapsAndReadsTheTimer) {
    Script.queue = {Message(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1)), Message(NoMessage), Message(NoMessage),
                    Message(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0))};
    WinMain(nullptr, nullptr, nullptr, 0);
    const Entries expected = {"PeekMessageA 0x6",  "TranslateMessage 0x6", "DispatchMessageA 0x6",
                              "SampleMusic",       "SwapBuffers dc",       "SampleMusic",
                              "SwapBuffers dc",    "PeekMessageA 0x6",     "TranslateMessage 0x6",
                              "DispatchMessageA 0x6", "OpeningLogoScene",  "MainSectionScene",
                              "CreditsScene"};
    EXPECT_EQ(LoopCalls(), Then(expected, Shutdown));
    ExpectTimerReadAfterEverySwap(2);
}

TEST_F(ShellTest, EscapeEndsTheLoopWithoutPresentingAnotherFrame) {
    Presentation().logoReturns = {1, 1, 1};
    Script.queue = {Message(NoMessage), Message(WM_KEYDOWN, VK_ESCAPE)};
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    const Entries expected = {"OpeningLogoScene", "SampleMusic", "SwapBuffers dc", "PeekMessageA 0x100",
                              "TranslateMessage 0x100", "DispatchMessageA 0x100"};
    EXPECT_EQ(LoopCalls(), Then(expected, Shutdown));
}

TEST_F(ShellTest, ATapOfEscapeEndsTheLoopEvenWhenItsKeyUpFollowsAtOnce) {
    Presentation().logoReturns = {1, 1, 1};
    Script.queue = {Message(WM_KEYDOWN, VK_ESCAPE), Message(WM_KEYUP, VK_ESCAPE)};
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(CountCalls("OpeningLogoScene"), 0);
    EXPECT_EQ(CountCalls("SwapBuffers"), 0);
    EXPECT_EQ(CountCalls("ReleaseTextureSet"), 1);
}

TEST_F(ShellTest, EscapeHeldWhenTheLoopIsEnteredEndsItAfterTheFirstFrameIsDrawnButNotPresented) {
    KeyTable[VK_ESCAPE] = true;
    Presentation().logoReturns = {1, 1, 1};
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    const Entries expected = {"OpeningLogoScene"};
    EXPECT_EQ(LoopCalls(), Then(expected, Shutdown));
}

TEST_F(ShellTest, EscapeEndsTheLoopEvenWhileTheWindowIsInactive) {
    Script.queue = {Message(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1)), Message(WM_KEYDOWN, VK_ESCAPE)};
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(CountCalls("OpeningLogoScene"), 0);
    EXPECT_EQ(CountCalls("SwapBuffers"), 0);
    EXPECT_EQ(CountCalls("ReleaseTextureSet"), 1);
}

TEST_F(ShellTest, FailedCreationEndsWithStatusOneAndNoMusicCall) {
    Script.failing.insert("CreateWindowExA");
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 1);
    EXPECT_EQ(CountCalls("StartMusic"), 0);
    EXPECT_EQ(CountCalls("ReleaseMusic"), 0);
    EXPECT_EQ(CountCalls("ReleaseTextureSet"), 0);
    EXPECT_EQ(CountCalls("glDelete"), 0);
}

TEST_F(ShellTest, RefusedModeAnsweredNoEndsWithStatusOne) {
    Script.displayChangeResult = DISP_CHANGE_BADMODE;
    Script.yesNoAnswer = IDNO;
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 1);
}

TEST_F(ShellTest, EscapeAfterOtherMessagesStillEndsWithStatusZero) {
    // The last message was a key, whose code must not become the exit status.
    Script.queue = {Message(WM_KEYDOWN, 'Q'), Message(WM_KEYDOWN, VK_ESCAPE)};
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
}

}  // namespace
