// The real program, started as its own process: how each way of closing it sets the exit code.
#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "tests/support/program_driver.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::RunningProgram;

TEST(ExitCodeTest, CloseButtonEndsWithOne)
{
    RunningProgram program(SW_SHOWNORMAL, L"--ignored /x \"any thing\"");   // arguments change nothing
    ASSERT_TRUE(program.window());
    PostMessageW(program.item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

TEST(ExitCodeTest, EscapeEndsWithTwo)
{
    RunningProgram program;
    ASSERT_TRUE(program.window());
    program.PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 2);
}

TEST(ExitCodeTest, TheCloseBoxEndsWithTwo)
{
    RunningProgram program;
    ASSERT_TRUE(program.window());
    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 2);
}

TEST(ExitCodeTest, TheDialogUsesTheShowCommandItWasStartedWith)
{
    RunningProgram program(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(program.window());
    EXPECT_TRUE(IsIconic(program.window()));
    PostMessageW(program.item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

TEST(ExitCodeTest, TheKeyboardReachesTheModelessDialog)
{
    RunningProgram program;
    ASSERT_TRUE(program.window());
    // The first tab stop has the focus at start; Space ticks it through the dialog manager.
    program.PressKey(VK_SPACE);
    EXPECT_TRUE(program.IsChecked(IDC_NETWORK_LATENCY));
    EXPECT_TRUE(program.IsEnabled(IDC_REVERT));
    program.PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 2);
}

}  // namespace
}  // namespace kelvane
