// The option checkboxes, the restart note and Revert, as the user sees them in the real dialog.
#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/notes.h"

namespace kelvane {
namespace {

using test::DialogHarness;
using test::kGameNote;
using test::kWindowsNote;

// The dialog over a game folder known to the registry, so start-up opens no folder browser.
class OptionStateTest : public test::DialogTest {
protected:
    void SetUp() override { Start(); }
};

TEST_F(OptionStateTest, StartsWithEverythingEqualRevertDisabledAndNoNote)
{
    ASSERT_TRUE(ui->window());
    EXPECT_EQ(ui->currentOptions(), ui->appliedOptions());
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_EQ(ui->Text(IDC_NOTE), L"");
    EXPECT_FALSE(ui->IsChecked(IDC_BACKUP_CONFIG));   // no config.wtf yet: nothing to back up
    EXPECT_FALSE(IsWindowVisible(ui->item(IDC_BACKUP_CONFIG)));
}

TEST_F(OptionStateTest, EachCheckboxDrivesItsOwnBit)
{
    const struct { int id; OptionMask bit; } boxes[] = {
        {IDC_NETWORK_LATENCY, kOptionNetworkLatency}, {IDC_TEXTURE_CACHE, kOptionTextureCache},
        {IDC_SYNC_CONFIG, kOptionSyncConfig},         {IDC_SYNC_BINDINGS, kOptionSyncBindings},
        {IDC_SYNC_MACROS, kOptionSyncMacros},
    };
    for (const auto& box : boxes) {
        const OptionMask before = ui->currentOptions();
        ui->Click(box.id);
        EXPECT_EQ(ui->currentOptions(), before ^ box.bit) << "checkbox " << box.id;
        EXPECT_EQ(ui->IsChecked(box.id), (ui->currentOptions() & box.bit) != 0) << "checkbox " << box.id;
    }
    EXPECT_EQ(ui->currentOptions() ^ ui->appliedOptions(), 0x00070003u);
}

TEST_F(OptionStateTest, AGameOptionShowsTheGameNoteUntilItIsUntickedAgain)
{
    ui->Click(IDC_SYNC_MACROS);
    EXPECT_TRUE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), kGameNote);
    ui->Click(IDC_SYNC_MACROS);
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), L"");
    EXPECT_EQ(ui->currentOptions(), ui->appliedOptions());
}

TEST_F(OptionStateTest, OnlyTheToggledOptionDecidesRevertAndTheNetworkNoteWins)
{
    ui->Click(IDC_NETWORK_LATENCY);
    EXPECT_TRUE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), kWindowsNote);
    ui->Click(IDC_TEXTURE_CACHE);
    EXPECT_EQ(ui->Text(IDC_NOTE), kWindowsNote);   // network and a game option differ: windows is named
    ui->Click(IDC_TEXTURE_CACHE);
    // Network still differs, yet the texture checkbox was the one toggled back, so Revert is disabled.
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), kWindowsNote);
}

TEST_F(OptionStateTest, RevertPutsTheCheckboxesBackAndEmptiesTheNote)
{
    const OptionMask applied = ui->appliedOptions();
    const int changed[] = {IDC_NETWORK_LATENCY, IDC_SYNC_CONFIG, IDC_SYNC_BINDINGS};
    for (const int id : changed)
        ui->Click(id);
    ASSERT_NE(ui->currentOptions(), applied);
    SendMessageW(ui->window(), WM_COMMAND, MAKEWPARAM(IDC_REVERT, BN_CLICKED), 0);
    ui->Pump();
    EXPECT_EQ(ui->currentOptions(), applied);
    EXPECT_EQ(ui->appliedOptions(), applied);
    for (const int id : changed)
        EXPECT_FALSE(ui->IsChecked(id)) << "checkbox " << id;
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), L"");
}

TEST_F(OptionStateTest, RevertWithNothingChangedLeavesTheCheckboxesAlone)
{
    const OptionMask before = ui->currentOptions();
    SendMessageW(ui->window(), WM_COMMAND, MAKEWPARAM(IDC_REVERT, BN_CLICKED), 0);
    ui->Pump();
    EXPECT_EQ(ui->currentOptions(), before);
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), L"");
}

TEST_F(OptionStateTest, ACheckboxCommandWithAnotherNotificationChangesNothing)
{
    CheckDlgButton(ui->window(), IDC_SYNC_MACROS, BST_CHECKED);   // the box alone, as if drawn checked
    SendMessageW(ui->window(), WM_COMMAND, MAKEWPARAM(IDC_SYNC_MACROS, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(ui->item(IDC_SYNC_MACROS)));
    ui->Pump();
    EXPECT_EQ(ui->currentOptions(), ui->appliedOptions());
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), L"");
}

TEST_F(OptionStateTest, CloseEndsWithOneAndEscapeWithTwo)
{
    ui->Click(IDOK);
    EXPECT_EQ(ui->quitCode(), 1);
    EXPECT_FALSE(IsWindow(ui->window()));

    DialogHarness second;
    SendMessageW(second.window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_EQ(second.Pump(), 2);
    EXPECT_FALSE(IsWindow(second.window()));
}

TEST_F(OptionStateTest, TabMovesTheFocusThroughTheControlsInTemplateOrder)
{
    SetForegroundWindow(ui->window());
    SetFocus(ui->item(IDC_NETWORK_LATENCY));
    ui->Pump();
    ASSERT_EQ(GetFocus(), ui->item(IDC_NETWORK_LATENCY));
    // Tab goes to the next tab stop that is visible and enabled; IsDialogMessageW does it through the loop's filter.
    ui->PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), ui->item(IDC_TEXTURE_CACHE));
    // Space ticks the focused checkbox, and the dialog hears of it as of a click.
    ui->PressKey(VK_SPACE);
    EXPECT_TRUE(ui->IsChecked(IDC_TEXTURE_CACHE));
    EXPECT_EQ(ui->currentOptions() ^ ui->appliedOptions(), kOptionTextureCache);
    EXPECT_TRUE(ui->IsEnabled(IDC_REVERT));
    // Revert pressed with Space disables itself: the focus must move on to a control that can take keys.
    SetFocus(ui->item(IDC_REVERT));
    ui->PressKey(VK_SPACE);
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_TRUE(GetFocus() && IsWindowEnabled(GetFocus()));
}

}  // namespace
}  // namespace kelvane
