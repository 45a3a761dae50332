// The walk over the running processes; which of them is the game is decided by the pure rules.
#include "config/running_game.h"

#include <windows.h>
#include <tlhelp32.h>

#include "common/unique_handle.h"
#include "config/file_paths.h"
#include "config/game_process_rule.h"

namespace kelvane {
namespace {

constexpr DWORD kLongPathCapacity = 32768;   // the longest path Windows knows, terminator included

bool ProcessImageIsIn(DWORD processId, const std::wstring& folder)
{
    const UniqueKernelObject process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return false;
    std::wstring image(kLongPathCapacity, L'\0');
    DWORD length = kLongPathCapacity;
    if (!QueryFullProcessImageNameW(process.get(), 0, &image[0], &length))
        return false;
    image.resize(length);
    return IsGameProcessImage(image, folder);
}

}  // namespace

bool IsGameRunningFrom(const std::wstring& gameFolder)
{
    if (gameFolder.empty())
        return false;
    const UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    std::wstring folder;   // made a full long path only once a process is named like the game: that walks the disk
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        // Only processes named like the game are opened and asked for their full path.
        if (!IsGameExecutableName(entry.szExeFile))
            continue;
        if (folder.empty()) {
            // A folder typed in its short form (PROGRA~2) must still match the long path the process reports.
            const std::wstring full = FullPath(gameFolder);
            folder = LongPath(full.empty() ? gameFolder : full);
        }
        if (ProcessImageIsIn(entry.th32ProcessID, folder))
            return true;
    }
    return false;
}

}  // namespace kelvane
