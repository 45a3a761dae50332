// A link planted in the game folder in place of config.wtf or its backup, leading to a file outside it (one that only
// administrators may read, say): the program, running as administrator, reads, writes, moves and deletes nothing
// through it, and says why.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>
#include <set>

#include "config/game_config_file.h"
#include "tests/support/folder_rights.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::FolderNames;
using test::ReadBytes;

constexpr char kOutside[] = "SET secret \"for administrators only\"\r\n";
constexpr char kPlayer[] = "SET locale \"enUS\"\r\n";
constexpr char kEarlierBackup[] = "SET locale \"frFR\"\r\n";

struct Use {
    const char* what;
    std::function<WriteResult(const std::wstring& configPath)> call;
};

const Use kReadsConfig[] = {
    {"a load for a rewrite", [](const std::wstring& path) { GameConfigFile doc; return LoadForRewrite(doc, path); }},
    {"a save", [](const std::wstring& path) {
         GameConfigFile doc;
         doc.Load(path.c_str());
         doc.SetValue(L"synchronizeMacros", L"\"0\"");
         return doc.Save();
     }},
};
const Use kCopies[] = {{"the backup", BackupConfigFile}, {"Restore", RestoreConfigFile}};

TEST(PlantedLink, NothingIsReadWrittenMovedOrDeletedThroughALinkInPlaceOfConfigOrItsBackup)
{
    struct Plant { const char* what; bool backup; bool hardLink; };
    for (const Plant plant : {Plant{"config.wtf, a symbolic link", false, false},
                              Plant{"config.wtf, a second name", false, true},
                              Plant{"config.wtf.bak~, a symbolic link", true, false},
                              Plant{"config.wtf.bak~, a second name", true, true}}) {
        std::vector<Use> uses(std::begin(kCopies), std::end(kCopies));
        if (!plant.backup)
            uses.insert(uses.end(), std::begin(kReadsConfig), std::end(kReadsConfig));
        for (const Use& use : uses) {
            SCOPED_TRACE(std::string(plant.what) + ", " + use.what);
            test::TempFolder outside(L"kelvane-outside");
            const std::wstring secret = outside / L"secret.wtf";
            test::WriteBytes(secret, kOutside);
            test::TempGameFolder game(kPlayer);
            test::WriteBytes(game.backupPath(), kEarlierBackup);
            const std::wstring planted = plant.backup ? game.backupPath() : game.configPath();
            ASSERT_TRUE(DeleteFileW(planted.c_str()));
            ASSERT_TRUE(plant.hardLink ? CreateHardLinkW(planted.c_str(), secret.c_str(), nullptr)
                                       : test::MakeFileLink(planted, secret));

            EXPECT_EQ(use.call(game.configPath()).cause(), FailureCause::Link);
            EXPECT_EQ(ReadBytes(secret), kOutside);
            EXPECT_EQ(FolderNames(outside.path()), std::set<std::wstring>{L"secret.wtf"});
            EXPECT_EQ(FolderNames(game.wtfFolder()), (std::set<std::wstring>{L"config.wtf", L"config.wtf.bak~"}));
            EXPECT_EQ(ReadBytes(plant.backup ? game.configPath() : game.backupPath()),
                      plant.backup ? kPlayer : kEarlierBackup);
        }
    }
}

}  // namespace
}  // namespace kelvane
