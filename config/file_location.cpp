// File identities through GetFileInformationByHandle, the path text where nothing exists to ask.
#include "config/file_location.h"

#include <windows.h>

#include <optional>

#include "common/unique_handle.h"
#include "config/file_paths.h"
#include "config/game_process_rule.h"

namespace kelvane {
namespace {

struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    bool operator==(const FileIdentity& other) const
    {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

std::optional<FileIdentity> IdentityOf(const std::wstring& path)
{
    if (path.empty())
        return std::nullopt;
    // No access asked: only the attributes are read, so a file another program holds open still answers. Backup
    // semantics open folders too.
    const UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

std::wstring PathText(const std::wstring& path)
{
    std::wstring text = LongPath(FullPath(path));
    while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/'))   // "C:\" keeps its backslash
        text.pop_back();
    return text;
}

}  // namespace

bool SameLocation(const std::wstring& a, const std::wstring& b)
{
    if (const std::optional<FileIdentity> first = IdentityOf(a)) {
        if (const std::optional<FileIdentity> second = IdentityOf(b))
            return *first == *second;
    }
    const std::wstring first = PathText(a);
    return !first.empty() && SamePath(first, PathText(b));
}

WriteResult CheckGameFolder(const std::wstring& gameFolder)
{
    if (gameFolder.empty())
        return FailureCause::NoGameFolder;
    const DWORD attributes = GetFileAttributesW(gameFolder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED)
            return FailureCause::AccessDenied;
        if (error == ERROR_SHARING_VIOLATION)
            return FailureCause::InUse;
        return FailureCause::GameFolderMissing;   // not found, a bad name, an unreachable network path
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? WriteResult() : FailureCause::GameFolderMissing;
}

}  // namespace kelvane
