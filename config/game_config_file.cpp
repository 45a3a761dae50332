// The config.wtf document: loading through a mapping, lookups by exact name, saving, backup and restore.
#include "config/game_config_file.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>

#include "config/config_text.h"
#include "config/mapped_file_view.h"
#include "config/replace_file_contents.h"
#include "config/utf8.h"
#include "config/windows_exception.h"

namespace kelvane {
namespace {

constexpr wchar_t kBackupSuffix[] = L".bak~";
constexpr std::size_t kCopyBlockSize = 64 * 1024;

std::wstring_view TextOf(const wchar_t* text) { return text ? std::wstring_view(text) : std::wstring_view(); }

// The Windows error behind a failure, or 0 when it was not one of Windows' (no memory, say).
DWORD ErrorOf(const std::exception& failure)
{
    const auto* windowsFailure = dynamic_cast<const win::windows_exception*>(&failure);
    return windowsFailure ? windowsFailure->code() : 0;
}

WriteResult CopySafely(const std::wstring& from, const std::wstring& to)
{
    try {
        return CopyFileContents(from, to);
    } catch (const std::exception&) {   // no memory to copy through: nothing was written
        return FailureCause::Other;
    }
}

}  // namespace

bool GameConfigFile::Load(const wchar_t* path)
{
    return path && LoadEntries(path) == LoadOutcome::Complete;
}

GameConfigFile::LoadOutcome GameConfigFile::LoadEntries(const wchar_t* path, WriteResult* unreadable)
{
    try {
        path_ = path;
        entries_.clear();
        const MappedFileView view(path_.c_str());
        if (view.size() == 0)
            return LoadOutcome::Empty;
        const std::string_view mapped(view.data(), static_cast<std::size_t>(view.size()));
        entries_.reserve(CountSettingLines(mapped));
        // The bytes are copied out of the view a block at a time into memory that stays in the cache, and cut
        // into lines there; a copy of the whole file would cost as much again in fresh pages.
        const std::unique_ptr<char[]> block(new char[kCopyBlockSize]);
        EntryReader reader(entries_);
        for (std::size_t offset = 0; offset < mapped.size(); offset += kCopyBlockSize) {
            const std::size_t length = std::min(kCopyBlockSize, mapped.size() - offset);
            std::memcpy(block.get(), mapped.data() + offset, length);
            reader.Feed(std::string_view(block.get(), length));
        }
        reader.Finish();
        return LoadOutcome::Complete;
    } catch (const std::exception& failure) {
        // Every failure ends the load quietly; entries appended before it stay.
        const DWORD error = ErrorOf(failure);
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return LoadOutcome::Missing;
        if (unreadable)
            *unreadable = WriteResult::FromError(error);
        return LoadOutcome::Unreadable;
    }
}

bool GameConfigFile::GetValue(const wchar_t* name, std::wstring& out) const
{
    const std::string key = EncodeUtf8(TextOf(name));
    for (const ConfigEntry& entry : entries_) {
        if (entry.name == key) {
            out = DecodeUtf8(entry.value);
            return true;
        }
    }
    return false;
}

void GameConfigFile::SetValue(const wchar_t* name, const wchar_t* value)
{
    const std::string key = EncodeUtf8(TextOf(name));
    const std::string bytes = EncodeUtf8(TextOf(value));
    bool matched = false;
    for (ConfigEntry& entry : entries_) {
        if (entry.name == key) {
            entry.value = bytes;
            matched = true;
        }
    }
    if (!matched)
        entries_.push_back(ConfigEntry{key, bytes});
}

void GameConfigFile::DropEmptySettings()
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const ConfigEntry& entry) { return entry.value.empty(); }),
                   entries_.end());
}

WriteResult GameConfigFile::Save() const
{
    try {
        return ReplaceFileContents(path_, [this](ContentWriter& out) -> WriteResult {
            const bool written = PutWrittenForm(entries_, [&out](std::string_view piece) { return out.Put(piece); });
            return written ? WriteResult() : FailureCause::Other;   // a failed write's own cause wins
        });
    } catch (const std::exception&) {   // no memory for the block to write through: nothing was written
        return FailureCause::Other;
    }
}

WriteResult GameConfigFile::BackupConfigFile() const { return kelvane::BackupConfigFile(path_); }

WriteResult GameConfigFile::RestoreConfigFile() const { return kelvane::RestoreConfigFile(path_); }

WriteResult BackupConfigFile(const std::wstring& configPath)
{
    const std::wstring backup = configPath + kBackupSuffix;
    // The backup is ours: a read-only attribute it took over from a read-only config.wtf must not block it.
    const DWORD attributes = GetFileAttributesW(backup.c_str());
    const bool unlocked = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
                          !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                          SetFileAttributesW(backup.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const WriteResult copied = CopySafely(configPath, backup);
    if (!copied && unlocked)
        SetFileAttributesW(backup.c_str(), attributes);
    return copied;
}

WriteResult RestoreConfigFile(const std::wstring& configPath)
{
    return CopySafely(configPath + kBackupSuffix, configPath);
}

bool FileIsMissing(const std::wstring& path)
{
    if (path.empty())
        return true;
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

WriteResult LoadForRewrite(GameConfigFile& doc, const std::wstring& path)
{
    WriteResult unreadable(FailureCause::Other);
    return doc.LoadEntries(path.c_str(), &unreadable) == GameConfigFile::LoadOutcome::Unreadable ? unreadable
                                                                                               : WriteResult();
}

}  // namespace kelvane
