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
#include "config/wtf_folder.h"

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

WriteResult CopySafely(const std::wstring& from, const std::wstring& to, ReadOnlyTarget readOnly)
{
    try {
        return CopyFileContents(from, to, readOnly);
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
        Clear();
        // Read only through a handle that is the file of that name in its folder: never through a link in its place.
        const WtfFolder folder(path_);
        UniqueFile file;
        if (const DWORD opened = folder.Open(folder.fileName(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, file);
            opened != 0)
            throw win::windows_exception("Failed to open file for mapping", opened);
        const MappedFileView view(file.get());
        if (view.size() == 0)
            return LoadOutcome::Empty;
        const std::size_t size = static_cast<std::size_t>(view.size());
        // One copy of the file holds every entry's bytes: the mapping is closed before Load returns, and a
        // million settings then cost no allocation of their own.
        fileBytes_.reset(new char[size]);
        // Copied a block at a time, and each block's line ends counted while it is still in the cache.
        std::size_t lineFeeds = 0;
        for (std::size_t offset = 0; offset < size; offset += kCopyBlockSize) {
            const std::size_t length = std::min(kCopyBlockSize, size - offset);
            std::memcpy(fileBytes_.get() + offset, view.data() + offset, length);
            lineFeeds += CountLineFeeds(std::string_view(fileBytes_.get() + offset, length));
        }
        const std::string_view text(fileBytes_.get(), size);
        MakeRoomForEntries(text, lineFeeds + 1);
        AppendEntries(text, entries_);
        return LoadOutcome::Complete;
    } catch (const std::exception& failure) {
        // Every failure ends the load quietly; entries are only appended once there is room for all of them.
        const DWORD error = ErrorOf(failure);
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return LoadOutcome::Missing;
        if (unreadable)
            *unreadable = WriteResult::FromError(error);
        return LoadOutcome::Unreadable;
    }
}

void GameConfigFile::MakeRoomForEntries(std::string_view text, std::size_t mostLines)
{
    // Every line is a setting in the files the game writes, so the line count is nearly always exact; memory for it
    // is only touched as entries fill it. Where the address space cannot hold that many (a file of blank lines in
    // a 32-bit process), the setting lines are counted instead.
    try {
        entries_.reserve(mostLines);
    } catch (const std::exception&) {   // no room for that many (or more than an array can hold)
        entries_.reserve(CountSettingLines(text));
    }
}

void GameConfigFile::Clear()
{
    entries_.clear();
    fileBytes_.reset();
    setBytes_.clear();
}

std::string_view GameConfigFile::Keep(std::string bytes)
{
    setBytes_.push_front(std::move(bytes));
    return setBytes_.front();
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
    // Kept before any entry changes, so running out of memory leaves the document as it was.
    const std::string_view bytes = Keep(EncodeUtf8(TextOf(value)));
    const auto named = [&key](const ConfigEntry& entry) { return entry.name == key; };
    if (std::find_if(entries_.begin(), entries_.end(), named) == entries_.end()) {
        entries_.reserve(entries_.size() + 1);
        entries_.push_back(ConfigEntry{Keep(key), bytes});
        return;
    }
    for (ConfigEntry& entry : entries_) {
        if (named(entry))
            entry.value = bytes;
    }
}

void GameConfigFile::DropEmptySettings()
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const ConfigEntry& entry) { return entry.value.empty(); }),
                   entries_.end());
}

WriteResult GameConfigFile::Save() const { return Save(nullptr); }

WriteResult GameConfigFile::Save(const BeforeReplacing& beforeReplacing) const
{
    try {
        const auto write = [this](ContentWriter& out) -> WriteResult {
            const bool written = PutWrittenForm(entries_, [&out](std::string_view piece) { return out.Put(piece); });
            return written ? WriteResult() : FailureCause::Other;   // a failed write's own cause wins
        };
        return ReplaceFileContents(path_, write, beforeReplacing);
    } catch (const std::exception&) {   // no memory for the block to write through: nothing was written
        return FailureCause::Other;
    }
}

WriteResult GameConfigFile::BackupConfigFile() const { return kelvane::BackupConfigFile(path_); }

WriteResult GameConfigFile::RestoreConfigFile() const { return kelvane::RestoreConfigFile(path_); }

WriteResult BackupConfigFile(const std::wstring& configPath)
{
    // The backup is ours: a read-only attribute it took over from a read-only config.wtf must not block it.
    return CopySafely(configPath, configPath + kBackupSuffix, ReadOnlyTarget::Replaced);
}

WriteResult RestoreConfigFile(const std::wstring& configPath)
{
    return CopySafely(configPath + kBackupSuffix, configPath, ReadOnlyTarget::Refused);
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
