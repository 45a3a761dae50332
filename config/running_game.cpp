// The walk over the running processes; which of them is the game is decided by the pure rules.
#include "config/running_game.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "common/unique_handle.h"
#include "config/file_location.h"
#include "config/game_process_rule.h"

namespace kelvane {
namespace {

constexpr DWORD kLongPathCapacity = 32768;   // the longest path Windows knows, terminator included
constexpr ULONG kSystemProcessInformation = 5;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr std::size_t kFirstListBytes = 128 * 1024;   // room for a few hundred processes
constexpr int kListAttempts = 4;                        // processes may start between asking the size and the list

using QuerySystemInformation = LONG(WINAPI*)(ULONG infoClass, void* buffer, ULONG bytes, ULONG* needed);

// Every running process with its executable's file name, from one system call. The tool-help snapshot gives the
// same list but maps its view again for each process it lists: under Wine a server round trip each, a few
// milliseconds at every start and every Apply. Empty when the system does not answer.
std::vector<unsigned char> ProcessList()
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation");
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(found));
    std::vector<unsigned char> list(kFirstListBytes);
    for (int attempt = 0; query && attempt < kListAttempts; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(kSystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), &needed);
        if (status >= 0)
            return list;
        if (status != kStatusInfoLengthMismatch)
            break;
        list.resize(std::max<std::size_t>(needed, list.size()) * 2);
    }
    return {};
}

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
    const std::vector<unsigned char> list = ProcessList();
    for (std::size_t offset = 0; offset < list.size();) {
        const auto& process = *reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
        const std::wstring_view name(process.ImageName.Buffer ? process.ImageName.Buffer : L"",
                                     process.ImageName.Length / sizeof(wchar_t));
        // Only processes named like the game are opened and asked for their full path.
        if (IsGameExecutableName(name) &&
            ProcessImageIsIn(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(process.UniqueProcessId)), gameFolder))
            return true;
        if (process.NextEntryOffset == 0)
            break;
        offset += process.NextEntryOffset;
    }
    return false;
}

}  // namespace kelvane
