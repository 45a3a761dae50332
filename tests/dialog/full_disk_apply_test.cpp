// Apply on a disk with no room left: the temporary file of the save cannot be made, so the Apply is refused before
// any backup is taken, and every game-file option of the Apply stays pending. Run by tests/full_disk.sh, which names
// the game folder in KELVANE_FULL_DISK_DIR and fills the disk with the file "filler" beside WTF.
#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/files.h"
#include "tests/support/notes.h"
#include "tests/support/refusals.h"

namespace kelvane {
namespace {

// The dialog over the game folder that the script prepared.
class FullDiskApply : public test::DialogTest {
protected:
    void SetUp() override
    {
        if (folder.empty())
            GTEST_SKIP() << "KELVANE_FULL_DISK_DIR is not set: run through tests/full_disk.sh";
        test::SetInstallPath(folder);
        Start();
    }

    const std::wstring folder = test::FullDiskGameFolder();
    const std::wstring config = folder + L"\\WTF\\config.wtf";
};

TEST_F(FullDiskApply, TheTemporaryFileFailsBeforeAnyBackupIsTaken)
{
    constexpr OptionMask kAsFound = kOptionTextureCache | kOptionSyncConfig;
    ASSERT_EQ(ui->currentOptions(), kAsFound);
    test::ExpectRefused(*ui, {IDC_SYNC_MACROS, IDC_SYNC_CONFIG}, test::kDiskFullNote);
    EXPECT_EQ(ui->appliedOptions(), kAsFound);
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    // The script checks that config.wtf and the older backup are byte for byte as before.
}

TEST_F(FullDiskApply, AFailedSaveKeepsEveryGameFileOptionOfTheApplyPending)
{
    const std::wstring filler = folder + L"\\filler";
    const std::string oldConfig = test::ReadBytes(config);
    const std::string oldBackup = test::ReadBytes(config + L".bak~");
    ASSERT_TRUE(DeleteFileW(filler.c_str()));   // room for the backup and a first change
    ui->Apply({IDC_SYNC_MACROS});
    test::RefuseThenLand(*ui, config,
                         {"a full disk", [&filler] { return test::FillDisk(filler); }, test::kDiskFullNote},
                         {IDC_TEXTURE_CACHE, IDC_SYNC_BINDINGS, IDC_SYNC_CONFIG, IDC_SYNC_MACROS},
                         {"SET synchronizeBindings \"0\"\r\n", std::nullopt, test::AppliedOnlyOnceLanded(*ui)});
    // Left as the script made it, for its own check.
    test::WriteBytes(config, oldConfig);
    test::WriteBytes(config + L".bak~", oldBackup);
    test::FillDisk(filler);
}

}  // namespace
}  // namespace kelvane
