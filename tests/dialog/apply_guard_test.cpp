// What Apply guards in the real dialog: a file it could not read, a refused registry write, a click that comes before
// the typing pauses, and which failure the note names.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "app/resources/resource.h"
#include "common/unique_handle.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/notes.h"

namespace kelvane {
namespace {

constexpr char kPlayerConfig[] = "SET locale \"enUS\"\r\nSET synchronizeConfig \"0\"\r\n";

std::optional<std::uint32_t> NoFigure() { return std::nullopt; }

class ApplyGuardTest : public test::DialogTest {
protected:
    ApplyGuardTest() : DialogTest(kPlayerConfig) { MainDialog::videoMemoryQuery = &NoFigure; }
    ~ApplyGuardTest() override { MainDialog::videoMemoryQuery = &QueryVideoMemory; }
};

TEST_F(ApplyGuardTest, AConfigHeldOpenByAnotherWriterIsNeverReplaced)
{
    Start();
    ui->Apply({IDC_SYNC_MACROS});   // the run's backup is taken: the next Apply goes straight to the file
    const std::string applied = game.config();
    {
        // Sharing everything, it would not stop a save; the file just cannot be read whole beside it.
        const UniqueFile writer = test::HoldOpen(game.configPath(), GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        ui->Apply({IDC_SYNC_BINDINGS});
        EXPECT_EQ(ui->Text(IDC_NOTE), test::kInUseNote);
        EXPECT_EQ(ui->appliedOptions(), kOptionSyncConfig | kOptionSyncMacros);
        EXPECT_TRUE(ui->IsEnabled(IDC_REVERT));
    }
    EXPECT_EQ(game.config(), applied);
    ui->Click(IDC_APPLY);   // let go: the pending option lands
    EXPECT_EQ(game.config(), applied + "SET synchronizeBindings \"0\"\r\n");
}

TEST_F(ApplyGuardTest, ARefusedNetworkWriteStaysPendingAndTheNoteNamesTheFirstFailure)
{
    // The registry refuses one interface of three; the others take the value.
    test::SetNetworkInterface(L"{A}", false);
    const test::DanglingInterface refusing(L"{B}");
    test::SetNetworkInterface(L"{C}", false);
    // The network alone, then with the texture after it, which fails too: the note names the network's refusal.
    for (const bool texture : {false, true}) {
        SCOPED_TRACE(texture ? "network and texture" : "network alone");
        test::ClearNetworkTweak();
        Start();
        if (texture)
            ui->Click(IDC_TEXTURE_CACHE);
        ui->Apply({IDC_NETWORK_LATENCY});
        EXPECT_EQ(ui->Text(IDC_NOTE), test::kNetworkRefusedNote);
        EXPECT_EQ(ui->appliedOptions(), kOptionSyncConfig);
        const OptionMask pending = kOptionNetworkLatency | (texture ? kOptionTextureCache : 0);
        EXPECT_EQ(ui->currentOptions(), kOptionSyncConfig | pending);
        EXPECT_TRUE(ui->IsChecked(IDC_NETWORK_LATENCY));
        EXPECT_TRUE(ui->IsEnabled(IDC_REVERT));
        EXPECT_TRUE(test::InterfaceAcksEverySegment(L"{A}"));
        EXPECT_EQ(game.config(), kPlayerConfig);
        ui.reset();
    }
}

TEST_F(ApplyGuardTest, AClickBeforeTheTypingPausesFindsTheTypedFolderLookedAt)
{
    constexpr char kOther[] = "SET locale \"deDE\"\r\n";
    test::TempGameFolder other(kOther);
    Start();
    // Each folder is typed and clicked at once: its pause timer has not run when the click arrives.
    ui->Click(IDC_SYNC_MACROS);   // not applied yet: the tick goes with the player to the typed folder
    SetWindowTextW(ui->item(IDC_GAME_PATH), other.folder().c_str());
    ui->Click(IDC_APPLY);
    EXPECT_EQ(other.config(), std::string(kOther) + "SET synchronizeMacros \"0\"\r\n");
    EXPECT_EQ(test::ReadBytes(other.backupPath()), kOther);
    EXPECT_TRUE(ui->IsChecked(IDC_SYNC_MACROS));
    EXPECT_FALSE(ui->IsChecked(IDC_SYNC_CONFIG));   // the typed folder's own state, not this folder's

    SetWindowTextW(ui->item(IDC_GAME_PATH), game.folder().c_str());
    ui->Click(IDC_SYNC_BINDINGS);
    EXPECT_EQ(ui->currentOptions(), kOptionSyncConfig | kOptionSyncBindings);
    EXPECT_TRUE(ui->IsChecked(IDC_SYNC_CONFIG));
    EXPECT_TRUE(ui->IsChecked(IDC_SYNC_BINDINGS));
    ui->Click(IDC_APPLY);
    EXPECT_EQ(game.config(), std::string(kPlayerConfig) + "SET synchronizeBindings \"0\"\r\n");
}

}  // namespace
}  // namespace kelvane
