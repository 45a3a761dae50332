// The in-memory document of config.wtf: its setting lines as name/value byte strings, in file order.
#pragma once

#include <forward_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_entry.h"
#include "config/replace_file_contents.h"
#include "config/write_result.h"

namespace kelvane {

class GameConfigFile {
public:
    GameConfigFile() = default;
    GameConfigFile(const GameConfigFile&) = delete;
    GameConfigFile& operator=(const GameConfigFile&) = delete;

    // Reads the file through one read-only mapping. False for a null path (nothing changes), or when the file is
    // missing, unreadable, cannot be mapped, is empty or is not the regular file of its name (a link in its place); `path` keeps the new text in every case but the first.
    bool Load(const wchar_t* path);
    // The first entry named `name` (exact bytes) into `out`; false and `out` untouched when there is none.
    bool GetValue(const wchar_t* name, std::wstring& out) const;
    // Every entry named `name` takes the value; one is appended when none matched.
    void SetValue(const wchar_t* name, const wchar_t* value);
    // Forgets the settings that Save leaves out (those with an empty value): the document reads as its saved file.
    void DropEmptySettings();
    // Replaces the file at `path` with the written form; succeeds when the new file is in place.
    WriteResult Save() const;
    // The same, calling `beforeReplacing` once the written form is flushed and the file found replaceable.
    WriteResult Save(const BeforeReplacing& beforeReplacing) const;

    // config.wtf to config.wtf.bak~ and back, through a flushed temporary file that then takes the target's place;
    // succeeds when the copy did. A failed copy leaves the target as it was.
    WriteResult BackupConfigFile() const;
    WriteResult RestoreConfigFile() const;

    const std::wstring& path() const { return path_; }
    // Valid until the next Load, SetValue or DropEmptySettings; the bytes are the document's.
    const std::vector<ConfigEntry>& entries() const { return entries_; }

private:
    friend WriteResult LoadForRewrite(GameConfigFile& doc, const std::wstring& path);

    // How far a load got: only an unreadable file means that saving could lose settings.
    enum class LoadOutcome { Complete, Missing, Empty, Unreadable };
    // `unreadable`, when given, learns why an unreadable file could not be read.
    LoadOutcome LoadEntries(const wchar_t* path, WriteResult* unreadable = nullptr);

    // Room for the entries of `text`, which has at most `mostLines` lines, so that reading them moves none.
    void MakeRoomForEntries(std::string_view text, std::size_t mostLines);
    // Forgets the entries and every byte they view.
    void Clear();
    // A lasting copy of `bytes` for entries to view.
    std::string_view Keep(std::string bytes);

    std::wstring path_;
    std::vector<ConfigEntry> entries_;
    std::unique_ptr<char[]> fileBytes_;         // the loaded file, which the loaded entries view
    std::forward_list<std::string> setBytes_;   // names and values brought in by SetValue; nodes never move
};

// Loads `doc` from `path` for a read-modify-write: succeeds when saving the document afterwards cannot lose any of
// the player's settings, that is, the file was read whole, or it is missing or empty (0 bytes); otherwise the
// cause is why the file could not be read.
WriteResult LoadForRewrite(GameConfigFile& doc, const std::wstring& path);

// The same copies by path alone: the backup needs no parsing of the file it keeps.
WriteResult BackupConfigFile(const std::wstring& configPath);
WriteResult RestoreConfigFile(const std::wstring& configPath);

// True when nothing is at `path` (no such file or folder, or no path at all): then there is nothing to back up.
bool FileIsMissing(const std::wstring& path);

}  // namespace kelvane
