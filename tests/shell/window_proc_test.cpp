#include "shell_fixture.h"

namespace {

LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    return RenderWindowProc(ScriptedWindow(), message, wParam, lParam);
}

struct ActivationCase {
    const char* name;
    WPARAM wParam;
    bool active;
};

class ActivationTest : public ShellTest, public ::testing::WithParamInterface<ActivationCase> {};

TEST_P(ActivationTest, FollowsTheMinimisedState) {
    WindowActive = !GetParam().active;
    EXPECT_EQ(Send(WM_ACTIVATE, GetParam().wParam), 0);
    EXPECT_EQ(WindowActive, GetParam().active);
    EXPECT_EQ(CountCalls("DefWindowProcA"), 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, ActivationTest,
                         ::testing::Values(ActivationCase{"minimised", MAKEWPARAM(WA_INACTIVE, 1), false},
                                           ActivationCase{"restored", MAKEWPARAM(WA_ACTIVE, 0), true},
                                           ActivationCase{"other_application", MAKEWPARAM(WA_INACTIVE, 0), true},
                                           ActivationCase{"activated_minimised", MAKEWPARAM(WA_ACTIVE, 1), false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellTest, KeysStayDownThroughAutoRepeatUntilTheirKeyUp) {
    Send(WM_KEYDOWN, VK_ESCAPE);
    Send(WM_KEYDOWN, VK_ESCAPE, 1 << 30);
    EXPECT_TRUE(KeyTable[VK_ESCAPE]);
    Send(WM_KEYDOWN, 'A');
    Send(WM_KEYUP, 'A');
    EXPECT_TRUE(KeyTable[VK_ESCAPE]);
    EXPECT_FALSE(KeyTable['A']);
    Send(WM_KEYUP, VK_ESCAPE);
    EXPECT_FALSE(KeyTable[VK_ESCAPE]);
}

TEST_F(ShellTest, KeyCodesOutsideTheTableTouchNothingElse) {
    bool before[256];
    std::memcpy(before, KeyTable, sizeof(before));
    Send(WM_KEYDOWN, 0x1241);
    EXPECT_TRUE(KeyTable[0x41]);
    KeyTable[0x41] = false;
    EXPECT_EQ(std::memcmp(before, KeyTable, sizeof(before)), 0);
}

TEST_F(ShellTest, ScreenSaverAndMonitorPowerRequestsAreSwallowed) {
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_MONITORPOWER), 0);
    EXPECT_EQ(CountCalls("DefWindowProcA"), 0);
    Send(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_EQ(CountCalls("DefWindowProcA 0x112 0xf020"), 1);
}

TEST_F(ShellTest, CloseMessagePostsQuitWithoutDestroyingTheWindow) {
    EXPECT_EQ(Send(WM_CLOSE, 0), 0);
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"PostQuitMessage 0"}));
    ASSERT_EQ(Script.queue.size(), 1u);
    EXPECT_EQ(Script.queue.front().message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(Script.queue.front().wParam, 0u);
}

TEST_F(ShellTest, SizeMessagesResizeTheViewAndAZeroHeightBecomesOne) {
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1024, 768));
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 0));
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"glViewport 0 0 1024 768", "glMatrixMode 5889", "glMatrixMode 5888",
                                                   "glViewport 0 0 640 1", "glMatrixMode 5889",
                                                   "glMatrixMode 5888"}));
}

TEST_F(ShellTest, OtherMessagesGoToTheDefaultProcedureWithTheirArguments) {
    Send(WM_MOVE, 0, MAKELPARAM(5, 6));
    Send(WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_EQ(CallLog(), (std::vector<std::string>{"DefWindowProcA 0x3 0x0", "DefWindowProcA 0x104 0x73"}));
}

}  // namespace
