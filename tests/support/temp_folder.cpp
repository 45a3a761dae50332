// Temporary folders for tests, and a whole-file write and a file held open that fail the test when they cannot be made.
#include "tests/support/temp_folder.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>

namespace kelvane::test {
namespace {
std::atomic<unsigned> folderCount{0};
}

TempFolder::TempFolder(const std::wstring& name)
{
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    for (;;) {
        path_ = std::wstring(base) + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++folderCount);
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create a temporary folder, error " << GetLastError();
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

TempGameFolder::TempGameFolder()
{
    CreateDirectoryW((folder_ / L"WTF").c_str(), nullptr);
}

TempGameFolder::TempGameFolder(const std::string& configBytes) : TempGameFolder()
{
    WriteBytes(configPath(), configBytes);
}

std::string TempGameFolder::config() const
{
    return ReadBytes(configPath());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    ASSERT_TRUE(WriteWholeFile(path, bytes)) << "cannot write a test file, error " << GetLastError();
}

UniqueFile HoldOpen(const std::wstring& path, DWORD access, DWORD share)
{
    UniqueFile file(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file) << "cannot hold the file open, error " << GetLastError();
    return file;
}

}  // namespace kelvane::test
