// The whole job, as a player does it: the real program finds the game, the player ticks options, applies,
// restores and closes; the test then reads config.wtf, its backup and the registry. These tests change the
// registry of the machine they run on, so they run only inside the private Wine prefix of the test run.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/resources/resource.h"
#include "tests/support/installed_game.h"
#include "tests/support/notes.h"
#include "tests/support/program_driver.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::ReadBytes;
using test::RunningProgram;
using test::TempGameFolder;
using test::kGameNote;
using test::kGameRunningNote;

constexpr wchar_t kTestInterface[] = L"{0000E2E0-CAFE-4000-8000-000000000001}";
constexpr char kPlayerConfig[] =
    "SET locale \"enUS\"\r\n"
    "SET realmList \"eu.logon.example\"\r\n"
    "SET synchronizeBindings \"1\"\r\n"
    "SET gxResolution \"1024x768\"\r\n";
constexpr char kMacrosLine[] = "SET synchronizeMacros \"0\"\r\n";

class WholeJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::RunningUnderWine())
            GTEST_SKIP() << "changes the machine's registry: runs only in the test run's private Wine prefix";
        // The machine's own registry here: the program runs in another process, which no redirection reaches.
        interfaces = std::make_unique<test::NetworkInterfaces>(std::vector<std::wstring>{kTestInterface});
        ASSERT_TRUE(interfaces->ok());
        installed = std::make_unique<test::InstalledGame>(L"");   // no game key, not even a killed run's
        EXPECT_TRUE(installed->ok());
    }

    TempGameFolder game{kPlayerConfig};
    std::unique_ptr<test::NetworkInterfaces> interfaces;   // put back as they were when the test is done
    std::unique_ptr<test::InstalledGame> installed;   // and the game key
};

TEST_F(WholeJobTest, EveryOptionAppliedAtOnceAndThenRestored)
{
    EXPECT_TRUE(installed->Point(game.folder()));
    RunningProgram program;
    ASSERT_TRUE(program.window());
    for (const int id : {IDC_NETWORK_LATENCY, IDC_TEXTURE_CACHE, IDC_SYNC_CONFIG, IDC_SYNC_MACROS, IDC_SYNC_BINDINGS})
        program.Click(id);
    EXPECT_EQ(program.Text(IDC_NOTE), test::kWindowsNote);
    program.Click(IDC_APPLY);
    EXPECT_FALSE(program.IsEnabled(IDC_REVERT));

    EXPECT_TRUE(interfaces->AllAre(true));
    const std::string applied = game.config();
    EXPECT_EQ(applied.rfind("SET locale \"enUS\"\r\nSET realmList \"eu.logon.example\"\r\n"
                            "SET synchronizeBindings \"0\"\r\nSET gxResolution \"1024x768\"\r\n"
                            "SET textureCacheSize \"", 0), 0u) << applied;
    EXPECT_NE(applied.find("\"\r\nSET synchronizeConfig \"0\"\r\nSET synchronizeMacros \"0\"\r\n"), std::string::npos)
        << applied;
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_NE(applied.find("SET textureCacheSize \"132644864\"\r\n"), std::string::npos)
            << "half of the pinned 256 MiB less the 1024x768x32 primary surface";
    }

    program.Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), kPlayerConfig);
    EXPECT_TRUE(program.IsChecked(IDC_NETWORK_LATENCY));   // the registry is not part of the backup
    for (const int id : {IDC_TEXTURE_CACHE, IDC_SYNC_CONFIG, IDC_SYNC_MACROS, IDC_SYNC_BINDINGS})
        EXPECT_FALSE(program.IsChecked(id)) << "checkbox " << id;
    EXPECT_FALSE(program.IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_TRUE(interfaces->AllAre(true));

    program.Click(IDC_NETWORK_LATENCY);
    program.Click(IDC_REVERT);
    EXPECT_TRUE(program.IsChecked(IDC_NETWORK_LATENCY));
    PostMessageW(program.item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
    EXPECT_EQ(game.config(), kPlayerConfig);
}

TEST_F(WholeJobTest, WithoutTheRegistryKeyThePlayerTypesTheFolder)
{
    RunningProgram program;
    ASSERT_TRUE(program.window());
    EXPECT_TRUE(program.CancelFolderBrowser()) << "the folder browser opens at start when the game is unknown";
    EXPECT_EQ(program.Text(IDC_GAME_PATH), L"");
    program.Type(IDC_GAME_PATH, game.folder());
    EXPECT_TRUE(program.IsEnabled(IDC_APPLY));
    program.Apply({IDC_SYNC_CONFIG});
    program.PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 2);
    EXPECT_EQ(game.config(), std::string(kPlayerConfig) + "SET synchronizeConfig \"0\"\r\n");
    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
}

