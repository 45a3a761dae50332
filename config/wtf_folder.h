// The folder that holds config.wtf, opened once and known by where it really is. Every file of it that is read,
// written, renamed or deleted is opened here and checked by its handle to be the regular file of its name in this
// folder, so a link, mount point or second name planted in the game folder leads the administrator's writes nowhere.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace kelvane {

class WtfFolder {
public:
    // Opens the folder that holds the file at `filePath`. A folder reached through a junction or a link is its
    // target (players who moved the game, or share one WTF between installations, have such links); a folder whose
    // real place is not on a drive is refused.
    explicit WtfFolder(const std::wstring& filePath);
    WtfFolder(const WtfFolder&) = delete;
    WtfFolder& operator=(const WtfFolder&) = delete;

    // 0 once the folder is open; otherwise the Windows error why it is not (kErrorLinkInTheWay: not on a drive).
    DWORD error() const { return error_; }
    // The last name of the path the folder was opened for: config.wtf, or its backup.
    const std::wstring& fileName() const { return fileName_; }

    // Opens `name` of this folder as CreateFileW does, but never through a link in its place. Answers 0 with `file`
    // open, or the Windows error with `file` closed: kErrorLinkInTheWay when the name leads anywhere but to the
    // regular file of that name here, ERROR_DIRECTORY for a folder.
    DWORD Open(const std::wstring& name, DWORD access, DWORD share, DWORD disposition, UniqueFile& file) const;
    // Makes a new file "<name>.~<random>" that nobody else may open, with `access`; `made` learns its name.
    DWORD MakeTemporary(const std::wstring& name, DWORD access, UniqueFile& file, std::wstring& made) const;
    // 0 when the open `file` is the regular file `name` of this folder, with no second name; the error otherwise.
    DWORD Check(HANDLE file, const std::wstring& name) const;
    // `name` in this folder, under the folder's real path (\\?\C:\...).
    std::wstring PathOf(const std::wstring& name) const;

private:
    UniqueFile folder_;   // held, without delete sharing, so the folder is not swapped while we work in it
    std::wstring realPath_;
    std::wstring fileName_;
    DWORD error_ = 0;
};

// The path of `file` as the file system resolved it (\\?\C:\...), or empty when it cannot tell.
std::wstring RealPathOf(HANDLE file);

}  // namespace kelvane
