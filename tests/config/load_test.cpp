// Loading config.wtf from real files: what Load answers and what `path` and the entries hold afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include "common/unique_handle.h"
#include "config/game_config_file.h"
#include "config/mapped_file_view.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::TempGameFolder;
using test::HoldOpen;
using test::WriteBytes;

// A document that already holds a path and an entry, so a test sees what Load replaced.
void Preload(GameConfigFile& doc, const TempGameFolder& game)
{
    const std::wstring earlier = game.folder() + L"\\earlier.wtf";
    WriteBytes(earlier, "SET earlier \"1\"\r\n");
    ASSERT_TRUE(doc.Load(earlier.c_str()));
    ASSERT_EQ(doc.entries().size(), 1u);
}

TEST(Load, ReadsEverySettingLineInFileOrder)
{
    TempGameFolder game("# saved by the game\r\nSET a \"1\"\r\n\r\nSET b \"2\"\nSET a \"3\"\nSET c");
    GameConfigFile doc;
    EXPECT_TRUE(doc.Load(game.configPath().c_str()));
    EXPECT_EQ(doc.path(), game.configPath());
    const std::vector<ConfigEntry> expected = {{"a", "\"1\""}, {"b", "\"2\""}, {"a", "\"3\""}, {"c", ""}};
    EXPECT_EQ(doc.entries(), expected);
}

TEST(Load, CommentsAndEmptyLinesOnlyLoadAsAnEmptyDocument)
{
    TempGameFolder game("# nothing\r\n\r\nset lower \"1\"\r\n");
    GameConfigFile doc;
    EXPECT_TRUE(doc.Load(game.configPath().c_str()));
    EXPECT_TRUE(doc.entries().empty());
}

TEST(Load, MissingEmptyAndLockedFilesLoadFalseWithTheNewPathAndNoEntries)
{
    TempGameFolder missing;
    TempGameFolder empty("");
    TempGameFolder locked("SET synchronizeConfig \"0\"\r\n");
    const UniqueFile writer = HoldOpen(locked.configPath(), GENERIC_WRITE, FILE_SHARE_READ);

    for (const TempGameFolder* game : {&missing, &empty, &locked}) {
        GameConfigFile doc;
        Preload(doc, *game);
        EXPECT_FALSE(doc.Load(game->configPath().c_str()));
        EXPECT_EQ(doc.path(), game->configPath());
        EXPECT_TRUE(doc.entries().empty());
    }
}

TEST(Load, NullPathChangesNothing)
{
    TempGameFolder game;
    GameConfigFile doc;
    Preload(doc, game);
    const std::wstring before = doc.path();
    EXPECT_FALSE(doc.Load(nullptr));
    EXPECT_EQ(doc.path(), before);
    ASSERT_EQ(doc.entries().size(), 1u);
    EXPECT_EQ(doc.entries()[0].name, "earlier");

    GameConfigFile fresh;
    EXPECT_FALSE(fresh.Load(nullptr));
    EXPECT_TRUE(fresh.path().empty());
}

TEST(Load, ForRewriteOnlyWhenSavingCannotLoseSettings)
{
    TempGameFolder full("SET a \"1\"\r\n");
    TempGameFolder missing;
    TempGameFolder empty("");
    TempGameFolder locked("SET a \"1\"\r\n");
    const UniqueFile writer = HoldOpen(locked.configPath(), GENERIC_WRITE, FILE_SHARE_READ);
    TempGameFolder noFolder;
    const std::wstring inMissingFolder = noFolder.folder() + L"\\gone\\WTF\\config.wtf";

    GameConfigFile doc;
    EXPECT_TRUE(LoadForRewrite(doc, full.configPath()));
    EXPECT_EQ(doc.entries().size(), 1u);
    EXPECT_TRUE(LoadForRewrite(doc, missing.configPath()));
    EXPECT_TRUE(LoadForRewrite(doc, empty.configPath()));
    EXPECT_TRUE(LoadForRewrite(doc, inMissingFolder));
    EXPECT_EQ(LoadForRewrite(doc, locked.configPath()).cause(), FailureCause::InUse);
    EXPECT_EQ(doc.path(), locked.configPath());
    // A folder where the file should be cannot be read, and is not "missing" either.
    EXPECT_FALSE(LoadForRewrite(doc, full.folder()));
}

TEST(Load, GetValueTakesTheFirstExactNameAndLeavesOutAloneWhenMissing)
{
    TempGameFolder game("SET synchronizeConfig \"1\"\r\nSET synchronizeConfig \"0\"\r\nSET textureCacheSize "
                        "\"256\"\r\nSET name \xC3\xA9\xE9xy\r\nSET n\xC3\xA9 \"accent\"\r\n");
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    std::wstring out = L"sentinel";
    EXPECT_TRUE(doc.GetValue(L"synchronizeConfig", out));
    EXPECT_EQ(out, L"\"1\"");
    out = L"sentinel";
    EXPECT_FALSE(doc.GetValue(L"TextureCacheSize", out));
    EXPECT_FALSE(doc.GetValue(L"synchronize", out));
    EXPECT_EQ(out, L"sentinel");
    EXPECT_TRUE(doc.GetValue(L"name", out));
    EXPECT_EQ(out, L"\x00E9\x9E39");
    EXPECT_TRUE(doc.GetValue(L"n\x00E9", out));
    EXPECT_EQ(out, L"\"accent\"");
}

TEST(Load, SetValueChangesEveryMatchInPlaceOrAppends)
{
    TempGameFolder game("SET synchronizeConfig \"1\"\r\nSET other 1\r\nSET synchronizeConfig \"0\"\r\n");
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    doc.SetValue(L"synchronizeConfig", L"\"2\"");
    doc.SetValue(L"textureCacheSize", L"\x20AC");
    doc.SetValue(L"other", L"");
    const std::vector<ConfigEntry> expected = {{"synchronizeConfig", "\"2\""},
                                               {"other", ""},
                                               {"synchronizeConfig", "\"2\""},
                                               {"textureCacheSize", "\xE2\x82\xAC"}};
    EXPECT_EQ(doc.entries(), expected);
}

TEST(MappedFile, ViewsTheWholeFileOrAPartAndNothingForAnEmptyOne)
{
    TempGameFolder game("0123456789");
    const MappedFileView whole(game.configPath().c_str());
    ASSERT_EQ(whole.size(), 10u);
    EXPECT_EQ(std::string(whole.data(), 10), "0123456789");
    const MappedFileView part(game.configPath().c_str(), 0, 4);
    ASSERT_EQ(part.size(), 4u);
    EXPECT_EQ(std::string(part.data(), 4), "0123");

    TempGameFolder empty("");
    const MappedFileView none(empty.configPath().c_str());
    EXPECT_EQ(none.size(), 0u);
    EXPECT_EQ(none.data(), nullptr);
}

TEST(MappedFile, FileIsFreeOnceTheViewExistsAndLockedAgainstWritersOnlyWhileOpening)
{
    TempGameFolder game("SET a b\r\n");
    {
        const MappedFileView view(game.configPath().c_str());
        // The file handle is closed already: a writer that denies sharing can open it beside the view.
        const UniqueFile writer = HoldOpen(game.configPath(), GENERIC_READ, FILE_SHARE_READ);
    }
    const UniqueFile writer = HoldOpen(game.configPath(), GENERIC_WRITE, FILE_SHARE_READ);
    try {
        MappedFileView view(game.configPath().c_str());
        ADD_FAILURE() << "mapped a file held open for writing";
    } catch (const std::exception&) {
    }
}

}  // namespace
}  // namespace kelvane
