// Whole-file helpers and the Wine check, shared by the tests and the benchmarks; no GoogleTest in here.
#pragma once

#include <string>

namespace kelvane::test {

bool FileExists(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);   // the whole file, or "<missing>" when it cannot be read
// Creates or overwrites the file with exactly `bytes`; false when it could not.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
// The folder and everything in it, read-only files included.
void RemoveTree(const std::wstring& path);

// True inside Wine: what must change machine-wide state of another process runs only there.
bool RunningUnderWine();

}  // namespace kelvane::test
