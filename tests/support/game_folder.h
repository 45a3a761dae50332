// Temporary folders and game folders, shared by the tests and the benchmarks; no GoogleTest in here (the tests'
// TempGameFolder fails the test when one cannot be made).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kelvane::test {

class TempFolder {
public:
    // `name` may hold characters outside the ANSI code page; the folder is made by its wide name.
    explicit TempFolder(const std::wstring& name = L"kelvane-test");
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();   // removes the folder with everything in it

    bool ok() const { return error_ == ERROR_SUCCESS; }
    DWORD error() const { return error_; }   // why the folder could not be made
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& child) const { return path_ + L"\\" + child; }

private:
    std::wstring path_;
    DWORD error_ = ERROR_SUCCESS;
};

// A temporary game folder with a WTF subfolder, holding a config.wtf with the given bytes when given any.
class GameFolder {
public:
    explicit GameFolder(const std::optional<std::string>& configBytes = std::nullopt);

    bool ok() const { return error_ == ERROR_SUCCESS; }
    DWORD error() const { return error_; }
    const std::wstring& folder() const { return folder_.path(); }
    std::wstring wtfFolder() const { return folder_ / L"WTF"; }
    std::wstring configPath() const { return wtfFolder() + L"\\config.wtf"; }
    std::wstring backupPath() const { return configPath() + L".bak~"; }
    std::string config() const;   // the bytes of config.wtf, or "<missing>"

private:
    TempFolder folder_;
    DWORD error_ = ERROR_SUCCESS;
};

}  // namespace kelvane::test
