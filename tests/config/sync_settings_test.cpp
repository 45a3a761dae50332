// The three synchronize accessors against real config.wtf files.
#include <gtest/gtest.h>

#include <windows.h>

#include "common/unique_handle.h"
#include "config/sync_settings.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::TempGameFolder;

using Accessor = WriteResult (*)(OptionMask&, const std::wstring&, int);

struct Setting { Accessor accessor; const char* name; OptionMask bit; };

const Setting kSettings[] = {
    {&SyncConfigTweak, "synchronizeConfig", kOptionSyncConfig},
    {&SyncBindingsTweak, "synchronizeBindings", kOptionSyncBindings},
    {&SyncMacrosTweak, "synchronizeMacros", kOptionSyncMacros},
};

// Reads `bytes` through `setting`, starting from `before`, and returns the mask afterwards.
OptionMask ReadMask(const Setting& setting, const std::string& bytes, OptionMask before)
{
    TempGameFolder game(bytes);
    OptionMask mask = before;
    EXPECT_TRUE(setting.accessor(mask, game.configPath(), kRead));
    return mask;
}

TEST(SyncSettings, OnlyTheExactQuotedZeroReadsAsSetAndNoOtherBitMoves)
{
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(s.name);
        const std::string name = s.name;
        const std::string upper = "S" + name.substr(1);
        for (const OptionMask others : {OptionMask{0}, ~s.bit}) {
            EXPECT_EQ(ReadMask(s, "SET " + name + " \"0\"\r\n", others), others | s.bit);
            EXPECT_EQ(ReadMask(s, "SET " + name + " \"0\"", others | s.bit), others | s.bit);
            EXPECT_EQ(ReadMask(s, "SET " + name + " \"1\"\r\n", others | s.bit), others);
            EXPECT_EQ(ReadMask(s, "SET " + name + " 0\r\n", others | s.bit), others);
            EXPECT_EQ(ReadMask(s, "SET " + name + " \"0\" \r\n", others | s.bit), others);
            EXPECT_EQ(ReadMask(s, "SET " + upper + " \"0\"\r\n", others | s.bit), others);
            EXPECT_EQ(ReadMask(s, "", others | s.bit), others);
            // The first of two lines decides.
            EXPECT_EQ(ReadMask(s, "SET " + name + " \"1\"\r\nSET " + name + " \"0\"\r\n", others), others);
            EXPECT_EQ(ReadMask(s, "SET " + name + " \"0\"\r\nSET " + name + " \"1\"\r\n", others), others | s.bit);
        }
        TempGameFolder missing;
        OptionMask mask = ~OptionMask{0};
        EXPECT_TRUE(s.accessor(mask, missing.configPath(), kRead));
        EXPECT_EQ(mask, ~s.bit);
    }
}

TEST(SyncSettings, WriteAppendsSetsEveryDuplicateOrRemovesEveryLine)
{
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(s.name);
        const std::string name = s.name;
        TempGameFolder game("# header\r\nSET a \"1\"\r\nSET " + name + " \"1\"\r\nSET b\r\nSET c 2\nSET " + name +
                            " \"x\"\r\n");
        OptionMask mask = s.bit;
        EXPECT_TRUE(s.accessor(mask, game.configPath(), kWrite));
        EXPECT_EQ(game.config(),
                  "SET a \"1\"\r\nSET " + name + " \"0\"\r\nSET c 2\r\nSET " + name + " \"0\"\r\n");
        EXPECT_EQ(mask, s.bit);

        mask = 0;
        EXPECT_TRUE(s.accessor(mask, game.configPath(), kWrite));
        EXPECT_EQ(game.config(), "SET a \"1\"\r\nSET c 2\r\n");

        mask = ~OptionMask{0};
        EXPECT_TRUE(s.accessor(mask, game.configPath(), kWrite));
        EXPECT_EQ(game.config(), "SET a \"1\"\r\nSET c 2\r\nSET " + name + " \"0\"\r\n");
        OptionMask read = 0;
        s.accessor(read, game.configPath(), kRead);
        EXPECT_EQ(read, s.bit);
    }
}

TEST(SyncSettings, WriteCreatesAMissingOrEmptyFileWithJustTheSetting)
{
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(s.name);
        TempGameFolder missing;
        TempGameFolder empty("");
        for (const TempGameFolder* game : {&missing, &empty}) {
            OptionMask mask = s.bit;
            EXPECT_TRUE(s.accessor(mask, game->configPath(), kWrite));
            EXPECT_EQ(game->config(), "SET " + std::string(s.name) + " \"0\"\r\n");
        }
        TempGameFolder cleared;
        OptionMask mask = 0;
        EXPECT_TRUE(s.accessor(mask, cleared.configPath(), kWrite));
        EXPECT_EQ(cleared.config(), "");

        OptionMask noFolder = s.bit;
        EXPECT_FALSE(s.accessor(noFolder, missing.folder() + L"\\gone\\config.wtf", kWrite));
    }
}

TEST(SyncSettings, WriteLeavesAFileItCouldNotReadExactlyAsItIs)
{
    const std::string bytes = "SET textureCacheSize \"256\"\r\nSET synchronizeMacros \"1\"\r\n# keep me\r\n";
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(s.name);
        // A writer that lets others only read, as the game does, and one that lets others do anything: Load
        // cannot open the file beside either, though the second would not stop a save.
        for (const DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
            TempGameFolder game(bytes);
            {
                const UniqueFile holder = test::HoldOpen(game.configPath(), GENERIC_WRITE, share);
                for (const OptionMask mask : {s.bit, OptionMask{0}}) {
                    OptionMask options = mask;
                    EXPECT_FALSE(s.accessor(options, game.configPath(), kWrite));
                    EXPECT_EQ(options, mask);
                }
            }
            EXPECT_EQ(game.config(), bytes);
        }
    }
}

}  // namespace
}  // namespace kelvane