TEST_F(WholeJobTest, WhileTheGameRunsOnlyTheNetworkIsAppliedAndTheRestWaitsUntilItEnds)
{
    constexpr char kOlderBackup[] = "SET locale \"frFR\"\r\n";
    test::WriteBytes(game.backupPath(), kOlderBackup);
    EXPECT_TRUE(installed->Point(game.folder()));
    auto wow = std::make_unique<test::StandInGame>(game.folder(), L"Wow.exe");
    RunningProgram program;
    ASSERT_TRUE(program.window());
    EXPECT_EQ(program.Text(IDC_NOTE), kGameRunningNote);
    program.Apply({IDC_NETWORK_LATENCY, IDC_SYNC_MACROS});
    EXPECT_EQ(game.config(), kPlayerConfig);
    EXPECT_EQ(ReadBytes(game.backupPath()), kOlderBackup);
    EXPECT_TRUE(interfaces->AllAre(true));
    EXPECT_EQ(program.Text(IDC_NOTE), kGameRunningNote);
    EXPECT_TRUE(program.IsChecked(IDC_SYNC_MACROS));
    EXPECT_TRUE(program.IsEnabled(IDC_REVERT));
    EXPECT_FALSE(program.IsEnabled(IDC_RESTORE_CONFIG));   // nothing of this run is in the backup

    wow->End();
    program.Click(IDC_APPLY);
    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
    EXPECT_EQ(game.config(), std::string(kPlayerConfig) + kMacrosLine);
    EXPECT_FALSE(program.IsEnabled(IDC_REVERT));
    EXPECT_EQ(program.Text(IDC_NOTE), kGameNote);

    // Started again, the game would overwrite a restored file when it exits: Restore waits for it too.
    wow = std::make_unique<test::StandInGame>(game.folder(), L"WowClassic.exe");
    program.Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), std::string(kPlayerConfig) + kMacrosLine);
    EXPECT_TRUE(program.IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_TRUE(program.IsChecked(IDC_SYNC_MACROS));
    EXPECT_EQ(program.Text(IDC_NOTE), kGameRunningNote);
    wow->End();
    program.Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), kPlayerConfig);
    EXPECT_FALSE(program.IsEnabled(IDC_RESTORE_CONFIG));
}

TEST_F(WholeJobTest, TheCrashReporterAndAGameInAnotherFolderDoNotHoldTheApplyBack)
{
    EXPECT_TRUE(installed->Point(game.folder()));
    const test::StandInGame reporter(game.folder(), L"WowError.exe");
    const test::StandInGame elsewhere(game.wtfFolder(), L"Wow.exe");
    RunningProgram program;
    ASSERT_TRUE(program.window());
    EXPECT_EQ(program.Text(IDC_NOTE), L"");
    program.Apply({IDC_SYNC_MACROS});
    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
    EXPECT_EQ(game.config(), std::string(kPlayerConfig) + kMacrosLine);
    EXPECT_EQ(program.Text(IDC_NOTE), kGameNote);
}

}  // namespace
}  // namespace kelvane
