// The shared temporary folders for tests: a game folder, a whole-file write and a file held open, each failing the
// test when it cannot be made.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"
#include "tests/support/files.h"
#include "tests/support/game_folder.h"

namespace kelvane::test {

class TempGameFolder : public GameFolder {
public:
    explicit TempGameFolder(const std::optional<std::string>& configBytes = std::nullopt);
};

// WriteWholeFile that fails the test when the file cannot be written.
void WriteBytes(const std::wstring& path, const std::string& bytes);

// Another program's handle on an existing file, opened for `access` and letting others do only `share`; fails the
// test when the file cannot be opened so.
UniqueFile HoldOpen(const std::wstring& path, DWORD access, DWORD share);

}  // namespace kelvane::test
