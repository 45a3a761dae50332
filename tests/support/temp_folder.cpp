// The tests' game folders, whole-file writes and held files, with GoogleTest's failure when they cannot be made.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvane::test {

TempGameFolder::TempGameFolder(const std::optional<std::string>& configBytes) : GameFolder(configBytes)
{
    EXPECT_TRUE(ok()) << "cannot make a temporary game folder" << (configBytes ? " with config.wtf" : "")
                      << ", error " << error();
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
