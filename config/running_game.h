// Whether the game runs from a folder: it reads config.wtf when it starts and writes all of it back when it exits.
#pragma once

#include <string>

namespace kelvane {

// True when a running process's executable is a game executable directly in `gameFolder`, under any of its
// names. Processes that cannot be opened are skipped; an empty folder has no game running.
bool IsGameRunningFrom(const std::wstring& gameFolder);

}  // namespace kelvane
