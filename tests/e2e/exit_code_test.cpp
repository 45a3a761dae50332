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
    test::TempGameFolder game;
    std::unique_ptr<test::InstalledGame> installed;
};

void ClickClose(RunningProgram& program)
{
    PostMessageW(program.item(IDOK), BM_CLICK, 0, 0);
}

struct ExitCase { const char* what; int show; void (*close)(RunningProgram&); int exitCode; };
const ExitCase kCases[] = {
    {"the Close button", SW_SHOWNORMAL, ClickClose, 1},
    {"Escape", SW_SHOWNORMAL, [](RunningProgram& program) { program.PressKey(VK_ESCAPE); }, 2},
    {"the close box", SW_SHOWNORMAL,
     [](RunningProgram& program) { PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
    {"started minimized, the dialog is minimized", SW_SHOWMINNOACTIVE, ClickClose, 1},
};

TEST_F(ExitCodeTest, EachWayOfClosingEndsWithItsCodeAndTheDialogUsesItsShowCommand)
{
    for (const ExitCase& c : kCases) {
        SCOPED_TRACE(c.what);
        RunningProgram program(c.show);
        ASSERT_TRUE(program.window());
        if (!test::RunningUnderWine())
            program.CancelFolderBrowser(3000);
        EXPECT_EQ(IsIconic(program.window()) != FALSE, c.show == SW_SHOWMINNOACTIVE);
        c.close(program);
        EXPECT_EQ(program.WaitForExit(), c.exitCode);
    }
}

}  // namespace
}  // namespace kelvane
