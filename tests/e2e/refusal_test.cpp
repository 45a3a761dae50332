// When the platform or another program refuses a change: the real program leaves the player's files as they were,
// says why and what to do, keeps the change pending, and lands it at a plain retry once the cause is gone. Run once
// as the test run's own account and again, by scripts/test, as an ordinary account whose rights Wine enforces.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "app/resources/resource.h"
#include "tests/support/folder_rights.h"
#include "tests/support/installed_game.h"
#include "tests/support/notes.h"
#include "tests/support/program_driver.h"
#include "tests/support/refusals.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::FolderNames;
using test::RunningProgram;
using test::TempGameFolder;

constexpr char kPlayerConfig[] = "SET locale \"enUS\"\r\nSET gxResolution \"1024x768\"\r\n";
constexpr char kMacrosLine[] = "SET synchronizeMacros \"0\"\r\n";
constexpr char kEarlierBackup[] = "SET locale \"frFR\"\r\n";   // the player's own file from before this utility

// An obstacle put in a game folder; what it returns takes it away again.
using Obstacle = std::function<test::Removal(const TempGameFolder&)>;

test::Removal HoldOpenAsTheGame(const TempGameFolder& game) { return test::ConfigHeldOpen(game, FILE_SHARE_READ); }

// A refusal: what it is, whether config.wtf exists before it and once it is gone, its note and its obstacle.
struct Refusal { const char* what; bool configBefore; bool configAfter; const wchar_t* note; Obstacle put; };

class RefusalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::RunningUnderWine())
            GTEST_SKIP() << "changes the machine's registry: runs only in the test run's private Wine prefix";
        installed = std::make_unique<test::InstalledGame>();
    }
    std::unique_ptr<RunningProgram> StartWith(const TempGameFolder& game)
    {
        EXPECT_TRUE(installed->Point(game.folder()));
        auto program = std::make_unique<RunningProgram>();
        EXPECT_TRUE(program->window());
        return program;
    }
    void RefuseThenLand(const Refusal& refusal);

    std::unique_ptr<test::InstalledGame> installed;   // the game key, put back as it was when the test is done
};

// Refused, the player's files stay as they were (no backup without a change); landed, a config.wtf is backed up
// before its first change, also one that appeared after the first Apply.
void RefusalTest::RefuseThenLand(const Refusal& refusal)
{
    TempGameFolder game(refusal.configBefore ? std::optional<std::string>(kPlayerConfig) : std::nullopt);
    if (refusal.configBefore)
        test::WriteBytes(game.backupPath(), kEarlierBackup);
    const std::unique_ptr<RunningProgram> program = StartWith(game);
    const auto nothingMade = [&](bool landed) {   // when refused: no other file, nor a WTF folder when there was none
        using Names = std::set<std::wstring>;
        EXPECT_TRUE(program->IsChecked(IDC_SYNC_MACROS));
        if (landed)
            return;
        EXPECT_EQ(FolderNames(refusal.configBefore ? game.wtfFolder() : game.folder()),
                  (refusal.configBefore ? Names{L"config.wtf", L"config.wtf.bak~"} : Names{}));
    };
    test::RefuseThenLand(*program, game.configPath(), {refusal.what, [&] { return refusal.put(game); }, refusal.note},
                         {IDC_SYNC_MACROS},
                         {std::string(refusal.configAfter ? kPlayerConfig : "") + kMacrosLine,
                          refusal.configAfter ? std::optional<std::string>(kPlayerConfig) : std::nullopt, nothingMade});
}

// The first three take the game folder's config.wtf or its WTF folder away from the program.
const Refusal kRefusals[] = {
    {"read-only config.wtf", true, true, test::kReadOnlyNote, test::ReadOnlyConfig},
    {"config.wtf held open by another program", true, true, test::kInUseNote, HoldOpenAsTheGame},
    {"a game folder without a WTF folder", false, true, test::kNoWtfFolderNote,
     [](const TempGameFolder& game) {
         EXPECT_TRUE(RemoveDirectoryW(game.wtfFolder().c_str()));
         return test::Removal([&game] {   // the game started once: its config.wtf appears later
             CreateDirectoryW(game.wtfFolder().c_str(), nullptr);
             test::WriteBytes(game.configPath(), kPlayerConfig);
         });
     }},
    {"a game folder that is gone", false, false, test::kGameFolderMissingNote,
     [](const TempGameFolder& game) {
         EXPECT_TRUE(RemoveDirectoryW(game.wtfFolder().c_str()) && RemoveDirectoryW(game.folder().c_str()));
         return test::Removal([&game] {
             CreateDirectoryW(game.folder().c_str(), nullptr);
             CreateDirectoryW(game.wtfFolder().c_str(), nullptr);
         });
     }},
};

