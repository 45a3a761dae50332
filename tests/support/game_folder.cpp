// Temporary and game folders, made and removed without GoogleTest.
#include "tests/support/game_folder.h"

#include <atomic>

#include "tests/support/files.h"

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
            error_ = GetLastError();
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    if (ok())
        RemoveTree(path_);
}

GameFolder::GameFolder(const std::optional<std::string>& configBytes) : error_(folder_.error())
{
    if (ok() && (!CreateDirectoryW(wtfFolder().c_str(), nullptr) ||
                 (configBytes && !WriteWholeFile(configPath(), *configBytes))))
        error_ = GetLastError();
}

std::string GameFolder::config() const
{
    return ReadBytes(configPath());
}

}  // namespace kelvane::test
