// The real program, started as its own process: how each way of closing it sets the exit code.
#include <gtest/gtest.h>

#include <memory>

#include "app/resources/resource.h"
#include "tests/support/installed_game.h"
#include "tests/support/program_driver.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::RunningProgram;

// Inside the private Wine prefix the game is "installed", so no folder browser opens over the dialog. On a
// real machine the registry is left alone, and a browser that opens is cancelled as a user would.
class ExitCodeTest : public ::testing::Test {
protected:
    ExitCodeTest()
    {
        if (test::RunningUnderWine()) {
            installed = std::make_unique<test::InstalledGame>(game.folder());
            EXPECT_TRUE(installed->ok());
        }
    }
    static void Started(RunningProgram& program)
    {
        ASSERT_TRUE(program.window());
        if (!test::RunningUnderWine())
            program.CancelFolderBrowser(3000);
    }

    test::TempGameFolder game;
    std::unique_ptr<test::InstalledGame> installed;
};

TEST_F(ExitCodeTest, CloseButtonEndsWithOne)
{
    RunningProgram program(SW_SHOWNORMAL, L"--ignored /x \"any thing\"");   // arguments change nothing
    Started(program);
    PostMessageW(program.item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

TEST_F(ExitCodeTest, EscapeEndsWithTwo)
{
    RunningProgram program;
    Started(program);
    program.PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 2);
}

TEST_F(ExitCodeTest, TheCloseBoxEndsWithTwo)
{
    RunningProgram program;
    Started(program);
    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 2);
}

TEST_F(ExitCodeTest, TheDialogUsesTheShowCommandItWasStartedWith)
{
    RunningProgram program(SW_SHOWMINNOACTIVE);
    Started(program);
    EXPECT_TRUE(IsIconic(program.window()));
    PostMessageW(program.item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

}  // namespace
}  // namespace kelvane