TEST_F(RefusalTest, EachCauseHasItsOwnNoteAndThePendingChangeLandsOnceItIsGone)
{
    for (const Refusal& refusal : kRefusals)
        RefuseThenLand(refusal);
}

TEST_F(RefusalTest, ATickTheRefusalKeptPendingSurvivesChoosingTheRightFolderAndAPlainApplyLandsIt)
{
    for (const Refusal& refusal : std::vector<Refusal>(std::begin(kRefusals), std::begin(kRefusals) + 3)) {
        SCOPED_TRACE(refusal.what);
        TempGameFolder wrong(refusal.configBefore ? std::optional<std::string>(kPlayerConfig) : std::nullopt);
        TempGameFolder right(kPlayerConfig);
        const std::unique_ptr<RunningProgram> program = StartWith(wrong);
        const test::Removal remove = refusal.put(wrong);
        test::ExpectRefused(*program, {IDC_SYNC_MACROS}, refusal.note);
        program->Type(IDC_GAME_PATH, right.folder());
        EXPECT_TRUE(program->IsChecked(IDC_SYNC_MACROS));
        program->Click(IDC_APPLY);
        EXPECT_EQ(right.config(), std::string(kPlayerConfig) + kMacrosLine);
        EXPECT_FALSE(program->IsEnabled(IDC_REVERT));
        remove();
    }
}

TEST_F(RefusalTest, EachCauseEvenAWtfFolderWithoutTheRightToWrite)
{
    if (!test::RightsEnforced())
        GTEST_SKIP() << "the platform enforces no folder rights for this account (root under Wine): run as an "
                        "ordinary account, with KELVANE_RIGHTS_ENFORCED set";
    RefuseThenLand({"a WTF folder without the right to write", true, true, test::kAccessDeniedNote,
                    [](const TempGameFolder& game) { return test::WriteRightsGone(game.wtfFolder()); }});
}

TEST_F(RefusalTest, AFailedRestoreChangesNothingAndCanBeTriedAgain)
{
    const std::tuple<const char*, Obstacle, const wchar_t*> obstacles[] = {
        {"config.wtf held open by another program", HoldOpenAsTheGame, test::kRestoreInUse},
        {"read-only config.wtf", test::ReadOnlyConfig, test::kRestoreReadOnly},
    };
    for (const auto& [what, put, remedy] : obstacles) {
        SCOPED_TRACE(what);
        TempGameFolder game(kPlayerConfig);
        const std::unique_ptr<RunningProgram> program = StartWith(game);
        program->Apply({IDC_SYNC_MACROS});
        const std::string applied = std::string(kPlayerConfig) + kMacrosLine;
        ASSERT_EQ(game.config(), applied);

        const test::Removal remove = put(game);
        program->Click(IDC_RESTORE_CONFIG);
        EXPECT_EQ(game.config(), applied);
        EXPECT_EQ(program->Text(IDC_NOTE), std::wstring(test::kRestoreFailedNote) + remedy);
        EXPECT_TRUE(program->IsEnabled(IDC_RESTORE_CONFIG));
        EXPECT_TRUE(program->IsChecked(IDC_SYNC_MACROS));
        EXPECT_EQ(FolderNames(game.wtfFolder()), (std::set<std::wstring>{L"config.wtf", L"config.wtf.bak~"}));

        remove();
        program->Click(IDC_RESTORE_CONFIG);
        EXPECT_EQ(game.config(), kPlayerConfig);
        EXPECT_EQ(program->Text(IDC_NOTE), test::kRestoredNote);
        EXPECT_FALSE(program->IsEnabled(IDC_RESTORE_CONFIG));
        EXPECT_FALSE(program->IsChecked(IDC_SYNC_MACROS));
    }
}

TEST_F(RefusalTest, TheRunningGameNoteFollowsTheFolderTyped)
{
    TempGameFolder game(kPlayerConfig);
    TempGameFolder other(kPlayerConfig);
    const test::StandInGame wow(other.folder(), L"Wow.exe");
    const std::unique_ptr<RunningProgram> program = StartWith(game);
    program->Click(IDC_NETWORK_LATENCY);
    ASSERT_EQ(program->Text(IDC_NOTE), test::kWindowsNote);
    program->Type(IDC_GAME_PATH, other.folder());
    EXPECT_EQ(program->Text(IDC_NOTE), test::kGameRunningNote);
    program->Type(IDC_GAME_PATH, game.folder());
    EXPECT_EQ(program->Text(IDC_NOTE), test::kWindowsNote);   // the note the pending change calls for
    program->Type(IDC_GAME_PATH, other.folder());
    program->Click(IDC_APPLY);   // the network change alone: it lands, and the game holds nothing back
    EXPECT_EQ(program->Text(IDC_NOTE), test::kWindowsNote);
    EXPECT_FALSE(program->IsEnabled(IDC_REVERT));
}

}  // namespace
}  // namespace kelvane
