// Save on a disk with no room left: it fails and the old file stays byte for byte. Run by full_disk_save.sh,
// which prepares a full file system and names its folder in KELVANE_FULL_DISK_DIR.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "config/game_config_file.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

constexpr char kFolderVariable[] = "KELVANE_FULL_DISK_DIR";
constexpr char kOldConfig[] = "SET textureCacheSize \"256\"\r\nSET synchronizeConfig \"0\"\r\n";
constexpr int kManySettings = 20000;   // far more than the few kilobytes the script leaves

TEST(SaveOnFullDisk, FailsAndLeavesTheOldFileUntouched)
{
    const char* folder = std::getenv(kFolderVariable);
    if (!folder || !*folder)
        GTEST_SKIP() << kFolderVariable << " is not set: run through tests/config/full_disk_save.sh";
    const std::string narrow(folder);
    const std::wstring path = std::wstring(narrow.begin(), narrow.end()) + L"\\config.wtf";
    ASSERT_EQ(test::ReadBytes(path), kOldConfig) << "the script puts this config.wtf there";

    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(path.c_str()));
    for (int i = 0; i < kManySettings; ++i)
        doc.SetValue((L"setting" + std::to_wstring(i)).c_str(), L"\"a value long enough to fill the disk\"");
    EXPECT_FALSE(doc.Save());
    EXPECT_EQ(test::ReadBytes(path), kOldConfig);
}

}  // namespace
}  // namespace kelvane
