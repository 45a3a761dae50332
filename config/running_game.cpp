// The walk over the running processes; which of them is the game is decided by the pure rules.
#include "config/running_game.h"

#include <windows.h>
#include <tlhelp32.h>

#include "common/unique_handle.h"
#include "config/file_location.h"
#include "config/game_process_rule.h"

namespace kelvane {
namespace {

constexpr DWORD kLongPathCapacity = 32768;   // the longest path Windows knows, terminator included

bool ProcessImageIsIn(DWORD processId, const std::wstring& gameFolder)
{
    const UniqueKernelObject process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return false;
    std::wstring image(kLongPathCapacity, L'\0');
    DWORD length = kLongPathCapacity;
    if (!QueryFullProcessImageNameW(process.get(), 0, &image[0], &length))
        return false;
    image.resize(length);
    if (IsGameProcessImage(image, gameFolder))
        return true;
    // The game started through another name of the folder (a junction, a link, a short name) runs from it all the
    // same: the two folders are compared by what the file system says they are.
    const std::size_t cut = image.find_last_of(L"\\/");
    return cut != std::wstring::npos && IsGameExecutableName(std::wstring_view(image).substr(cut + 1)) &&
           SameLocation(image.substr(0, cut + 1), gameFolder);
}

}  // namespace

bool IsGameRunningFrom(const std::wstring& gameFolder)
{
    if (gameFolder.empty())
        return false;
    const UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        // Only processes named like the game are opened and asked for their full path.
        if (IsGameExecutableName(entry.szExeFile) && ProcessImageIsIn(entry.th32ProcessID, gameFolder))
            return true;
    }
    return false;
}

}  // namespace kelvane
