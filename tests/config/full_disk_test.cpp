// Save, backup and restore on a disk with no room left: each fails and leaves its target byte for byte. Run by
// tests/full_disk.sh, which prepares a full file system with a game folder and names it in KELVANE_FULL_DISK_DIR.
#include <gtest/gtest.h>

#include <string>

#include "config/game_config_file.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

constexpr char kOldConfig[] = "SET textureCacheSize \"256\"\r\nSET synchronizeConfig \"0\"\r\n";
constexpr char kOldBackup[] = "SET synchronizeMacros \"0\"\r\n";
constexpr int kManySettings = 20000;   // far more than the few kilobytes the script leaves

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (folder.empty())
            GTEST_SKIP() << "KELVANE_FULL_DISK_DIR is not set: run through tests/full_disk.sh";
        ASSERT_EQ(test::ReadBytes(config), kOldConfig) << "the script puts this config.wtf there";
        ASSERT_EQ(test::ReadBytes(backup), kOldBackup);
        ASSERT_TRUE(doc.Load(config.c_str()));
    }

    const std::wstring folder = test::FullDiskGameFolder();
    const std::wstring config = folder + L"\\WTF\\config.wtf";
    const std::wstring backup = config + L".bak~";
    GameConfigFile doc;
};

TEST_F(FullDisk, SaveFailsAndLeavesTheOldFileUntouched)
{
    for (int i = 0; i < kManySettings; ++i)
        doc.SetValue((L"setting" + std::to_wstring(i)).c_str(), L"\"a value long enough to fill the disk\"");
    EXPECT_EQ(doc.Save().cause(), FailureCause::DiskFull);
    EXPECT_EQ(test::ReadBytes(config), kOldConfig);
}

TEST_F(FullDisk, NeitherBackupNorRestoreCutsItsTargetShort)
{
    EXPECT_EQ(doc.BackupConfigFile().cause(), FailureCause::DiskFull);
    EXPECT_EQ(test::ReadBytes(backup), kOldBackup);
    EXPECT_EQ(doc.RestoreConfigFile().cause(), FailureCause::DiskFull);
    EXPECT_EQ(test::ReadBytes(config), kOldConfig);
}

}  // namespace
}  // namespace kelvane
