// Apply on a disk with no room left: a backup that cannot be taken withholds every change of config.wtf, and a save
// that cannot be made keeps every game-file option of the Apply pending. Run by tests/full_disk.sh, which names the
// game folder in KELVANE_FULL_DISK_DIR and fills the disk with the file "filler" beside WTF.
#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/files.h"
#include "tests/support/notes.h"

namespace kelvane {
namespace {

// Takes every block that is left, as the script did.
void FillDisk(const std::wstring& filler)
{
    const UniqueFile file(CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string block(4096, '\0');
    DWORD written = 0;
    while (WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written > 0) {
    }
}

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
};

TEST_F(FullDiskApply, TheFailedBackupWithholdsEveryChangeOfTheFile)
{
    constexpr OptionMask kAsFound = kOptionTextureCache | kOptionSyncConfig;
    ASSERT_EQ(ui->currentOptions(), kAsFound);
    ui->Apply({IDC_SYNC_MACROS, IDC_SYNC_CONFIG});
    EXPECT_EQ(ui->Text(IDC_NOTE), test::kDiskFullNote);
    EXPECT_EQ(ui->appliedOptions(), kAsFound);
    EXPECT_TRUE(ui->IsEnabled(IDC_REVERT));
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    // The script checks that config.wtf and the older backup are byte for byte as before.
}

TEST_F(FullDiskApply, AFailedSaveKeepsEveryGameFileOptionOfTheApplyPending)
{
    const std::wstring config = folder + L"\\WTF\\config.wtf";
    const std::wstring filler = folder + L"\\filler";
    const std::string oldConfig = test::ReadBytes(config);
    const std::string oldBackup = test::ReadBytes(config + L".bak~");
    ASSERT_TRUE(DeleteFileW(filler.c_str()));   // room for the backup and a first change
    ui->Apply({IDC_SYNC_MACROS});
    const test::SaveObstacle full{"a full disk",
                                  [&filler] {
                                      FillDisk(filler);
                                      return [&filler] { DeleteFileW(filler.c_str()); };
                                  },
                                  test::kDiskFullNote};
    test::ExpectTheFourLandTogether(*ui, config, full, "SET synchronizeBindings \"0\"\r\n");
    // Left as the script made it, for its own check.
    test::WriteBytes(config, oldConfig);
    test::WriteBytes(config + L".bak~", oldBackup);
    FillDisk(filler);
}

}  // namespace
}  // namespace kelvane
