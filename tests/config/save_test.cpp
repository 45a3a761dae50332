// Saving config.wtf: the exact bytes written, a new file, and every case where the old file must stay as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <set>
#include <thread>

#include "common/unique_handle.h"
#include "config/game_config_file.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::FolderNames;
using test::ReadBytes;
using test::TempFolder;
using test::TempGameFolder;
using test::WriteBytes;
using namespace std::string_literals;

constexpr char kGameFile[] =
    "# written by the game\r\n"
    "SET textureCacheSize \"256\"\r\n"
    "\r\n"
    "  SET   synchronizeConfig   \"1\"  \r\n"
    "SET empty\r\n"
    "SET synchronizeConfig \"0\"\n"
    "SET gxWindow \"1\"";

constexpr ULONGLONG kBriefHoldWaitMs = 2000;   // how long a save waits out another program's hold
constexpr DWORD kReaderHoldMs = 300;

WriteResult LoadSetAndSave(const std::wstring& path, const wchar_t* name, const wchar_t* value)
{
    GameConfigFile doc;
    doc.Load(path.c_str());
    doc.SetValue(name, value);
    return doc.Save();
}

TEST(Save, WritesOneSetLineWithCrLfPerNonEmptyValueInOrder)
{
    TempGameFolder game(kGameFile);
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    doc.SetValue(L"synchronizeMacros", L"\"0\"");
    doc.SetValue(L"gxWindow", L"");
    EXPECT_TRUE(doc.Save());
    EXPECT_EQ(game.config(),
              "SET textureCacheSize \"256\"\r\n"
              "SET SET synchronizeConfig   \"1\"  \r\n"
              "SET synchronizeConfig \"0\"\r\n"
              "SET synchronizeMacros \"0\"\r\n");
    EXPECT_EQ(FolderNames(game.wtfFolder()), std::set<std::wstring>{L"config.wtf"});

    // What was written reads back as the same entries.
    GameConfigFile again;
    ASSERT_TRUE(again.Load(game.configPath().c_str()));
    EXPECT_EQ(again.entries().size(), 4u);
    EXPECT_TRUE(again.Save());
    EXPECT_EQ(again.entries().size(), 4u);
}

// Large documents go out a block at a time: lines that straddle blocks and a value longer than a block.
TEST(Save, AFileLargerThanManyBlocksIsWrittenByteForByte)
{
    std::string original;
    for (int i = 0; i < 40000; ++i)
        original += "SET setting" + std::to_string(i) + " \"" + std::string(static_cast<std::size_t>(i % 97), 'v') + "\"\r\n";
    TempGameFolder game(original);
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    const std::wstring huge(600 * 1024, L'x');
    doc.SetValue(L"setting7", huge.c_str());
    doc.SetValue(L"appended", L"\"1\"");
    EXPECT_TRUE(doc.Save());

    std::string expected = original;
    const std::string seventh = "SET setting7 \"vvvvvvv\"\r\n";
    expected.replace(expected.find(seventh), seventh.size(),
                     "SET setting7 " + std::string(huge.size(), 'x') + "\r\n");
    expected += "SET appended \"1\"\r\n";
    ASSERT_GT(expected.size(), 3u * 1024 * 1024);
    EXPECT_TRUE(game.config() == expected) << "the saved file differs from the expected " << expected.size()
                                           << " bytes";
    EXPECT_EQ(FolderNames(game.wtfFolder()), std::set<std::wstring>{L"config.wtf"});
}

TEST(Save, NothingToWriteLeavesAnEmptyFile)
{
    TempGameFolder game("# comments only\r\n\r\nSET name\r\n");
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    EXPECT_TRUE(doc.Save());
    EXPECT_TRUE(test::FileExists(game.configPath()));
    EXPECT_EQ(game.config(), "");
}

