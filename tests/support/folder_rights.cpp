// Wine ignores the read-only attribute set on a folder, so the folder's Unix rights are changed instead, by chmod run
// from Wine (which starts a Unix program as such). Wine gives no handle to wait on for it, but it reports a folder
// without write rights as read-only: the attribute is watched until it shows the change, touching nothing.
#include "tests/support/folder_rights.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "common/unique_handle.h"

namespace kelvane::test {
namespace {

constexpr DWORD kSettleMs = 5000;
constexpr DWORD kProbeIntervalMs = 20;

// The folder's name on the Unix side, from Wine's own kernel32 export.
std::wstring UnixPath(const std::wstring& path)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!unix)
        return std::wstring();
    const std::string narrow = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return std::wstring(narrow.begin(), narrow.end());   // the tests' temporary folders are named in ASCII
}

// Starts a Unix tool from /bin with the arguments; Wine gives no handle to wait on for it.
bool StartUnixTool(const std::wstring& tool, const std::wstring& arguments)
{
    std::wstring commandLine = tool + L" " + arguments;
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW((L"Z:\\bin\\" + tool).c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return false;
    const UniqueKernelObject process(started.hProcess);
    const UniqueKernelObject thread(started.hThread);
    return true;
}

std::wstring Quoted(const std::wstring& unixPath) { return L"\"" + unixPath + L"\""; }

bool Chmod(const wchar_t* mode, const std::wstring& folder)
{
    const std::wstring unixPath = UnixPath(folder);
    return !unixPath.empty() && StartUnixTool(L"chmod", std::wstring(mode) + L" " + Quoted(unixPath));
}

bool WaitUntilWritable(const std::wstring& folder, bool writable)
{
    for (DWORD waited = 0; waited < kSettleMs; waited += kProbeIntervalMs) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && ((attributes & FILE_ATTRIBUTE_READONLY) == 0) == writable)
            return true;
        Sleep(kProbeIntervalMs);
    }
    return false;
}

}  // namespace

bool RightsEnforced() { return std::getenv("KELVANE_RIGHTS_ENFORCED") != nullptr; }

WriteRightsTaken::WriteRightsTaken(std::wstring folder) : folder_(std::move(folder))
{
    asked_ = RightsEnforced() && Chmod(L"a-w", folder_);
    taken_ = asked_ && WaitUntilWritable(folder_, false);
}

WriteRightsTaken::~WriteRightsTaken() { GiveBack(); }

void WriteRightsTaken::GiveBack()
{
    if (!asked_)
        return;
    Chmod(L"u+w", folder_);
    WaitUntilWritable(folder_, true);
    asked_ = taken_ = false;
}

namespace {

bool MakeLink(const std::wstring& link, const std::wstring& target, DWORD kind)
{
    // Windows makes the link itself; Wine answers yes without making one, so a Unix link is made there instead.
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), kind) ||
        GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::size_t cut = link.find_last_of(L'\\');
        const std::wstring unixLink = UnixPath(link.substr(0, cut)) + L"/" + link.substr(cut + 1);
        if (!StartUnixTool(L"ln", L"-s " + Quoted(UnixPath(target)) + L" " + Quoted(unixLink)))
            return false;
    }
    for (DWORD waited = 0; waited < kSettleMs; waited += kProbeIntervalMs) {
        if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(kProbeIntervalMs);
    }
    return false;
}

}  // namespace

bool MakeFolderLink(const std::wstring& link, const std::wstring& target)
{
    return MakeLink(link, target, SYMBOLIC_LINK_FLAG_DIRECTORY);
}

bool MakeFileLink(const std::wstring& link, const std::wstring& target) { return MakeLink(link, target, 0); }

}  // namespace kelvane::test
