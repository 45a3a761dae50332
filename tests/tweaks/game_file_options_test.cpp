// The four game-file options on real config.wtf files, reached as the dialog reaches them: a read of one loaded
// document, a write through one ConfigEditBatch and its one save.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/unique_handle.h"
#include "config/config_edit_batch.h"
#include "config/sync_settings.h"
#include "tests/support/temp_folder.h"
#include "tweaks/texture_cache.h"

namespace kelvane {
namespace {

using test::TempGameFolder;

// The display memory figure: counted, so a test can tell whether the texture option asked for it at all.
int figureAsked = 0;
bool figureKnown = true;
std::optional<std::uint32_t> Figure()
{
    ++figureAsked;
    return figureKnown ? std::optional<std::uint32_t>(268435456u) : std::nullopt;
}

using ValueRead = std::pair<std::string, bool>;   // a value, and whether it reads as on

struct GameFileOption {
    std::string name;
    OptionMask bit;
    std::function<WriteResult(OptionMask&, GameConfigFile&, int)> access;
    std::string written;   // the value a write of the option leaves
    std::vector<ValueRead> reads;
};

const std::vector<ValueRead> kSyncReads = {{"\"0\"", true}, {"\"1\"", false}, {"0", false}, {"\"0\" ", false}};

const GameFileOption kOptions[] = {
    {"textureCacheSize", kOptionTextureCache,
     [](OptionMask& options, GameConfigFile& document, int flag) {
         return TextureCacheTweak(options, document, flag, &Figure);
     },
     "\"134217728\"", {{"\"256\"", true}, {"whatever you like", true}, {"0", true}, {"\"0\" ", true}}},
    {"synchronizeBindings", kOptionSyncBindings, &SyncBindingsTweak, "\"0\"", kSyncReads},
    {"synchronizeConfig", kOptionSyncConfig, &SyncConfigTweak, "\"0\"", kSyncReads},
    {"synchronizeMacros", kOptionSyncMacros, &SyncMacrosTweak, "\"0\"", kSyncReads},
};

class GameFileOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { figureAsked = 0, figureKnown = true; }

    // Reads config.wtf holding `bytes` (none: no file) from no bit set and from every bit set: the answer must not
    // depend on the bit's earlier state, and no other bit may move.
    static bool ReadsAsOn(const GameFileOption& option, const std::optional<std::string>& bytes)
    {
        TempGameFolder game(bytes);
        GameConfigFile document;
        document.Load(game.configPath().c_str());
        OptionMask fromNone = 0, fromAll = ~OptionMask{0};
        EXPECT_TRUE(option.access(fromNone, document, kRead));
        EXPECT_TRUE(option.access(fromAll, document, kRead));
        EXPECT_EQ(fromNone & ~option.bit, 0u) << "a read moved another option";
        EXPECT_EQ(fromAll, fromNone | ~option.bit) << "a read moved another option or kept the bit's earlier state";
        return (fromNone & option.bit) != 0;
    }

