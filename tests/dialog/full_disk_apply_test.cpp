// The first Apply on a disk with no room left: the backup cannot be taken, so nothing of config.wtf is changed
// and the option stays pending. Run by tests/full_disk.sh, which names the game folder in KELVANE_FULL_DISK_DIR.
#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/game_setup.h"
#include "tests/support/notes.h"
#include "tests/support/scratch_registry.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

TEST(FullDiskApply, TheFailedBackupWithholdsEveryChangeOfTheFile)
{
    const std::wstring folder = test::FullDiskGameFolder();
    if (folder.empty())
        GTEST_SKIP() << "KELVANE_FULL_DISK_DIR is not set: run through tests/full_disk.sh";
    test::ScratchRegistry registry;
    test::SetInstallPath(folder);
    test::DialogHarness ui;
    constexpr OptionMask kAsFound = kOptionTextureCache | kOptionSyncConfig;
    ASSERT_EQ(ui.currentOptions(), kAsFound);
    ui.Click(IDC_SYNC_MACROS);
    ui.Click(IDC_SYNC_CONFIG);
    ui.Click(IDC_APPLY);
    EXPECT_EQ(ui.Text(IDC_NOTE), test::kDiskFullNote);
    EXPECT_EQ(ui.appliedOptions(), kAsFound);
    EXPECT_TRUE(ui.IsEnabled(IDC_REVERT));
    EXPECT_FALSE(ui.IsEnabled(IDC_RESTORE_CONFIG));
    // The script checks that config.wtf and the older backup are byte for byte as before.
}

}  // namespace
}  // namespace kelvane
