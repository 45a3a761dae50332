// Where a path leads, as the file system knows it: one file or folder under any of its names, and whether the game
// folder is there at all.
#pragma once

#include <string>

#include "config/write_result.h"

namespace kelvane {

// True when `a` and `b` lead to the same file or folder. Where both exist they are compared by the volume serial
// number and file index the file system reports, so a junction, a symbolic link, a subst drive, a short (8.3) or a
// network name of it is the same; where either does not, by their full, long path text in any letter case.
bool SameLocation(const std::wstring& a, const std::wstring& b);

// Whether changes can go into `gameFolder`: NoGameFolder for an empty text, GameFolderMissing where no folder is
// there, the platform's refusal where it cannot be looked at, success for an existing folder.
WriteResult CheckGameFolder(const std::wstring& gameFolder);

}  // namespace kelvane
