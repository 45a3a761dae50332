// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"
#include "tests/support/files.h"

namespace kelvane::test {

class TempFolder {
public:
    // `name` may hold characters outside the ANSI code page; the folder is made by its wide name.
    explicit TempFolder(const std::wstring& name = L"kelvane-test");
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& child) const { return path_ + L"\\" + child; }

private:
    std::wstring path_;
};

// A game folder with a WTF subfolder, optionally holding a config.wtf with the given bytes.
class TempGameFolder {
public:
    TempGameFolder();
    explicit TempGameFolder(const std::string& configBytes);
    const std::wstring& folder() const { return folder_.path(); }
    std::wstring configPath() const { return folder_.path() + L"\\WTF\\config.wtf"; }
    std::wstring backupPath() const { return configPath() + L".bak~"; }
    std::string config() const;

private:
    TempFolder folder_;
};

// WriteWholeFile that fails the test when the file cannot be written.
void WriteBytes(const std::wstring& path, const std::string& bytes);

// Another program's handle on an existing file, opened for `access` and letting others do only `share`; fails the
// test when the file cannot be opened so.
UniqueFile HoldOpen(const std::wstring& path, DWORD access, DWORD share);

}  // namespace kelvane::test
