// Whole-file helpers, a program's manifest and the Wine check, shared by the tests and the benchmarks; no GoogleTest in here.
#pragma once

#include <set>
#include <string>

namespace kelvane::test {

bool FileExists(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);   // the whole file, or "<missing>" when it cannot be read
// Creates or overwrites the file with exactly `bytes`; false when it could not.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
// The names in a folder, so a test can see that nothing was left behind.
std::set<std::wstring> FolderNames(const std::wstring& folder);
// The folder and everything in it, read-only files included.
void RemoveTree(const std::wstring& path);

// The manifest embedded in a program (resource 1 of type RT_MANIFEST), or an empty text when it has none.
std::string EmbeddedManifest(const std::wstring& exe);

// The game folder on a full disk that tests/full_disk.sh prepared (KELVANE_FULL_DISK_DIR), or empty outside it.
std::wstring FullDiskGameFolder();

// True inside Wine: what must change machine-wide state of another process runs only there.
bool RunningUnderWine();

}  // namespace kelvane::test
