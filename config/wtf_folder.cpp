// Opening files by name and checking by handle what was opened: its kind through FileAttributeTagInfo, where it is
// through GetFinalPathNameByHandleW (Wine follows a symbolic link to a file silently, but the path shows where it led).
#include "config/wtf_folder.h"

#include <ntsecapi.h>

#include <cwctype>
#include <iterator>

#include "config/file_paths.h"
#include "config/game_process_rule.h"
#include "config/write_result.h"

namespace kelvane {
namespace {

constexpr DWORD kFolderShares = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr int kTemporaryNameAttempts = 16;
constexpr std::size_t kRandomBytes = 8;   // 64 bits: a name nobody can plant in advance
constexpr wchar_t kTemporaryMark[] = L".~";
constexpr wchar_t kDrivePrefix[] = L"\\\\?\\";   // then "C:\"

// A real path on a drive: \\?\C:\ and what follows; not \\?\UNC\, a volume GUID or a device.
bool IsOnADrive(const std::wstring& path)
{
    const std::size_t prefix = std::size(kDrivePrefix) - 1;
    return path.size() >= prefix + 3 && path.compare(0, prefix, kDrivePrefix) == 0 &&
           std::iswalpha(path[prefix]) && path[prefix + 1] == L':' && path[prefix + 2] == L'\\';
}

std::wstring RandomSuffix()
{
    unsigned char bytes[kRandomBytes] = {};
    if (!RtlGenRandom(bytes, sizeof(bytes)))
        return std::wstring();
    constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring text;
    for (const unsigned char byte : bytes) {
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 0xF]);
    }
    return text;
}

}  // namespace

std::wstring RealPathOf(HANDLE file)
{
    const DWORD needed = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (needed == 0)
        return std::wstring();
    std::wstring path(needed, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, &path[0], needed, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= needed)
        return std::wstring();
    path.resize(length);
    return path;
}

WtfFolder::WtfFolder(const std::wstring& filePath)
{
    const std::wstring full = FullPath(filePath);
    const std::size_t cut = full.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut + 1 == full.size()) {
        error_ = ERROR_INVALID_NAME;
        return;
    }
    fileName_ = full.substr(cut + 1);
    std::wstring folder = full.substr(0, cut);
    if (folder.size() == 2 && folder[1] == L':')   // a drive's root keeps its backslash
        folder += L'\\';
    // Followed, on purpose: a game or WTF folder that is a link to an ordinary folder is that folder.
    folder_ = UniqueFile(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                     kFolderShares, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder_) {
        error_ = GetLastError();
        if (error_ == ERROR_FILE_NOT_FOUND)   // the WTF folder itself is what is missing
            error_ = ERROR_PATH_NOT_FOUND;
        return;
    }
    FILE_ATTRIBUTE_TAG_INFO kind{};
    if (!GetFileInformationByHandleEx(folder_.get(), FileAttributeTagInfo, &kind, sizeof(kind))) {
        error_ = GetLastError();
    } else if (!(kind.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error_ = ERROR_PATH_NOT_FOUND;
    } else {
        realPath_ = RealPathOf(folder_.get());
        if (!IsOnADrive(realPath_))
            error_ = kErrorLinkInTheWay;
    }
    if (error_ != 0)
        folder_ = UniqueFile();
}

std::wstring WtfFolder::PathOf(const std::wstring& name) const
{
    if (realPath_.empty())
        return std::wstring();
    return realPath_.back() == L'\\' ? realPath_ + name : realPath_ + L"\\" + name;   // a drive's root ends in one
}

DWORD WtfFolder::Check(HANDLE file, const std::wstring& name) const
{
    FILE_ATTRIBUTE_TAG_INFO kind{};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &kind, sizeof(kind)) ||
        !GetFileInformationByHandle(file, &info))
        return GetLastError();
    if (kind.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return kErrorLinkInTheWay;
    if (kind.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)   // before the link count, which counts a folder's children
        return ERROR_DIRECTORY;
    // A second name (a hard link) is as much a link as a symbolic one: the file may be anyone's.
    if (info.nNumberOfLinks > 1 || !SamePath(RealPathOf(file), PathOf(name)))
        return kErrorLinkInTheWay;
    return 0;
}

DWORD WtfFolder::Open(const std::wstring& name, DWORD access, DWORD share, DWORD disposition, UniqueFile& file) const
{
    file = UniqueFile();
    if (error_ != 0)
        return error_;
    // Backup semantics open a folder too, so one in the file's place is told apart from a refusal.
    UniqueFile opened(CreateFileW(PathOf(name).c_str(), access, share, nullptr, disposition,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened)
        return GetLastError();
    if (const DWORD checked = Check(opened.get(), name); checked != 0)
        return checked;
    file = std::move(opened);
    return 0;
}

DWORD WtfFolder::MakeTemporary(const std::wstring& name, DWORD access, UniqueFile& file, std::wstring& made) const
{
    file = UniqueFile();
    if (error_ != 0)
        return error_;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::wstring random = RandomSuffix();
        if (random.empty())
            return ERROR_GEN_FAILURE;
        made = name + kTemporaryMark + random;
        // CREATE_NEW: a name that is already there, a planted link included, is never opened.
        UniqueFile created(CreateFileW(PathOf(made).c_str(), access | DELETE, 0, nullptr, CREATE_NEW,
                                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!created) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            made.clear();
            return error;
        }
        if (const DWORD checked = Check(created.get(), made); checked != 0) {
            // Ours, but not where it was meant to be: it goes again, by its own handle.
            FILE_DISPOSITION_INFO gone{TRUE};
            SetFileInformationByHandle(created.get(), FileDispositionInfo, &gone, sizeof(gone));
            made.clear();
            return checked;
        }
        file = std::move(created);
        return 0;
    }
    made.clear();
    return ERROR_FILE_EXISTS;
}

}  // namespace kelvane
