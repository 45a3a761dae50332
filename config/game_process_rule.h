// Which program is the game running from a folder: pure rules over wide text, no Windows headers, no processes.
#pragma once

#include <string_view>

namespace kelvane {

// A game executable's file name: "Wow" ... ".exe" in any letter case (Wow.exe, Wow-64.exe, WowClassic.exe), but
// not the crash reporter WowError.exe.
bool IsGameExecutableName(std::wstring_view fileName);

// True when `imagePath`, a process's full executable path, names a game executable that lies directly in
// `gameFolder` (a full path, with or without a trailing backslash). Both compare without regard to letter case.
bool IsGameProcessImage(std::wstring_view imagePath, std::wstring_view gameFolder);

// True when two full paths are the same text but for letter case and the kind of separator.
bool SamePath(std::wstring_view a, std::wstring_view b);

}  // namespace kelvane