TEST(Save, MissingFileIsCreatedButAMissingFolderIsNot)
{
    TempGameFolder game;
    EXPECT_TRUE(LoadSetAndSave(game.configPath(), L"synchronizeMacros", L"\"0\""));
    EXPECT_EQ(game.config(), "SET synchronizeMacros \"0\"\r\n");

    const std::wstring inMissingFolder = game.folder() + L"\\gone\\config.wtf";
    EXPECT_EQ(LoadSetAndSave(inMissingFolder, L"synchronizeMacros", L"\"0\"").cause(), FailureCause::NoFolder);
    EXPECT_FALSE(test::FileExists(game.folder() + L"\\gone"));

    GameConfigFile neverLoaded;
    neverLoaded.SetValue(L"a", L"1");
    EXPECT_FALSE(neverLoaded.Save());   // no path: nothing relative to the working folder is written
}

TEST(Save, ReadOnlyFileIsLeftAlone)
{
    TempGameFolder game(kGameFile);
    ASSERT_TRUE(SetFileAttributesW(game.configPath().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(LoadSetAndSave(game.configPath(), L"synchronizeMacros", L"\"0\"").cause(), FailureCause::ReadOnly);
    EXPECT_EQ(game.config(), kGameFile);
    EXPECT_EQ(GetFileAttributesW(game.configPath().c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(FolderNames(game.wtfFolder()), std::set<std::wstring>{L"config.wtf"});
}

TEST(Save, FileThatAnotherProgramKeepsFromWritersIsLeftAlone)
{
    struct Holder { DWORD access; DWORD share; };
    // The game writing while letting others only read, and a reader that lets nobody write meanwhile.
    for (const Holder holder : {Holder{GENERIC_WRITE, FILE_SHARE_READ}, Holder{GENERIC_READ, FILE_SHARE_READ},
                                Holder{GENERIC_READ | GENERIC_WRITE, 0}}) {
        TempGameFolder game(kGameFile);
        GameConfigFile doc;
        ASSERT_TRUE(doc.Load(game.configPath().c_str()));
        doc.SetValue(L"synchronizeMacros", L"\"0\"");
        {
            const UniqueFile other = test::HoldOpen(game.configPath(), holder.access, holder.share);
            const ULONGLONG start = GetTickCount64();
            EXPECT_EQ(doc.Save().cause(), FailureCause::InUse);
            EXPECT_GE(GetTickCount64() - start, kBriefHoldWaitMs) << "a hold counts only once it outlasts the wait";
        }
        EXPECT_EQ(game.config(), kGameFile);
        EXPECT_EQ(FolderNames(game.wtfFolder()), std::set<std::wstring>{L"config.wtf"});
        EXPECT_TRUE(doc.Save());   // once the other handle is gone the same document is written
    }
}

TEST(Save, AReaderThatLetsGoWithinTheWaitIsWaitedOut)
{
    TempGameFolder game(kGameFile);
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    doc.SetValue(L"synchronizeMacros", L"\"0\"");
    // Even a reader that shares everything keeps a rename from replacing the file while it holds it.
    auto reader = std::make_shared<UniqueFile>(
        test::HoldOpen(game.configPath(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    std::thread lettingGo([reader] {
        Sleep(kReaderHoldMs);
        *reader = UniqueFile();
    });
    const WriteResult saved = doc.Save();
    lettingGo.join();
    EXPECT_TRUE(saved);
    EXPECT_NE(game.config().find("SET synchronizeMacros \"0\"\r\n"), std::string::npos);
    EXPECT_EQ(FolderNames(game.wtfFolder()), std::set<std::wstring>{L"config.wtf"});
}

TEST(Save, FolderNamedOutsideTheAnsiCodePageIsWritten)
{
    // Greek and CJK letters: no single-byte ANSI code page holds both (Wine's is 1252 under LANG=C.UTF-8).
    TempFolder folder(L"kelvane-\x03A9\x03BC\x03AD\x03B3\x03B1-\x6F22\x5B57");
    ASSERT_TRUE(folder.ok()) << "cannot create the folder, error " << folder.error();
    const std::wstring path = folder / L"config.wtf";
    WriteBytes(path, "SET textureCacheSize \"256\"\r\n");
    EXPECT_TRUE(LoadSetAndSave(path, L"synchronizeBindings", L"\"0\""));
    EXPECT_EQ(ReadBytes(path), "SET textureCacheSize \"256\"\r\nSET synchronizeBindings \"0\"\r\n");
    EXPECT_EQ(FolderNames(folder.path()), std::set<std::wstring>{L"config.wtf"});
}

TEST(Save, RelativePathIsWrittenToTheSameFileAsItsFullForm)
{
    TempGameFolder game(kGameFile);
    wchar_t previous[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(game.wtfFolder().c_str()));
    const WriteResult saved = LoadSetAndSave(L"config.wtf", L"a", L"1");
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(saved);
    EXPECT_EQ(game.config().substr(game.config().size() - 9), "SET a 1\r\n");
}

TEST(Backup, CopiesTheFileBesideItAndBackByteForByte)
{
    const std::string original = "SET a \"1\"\r\n\0\xFF\r raw bytes\n"s;
    TempGameFolder game(original);
    WriteBytes(game.backupPath(), "an older backup");
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    EXPECT_TRUE(doc.BackupConfigFile());
    EXPECT_EQ(ReadBytes(game.backupPath()), original);

    WriteBytes(game.configPath(), "changed since");
    EXPECT_TRUE(doc.RestoreConfigFile());
    EXPECT_EQ(game.config(), original);
    EXPECT_EQ(ReadBytes(game.backupPath()), original);
}

TEST(Backup, FailsWithoutTheFileToCopy)
{
    TempGameFolder game;
    GameConfigFile doc;
    doc.Load(game.configPath().c_str());
    EXPECT_FALSE(doc.BackupConfigFile());
    EXPECT_FALSE(doc.RestoreConfigFile());
    EXPECT_FALSE(test::FileExists(game.configPath()));
    EXPECT_FALSE(test::FileExists(game.backupPath()));
    EXPECT_TRUE(FileIsMissing(game.configPath()));
    EXPECT_TRUE(FileIsMissing(game.folder() + L"\\no such folder\\config.wtf"));
    EXPECT_TRUE(FileIsMissing(L""));
    EXPECT_FALSE(FileIsMissing(game.wtfFolder()));
}

TEST(Backup, AReadOnlyBackupFromAnEarlierRunIsReplaced)
{
    TempGameFolder game(kGameFile);
    WriteBytes(game.backupPath(), "a backup of a read-only config.wtf");
    ASSERT_TRUE(SetFileAttributesW(game.backupPath().c_str(), FILE_ATTRIBUTE_READONLY));
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    EXPECT_TRUE(doc.BackupConfigFile());
    EXPECT_EQ(ReadBytes(game.backupPath()), kGameFile);
}

TEST(Backup, ASourceThatCannotBeReadWholeIsNotCopied)
{
    TempGameFolder game(kGameFile);
    WriteBytes(game.backupPath(), "the backup");
    GameConfigFile doc;
    ASSERT_TRUE(doc.Load(game.configPath().c_str()));
    // Another program writing the source: its bytes may change under the copy.
    constexpr DWORD kWriterShares = FILE_SHARE_READ | FILE_SHARE_WRITE;
    {
        const UniqueFile writer = test::HoldOpen(game.configPath(), GENERIC_WRITE, kWriterShares);
        EXPECT_EQ(doc.BackupConfigFile().cause(), FailureCause::InUse);
    }
    {
        const UniqueFile writer = test::HoldOpen(game.backupPath(), GENERIC_WRITE, kWriterShares);
        EXPECT_EQ(doc.RestoreConfigFile().cause(), FailureCause::InUse);
    }
    EXPECT_EQ(ReadBytes(game.backupPath()), "the backup");
    EXPECT_EQ(game.config(), kGameFile);
    EXPECT_EQ(FolderNames(game.wtfFolder()), (std::set<std::wstring>{L"config.wtf", L"config.wtf.bak~"}));
}

}  // namespace
}  // namespace kelvane
