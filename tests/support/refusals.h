// Refused changes, for the dialog in this process and the real program in another alike: what a player's machine
// puts in the way of config.wtf (put by a call, taken away by what it returns, failing the test when it cannot be
// put), and the road of a refused Apply: refused, nothing changed, the obstacle gone, a plain Apply lands it.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "tests/support/dialog_items.h"
#include "tests/support/folder_rights.h"
#include "tests/support/notes.h"
#include "tests/support/temp_folder.h"

namespace kelvane::test {

using Removal = std::function<void()>;

inline Removal ReadOnlyConfig(const GameFolder& game)
{
    EXPECT_TRUE(SetFileAttributesW(game.configPath().c_str(), FILE_ATTRIBUTE_READONLY));
    return [config = game.configPath()] { SetFileAttributesW(config.c_str(), FILE_ATTRIBUTE_NORMAL); };
}

// Another program's handle on config.wtf, for reading and writing, letting others do only `share` (the game: read).
inline Removal ConfigHeldOpen(const GameFolder& game, DWORD share)
{
    auto held = std::make_shared<UniqueFile>(HoldOpen(game.configPath(), GENERIC_READ | GENERIC_WRITE, share));
    return [held] { *held = UniqueFile(); };
}

inline Removal FolderInTheWay(const std::wstring& path)   // a folder where a file is to go
{
    EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    return [path] { RemoveDirectoryW(path.c_str()); };
}

// config.wtf's bytes moved to `target` and a link to it in config.wtf's place; taken away, no config.wtf is left.
inline Removal ConfigLinkedTo(const GameFolder& game, const std::wstring& target)
{
    WriteBytes(target, ReadBytes(game.configPath()));
    DeleteFileW(game.configPath().c_str());
    EXPECT_TRUE(MakeFileLink(game.configPath(), target));
    return [config = game.configPath()] { DeleteFileW(config.c_str()); };
}

inline Removal FillDisk(const std::wstring& filler)   // every block left on the disk, in the file `filler`
{
    const UniqueFile file(CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string block(4096, '\0');
    for (DWORD written = 1; written && WriteFile(file.get(), block.data(), 4096, &written, nullptr);) {
    }
    return [filler] { DeleteFileW(filler.c_str()); };
}

inline Removal WriteRightsGone(const std::wstring& folder)   // only where rights are enforced (folder_rights.h)
{
    auto rights = std::make_shared<WriteRightsTaken>(folder);
    EXPECT_TRUE(rights->taken()) << "the platform still lets this account write to the folder";
    return [rights] { rights->GiveBack(); };
}

// What is put in the way (no `put`: nothing) and the note the refused Apply shows.
struct Obstacle { const char* what; std::function<Removal()> put; const wchar_t* note; };
// What the Apply once the obstacle is gone leaves: config.wtf, its backup when given, and what the caller checks
// besides, after the refused Apply (false) and after the landed one (true).
struct Landing { std::string config; std::optional<std::string> backup; std::function<void(bool landed)> check; };

// Ticks or unticks `ids` and presses Apply: the note is `note`, and the change is pending.
inline void ExpectRefused(DialogItems& ui, std::initializer_list<int> ids, const wchar_t* note)
{
    ui.Apply(ids);
    EXPECT_EQ(ui.Text(IDC_NOTE), note);
    EXPECT_TRUE(ui.IsEnabled(IDC_REVERT)) << "the change is pending";
}

// The obstacle goes in, ExpectRefused leaves config.wtf and its backup byte for byte as they were, the obstacle
// goes, and a plain Apply lands `landing` with the game's note and nothing left pending.
inline void RefuseThenLand(DialogItems& ui, const std::wstring& configPath, const Obstacle& obstacle,
                           std::initializer_list<int> ids, const Landing& landing)
{
    SCOPED_TRACE(obstacle.what);
    const std::wstring backupPath = configPath + L".bak~";
    if (obstacle.put) {
        const Removal remove = obstacle.put();
        const std::string config = ReadBytes(configPath), backup = ReadBytes(backupPath);
        ExpectRefused(ui, ids, obstacle.note);
        EXPECT_EQ(ReadBytes(configPath), config);
        EXPECT_EQ(ReadBytes(backupPath), backup);
        landing.check(false);
        remove();
        ui.Click(IDC_APPLY);
    } else {
        ui.Apply(ids);
    }
    EXPECT_EQ(ReadBytes(configPath), landing.config);
    if (landing.backup) {
        EXPECT_EQ(ReadBytes(backupPath), *landing.backup);
    }
    EXPECT_EQ(ui.Text(IDC_NOTE), kGameNote);
    EXPECT_FALSE(ui.IsEnabled(IDC_REVERT));
    landing.check(true);
}

}  // namespace kelvane::test
