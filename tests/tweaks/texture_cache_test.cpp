// TextureCacheTweak on real config.wtf files, with the video memory figure supplied through the query seam.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/unique_handle.h"
#include "tests/support/temp_folder.h"
#include "tweaks/texture_cache.h"

namespace kelvane {
namespace {

using test::FileExists;
using test::TempGameFolder;

constexpr OptionMask kOtherBits = kOptionNetworkLatency | kOptionSyncConfig | kOptionSyncBindings | kOptionSyncMacros;

// The seams count their calls, so a test can tell whether the tweak asked for the figure at all.
int queryCalls = 0;
std::optional<std::uint32_t> Reports256MiB()
{
    ++queryCalls;
    return 268435456u;
}
std::optional<std::uint32_t> CannotSay()
{
    ++queryCalls;
    return std::nullopt;
}

class TextureCacheTest : public ::testing::Test {
protected:
    void SetUp() override { queryCalls = 0; }

    // Reads starting from both states of the bit, so a read that left the bit alone cannot pass for one that set it.
    static bool ReadsAsOn(const std::wstring& configPath)
    {
        OptionMask fromOff = kOtherBits;
        OptionMask fromOn = kOtherBits | kOptionTextureCache;
        EXPECT_TRUE(TextureCacheTweak(fromOff, configPath, kRead, &Reports256MiB));
        EXPECT_TRUE(TextureCacheTweak(fromOn, configPath, kRead, &Reports256MiB));
        EXPECT_EQ(fromOff, fromOn) << "the read depended on the bit's earlier state";
        EXPECT_EQ(fromOff & kOtherBits, kOtherBits) << "a read changed another option";
        return (fromOff & kOptionTextureCache) != 0;
    }
};

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

TEST_F(TextureCacheTest, AnyNonEmptyValueReadsAsOnWithoutAskingForTheFigure)
{
    for (const char* line : {"SET textureCacheSize \"256\"\r\n", "SET textureCacheSize whatever you like\n",
                             "SET textureCacheSize 0"}) {
        TempGameFolder game(std::string("SET gxResolution \"1024x768\"\r\n") + line);
        EXPECT_TRUE(ReadsAsOn(game.configPath())) << line;
    }
    EXPECT_EQ(queryCalls, 0);
}

TEST_F(TextureCacheTest, AMissingOrEmptySettingReadsAsOff)
{
    TempGameFolder noFile;
    EXPECT_FALSE(ReadsAsOn(noFile.configPath()));
    TempGameFolder emptyFile("");
    EXPECT_FALSE(ReadsAsOn(emptyFile.configPath()));
    TempGameFolder otherSettings("SET gxResolution \"1024x768\"\r\nSET TextureCacheSize \"256\"\r\n");
    EXPECT_FALSE(ReadsAsOn(otherSettings.configPath()));   // the name is matched with its letter case
    TempGameFolder emptyValue("SET textureCacheSize\r\nSET textureCacheSize \"256\"\r\n");
    EXPECT_FALSE(ReadsAsOn(emptyValue.configPath()));   // the first line decides
    EXPECT_EQ(queryCalls, 0);
}

TEST_F(TextureCacheTest, WritingOnStoresHalfTheFigureInPlaceOfEveryLine)
{
    TempGameFolder game("SET gxResolution \"1024x768\"\r\nSET textureCacheSize \"8\"\r\n"
                        "# a comment\r\nSET gxWindow \"1\"\nSET textureCacheSize \"16\"\r\n");
    OptionMask mask = kOptionTextureCache;
    EXPECT_TRUE(TextureCacheTweak(mask, game.configPath(), kWrite, &Reports256MiB));
    EXPECT_EQ(mask, kOptionTextureCache);
    EXPECT_EQ(queryCalls, 1);
    const std::string written = "SET gxResolution \"1024x768\"\r\nSET textureCacheSize \"134217728\"\r\n"
                                "SET gxWindow \"1\"\r\nSET textureCacheSize \"134217728\"\r\n";
    EXPECT_EQ(game.config(), written);
    EXPECT_TRUE(ReadsAsOn(game.configPath()));

    // The same figure again gives the same file.
    EXPECT_TRUE(TextureCacheTweak(mask, game.configPath(), kWrite, &Reports256MiB));
    EXPECT_EQ(game.config(), written);
}

TEST_F(TextureCacheTest, WritingOnToAMissingOrEmptyFileCreatesTheSetting)
{
    TempGameFolder noFile;
    TempGameFolder emptyFile("");
    for (const TempGameFolder* game : {&noFile, &emptyFile}) {
        OptionMask mask = kOptionTextureCache;
        EXPECT_TRUE(TextureCacheTweak(mask, game->configPath(), kWrite, &Reports256MiB));
        EXPECT_EQ(game->config(), "SET textureCacheSize \"134217728\"\r\n");
    }
}

TEST_F(TextureCacheTest, WritingOffRemovesTheSettingAndKeepsTheOthersInOrder)
{
    TempGameFolder game("SET gxResolution \"1024x768\"\r\nSET textureCacheSize \"134217728\"\r\n"
                        "\r\nSET gxWindow \"1\"\r\nSET textureCacheSize \"7\"\r\nSET synchronizeConfig \"0\"\r\n");
    OptionMask mask = kOtherBits;
    EXPECT_TRUE(TextureCacheTweak(mask, game.configPath(), kWrite, &Reports256MiB));
    EXPECT_EQ(mask, kOtherBits);
    EXPECT_EQ(queryCalls, 0);
    EXPECT_EQ(game.config(), "SET gxResolution \"1024x768\"\r\nSET gxWindow \"1\"\r\nSET synchronizeConfig \"0\"\r\n");
    EXPECT_FALSE(ReadsAsOn(game.configPath()));
}

TEST_F(TextureCacheTest, AFailedQueryLeavesTheFileAsItWas)
{
    const std::string original = "SET textureCacheSize \"64\"  \nSET gxWindow \"1\"\r\n# kept only while untouched\r\n";
    TempGameFolder game(original);
    OptionMask mask = kOptionTextureCache;
    EXPECT_FALSE(TextureCacheTweak(mask, game.configPath(), kWrite, &CannotSay));
    EXPECT_EQ(queryCalls, 1);
    EXPECT_EQ(game.config(), original);
    EXPECT_EQ(mask, kOptionTextureCache);

    TempGameFolder noFile;
    EXPECT_FALSE(TextureCacheTweak(mask, noFile.configPath(), kWrite, &CannotSay));
    EXPECT_FALSE(FileExists(noFile.configPath()));
}

TEST_F(TextureCacheTest, AFileThatCannotBeReadIsNeverReplaced)
{
    const std::string original = "SET gxResolution \"1024x768\"\r\nSET textureCacheSize \"64\"\r\n";
    TempGameFolder game(original);
    {
        // Another program holds the file open and shares nothing.
        const UniqueFile held = test::HoldOpen(game.configPath(), GENERIC_READ, 0);
        for (const OptionMask mask : {kOptionTextureCache, OptionMask{0}}) {
            OptionMask options = mask;
            EXPECT_FALSE(TextureCacheTweak(options, game.configPath(), kWrite, &Reports256MiB)) << mask;
        }
    }
    EXPECT_EQ(game.config(), original);
}

}  // namespace
}  // namespace kelvane
