// One dialog at a time: the real program started again while its dialog is open, and after it was killed.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/resources/resource.h"
#include "tests/support/installed_game.h"
#include "tests/support/program_driver.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

constexpr DWORD kSecondStartTimeoutMs = 15000;
// Written out: the 32-bit and the 64-bit program must share the name, or each would open a dialog of its own. Wine
// has no private namespaces, so there the lock is the session's object of this name, owned by the Administrators.
constexpr wchar_t kMutexName[] = L"Local\\Vantorin Kelvane one dialog";

TEST(OneDialogTest, ASecondStartBringsTheOpenDialogForwardAndEndsAndAKilledRunHoldsNothing)
{
    if (!test::RunningUnderWine())
        GTEST_SKIP() << "changes the machine's registry: runs only in the test run's private Wine prefix";
    const test::TempGameFolder game("SET locale \"enUS\"\r\n");
    const test::InstalledGame installed(game.folder());
    ASSERT_TRUE(installed.ok());
    auto first = std::make_unique<test::RunningProgram>(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(first->window()));
    first->Apply({IDC_SYNC_MACROS});   // a file and its backup that the second start must leave alone
    const std::string applied = game.config();
    const std::string backup = test::ReadBytes(game.backupPath());
    ASSERT_NE(applied.find("SET synchronizeMacros \"0\"\r\n"), std::string::npos);
    first->Click(IDC_SYNC_BINDINGS);   // and a change still pending in the open dialog

    test::LaunchedProgram second(test::ProgramPath(), L"", SW_SHOWNORMAL, L"", 0);
    EXPECT_EQ(second.WaitForExit(kSecondStartTimeoutMs), 0);
    first->Settle();
    EXPECT_EQ(test::VisibleWindowsTitled(test::kProgramTitle), std::vector<HWND>{first->window()});
    EXPECT_FALSE(IsIconic(first->window()));
    EXPECT_EQ(game.config(), applied) << "nothing is written";
    EXPECT_EQ(test::ReadBytes(game.backupPath()), backup) << "nothing is written";
    EXPECT_EQ(test::FolderNames(game.wtfFolder()), (std::set<std::wstring>{L"config.wtf", L"config.wtf.bak~"}));
    // The open dialog is left as it was: its pending change is still there, and Apply writes it.
    first->Click(IDC_APPLY);
    EXPECT_EQ(game.config(), applied + "SET synchronizeBindings \"0\"\r\n") << "the open dialog is left as it was";

    // Held here as well, the mutex outlives the killed run, abandoned, as it does when another start waits on it.
    const UniqueKernelObject mutex(OpenMutexW(SYNCHRONIZE, FALSE, kMutexName));
    ASSERT_TRUE(mutex) << "no mutex named " << testing::PrintToString(std::wstring(kMutexName));
    first.reset();   // ended from outside, as a crash ends it
    const test::RunningProgram next;
    EXPECT_TRUE(next.window());
}

TEST(OneDialogTest, ALockAnotherProgramTookFirstDoesNotStopTheDialog)
{
    if (!test::RunningUnderWine())
        GTEST_SKIP() << "changes the machine's registry: runs only in the test run's private Wine prefix";
    const test::TempGameFolder game;
    const test::InstalledGame installed(game.folder());
    ASSERT_TRUE(installed.ok());
    // Made and held as an ordinary program would: open to everyone, owned by no administrator.
    const UniqueKernelObject taken(CreateMutexW(nullptr, TRUE, kMutexName));
    ASSERT_TRUE(taken);
    const test::RunningProgram program;
    EXPECT_TRUE(program.window());
}

}  // namespace
}  // namespace kelvane