    // One Apply's write of the option with the bits of `mask`: one batch, one edit, one save.
    static WriteResult Write(const GameFileOption& option, const std::wstring& configPath, OptionMask mask)
    {
        ConfigEditBatch batch(configPath);
        OptionMask options = mask;
        const WriteResult edited =
            batch.Edit([&](GameConfigFile& document) { return option.access(options, document, kWrite); });
        const WriteResult saved = batch.Save();
        EXPECT_EQ(options, mask) << "a write changed the options";
        return edited ? saved : edited;
    }
};

TEST_F(GameFileOptionsTest, EachValueReadsByItsOptionsRuleAndTheFirstLineDecides)
{
    for (const GameFileOption& option : kOptions) {
        SCOPED_TRACE(option.name);
        const std::string set = "SET " + option.name;
        for (const auto& [value, on] : option.reads) {
            for (const char* end : {"\r\n", ""})
                EXPECT_EQ(ReadsAsOn(option, "SET gxWindow \"1\"\r\n" + set + " " + value + end), on) << value;
        }
        EXPECT_FALSE(ReadsAsOn(option, std::nullopt));
        EXPECT_FALSE(ReadsAsOn(option, ""));
        EXPECT_FALSE(ReadsAsOn(option, "SET " + std::string(1, option.name[0] - 'a' + 'A') + option.name.substr(1) +
                                           " " + option.written + "\r\n"));   // the name's letter case counts
        EXPECT_FALSE(ReadsAsOn(option, set + "\r\n" + set + " " + option.written + "\r\n"));
        EXPECT_TRUE(ReadsAsOn(option, set + " " + option.written + "\r\n" + set + "\r\n"));
    }
    EXPECT_EQ(figureAsked, 0);
}

TEST_F(GameFileOptionsTest, WriteSetsOrRemovesEveryLineKeepsTheOthersInOrderAndCreatesAMissingFile)
{
    for (const GameFileOption& option : kOptions) {
        SCOPED_TRACE(option.name);
        const std::string line = "SET " + option.name + " " + option.written + "\r\n";
        TempGameFolder game("# header\r\nSET a \"1\"\r\nSET " + option.name + " \"1\"\r\nSET b\r\nSET c 2\nSET " +
                            option.name + " \"x\"\r\n");
        for (int again = 0; again < 2; ++again) {   // the same write again gives the same file
            EXPECT_TRUE(Write(option, game.configPath(), option.bit));
            EXPECT_EQ(game.config(), "SET a \"1\"\r\n" + line + "SET c 2\r\n" + line);
        }
        EXPECT_TRUE(ReadsAsOn(option, game.config()));

        EXPECT_TRUE(Write(option, game.configPath(), ~option.bit));
        EXPECT_EQ(game.config(), "SET a \"1\"\r\nSET c 2\r\n");
        EXPECT_FALSE(ReadsAsOn(option, game.config()));

        EXPECT_TRUE(Write(option, game.configPath(), ~OptionMask{0}));
        EXPECT_EQ(game.config(), "SET a \"1\"\r\nSET c 2\r\n" + line);

        // A missing or empty file gets just the setting.
        TempGameFolder missing;
        TempGameFolder empty("");
        for (const TempGameFolder* game : {&missing, &empty}) {
            EXPECT_TRUE(Write(option, game->configPath(), option.bit));
            EXPECT_EQ(game->config(), line);
        }
        TempGameFolder cleared;
        EXPECT_TRUE(Write(option, cleared.configPath(), 0));
        EXPECT_EQ(cleared.config(), "");
        EXPECT_FALSE(Write(option, missing.folder() + L"\\gone\\config.wtf", option.bit));
    }
    EXPECT_EQ(figureAsked, 6);   // only the texture option's writes of the bit set ask for it
}

TEST_F(GameFileOptionsTest, AFileThatCouldNotBeReadIsNeverReplaced)
{
    const std::string bytes = "SET textureCacheSize \"256\"\r\nSET synchronizeMacros \"1\"\r\n# keep me\r\n";
    // Another program that shares nothing; a writer that lets others only read, as the game does; and one that lets
    // others do anything: Load cannot read the file beside any of them, though the last would not stop a save.
    const struct { DWORD access, share; } holders[] = {
        {GENERIC_READ, 0},
        {GENERIC_WRITE, FILE_SHARE_READ},
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
    };
    for (const GameFileOption& option : kOptions) {
        SCOPED_TRACE(option.name);
        for (const auto& holder : holders) {
            TempGameFolder game(bytes);
            {
                const UniqueFile held = test::HoldOpen(game.configPath(), holder.access, holder.share);
                for (const OptionMask mask : {option.bit, OptionMask{0}})
                    EXPECT_FALSE(Write(option, game.configPath(), mask)) << holder.access << " " << holder.share;
            }
            EXPECT_EQ(game.config(), bytes);
        }
    }
}

TEST(TextureCacheValueTest, IsHalfTheTotalRoundedDownBetweenQuotes)
{
    EXPECT_EQ(TextureCacheValue(268435456u), L"\"134217728\"");
    EXPECT_EQ(TextureCacheValue(268435457u), L"\"134217728\"");
    EXPECT_EQ(TextureCacheValue(265289728u), L"\"132644864\"");
    EXPECT_EQ(TextureCacheValue(1u), L"\"0\"");
    // The unsigned shift keeps the largest total positive.
    EXPECT_EQ(TextureCacheValue(0xFFFFFFFFu), L"\"2147483647\"");
    EXPECT_EQ(TextureCacheValue(0x80000000u), L"\"1073741824\"");
}

TEST_F(GameFileOptionsTest, WithoutTheFigureTheTextureOptionLeavesTheFileAsItWas)
{
    figureKnown = false;
    const std::string original = "SET textureCacheSize \"64\"  \nSET gxWindow \"1\"\r\n# kept only while untouched\r\n";
    TempGameFolder game(original);
    EXPECT_EQ(Write(kOptions[0], game.configPath(), kOptionTextureCache).cause(), FailureCause::NoVideoMemory);
    EXPECT_EQ(game.config(), original);
    TempGameFolder noFile;
    EXPECT_FALSE(Write(kOptions[0], noFile.configPath(), kOptionTextureCache));
    EXPECT_FALSE(test::FileExists(noFile.configPath()));
    EXPECT_EQ(figureAsked, 2);
}

}  // namespace
}  // namespace kelvane
