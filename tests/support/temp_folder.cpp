// Temporary folders and whole-file reads and writes for tests.
#include "tests/support/temp_folder.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>

#include "common/unique_handle.h"

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

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return "<missing>";
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << "cannot write a test file, error " << GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace kelvane::test
