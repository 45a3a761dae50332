// Starting a program as a second process, finding its window, and waiting for it to settle or end.
#include "tests/support/launched_program.h"

#include <cstdlib>
#include <functional>
#include <iterator>
#include <vector>

namespace kelvane::test {
namespace {

constexpr UINT kExitCodeWhenEnded = 99;
constexpr DWORD kEndTimeoutMs = 5000;

struct Search {
    std::function<bool(HWND)> matches;
    std::vector<HWND> found;
};

// A named CALLBACK, not a lambda: on 32-bit Windows a lambda converts only to a cdecl pointer, not to WNDENUMPROC.
BOOL CALLBACK CollectVisible(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    if (IsWindowVisible(window) && search->matches(window))
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::wstring WindowTitle(HWND window)
{
    wchar_t title[128] = {};
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    return title;
}

std::vector<HWND> VisibleWindowsTitled(const std::wstring& title, DWORD processId)
{
    Search search{[&](HWND window) {
                      DWORD owner = 0;
                      GetWindowThreadProcessId(window, &owner);
                      return (processId == 0 || owner == processId) && WindowTitle(window) == title;
                  },
                  {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindFolderBrowser(DWORD thread, HWND owner)
{
    Search search{[owner](HWND window) {
                      wchar_t className[16] = {};
                      GetClassNameW(window, className, static_cast<int>(std::size(className)));
                      return window != owner && GetWindow(window, GW_OWNER) == owner &&
                             std::wstring(className) == L"#32770";
                  },
                  {}};
    if (owner)
        EnumThreadWindows(thread, CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

std::wstring ModuleFolder()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\') + 1);
    return path;
}

std::wstring ProgramPath()
{
    if (const wchar_t* given = _wgetenv(L"KELVANE_EXE"); given && *given)
        return given;
    std::wstring path = ModuleFolder();
    path.pop_back();                              // ...\tests or ...\bench
    path.resize(path.find_last_of(L'\\') + 1);   // ...\, the build folder
    return path + L"kelvane.exe";
}

LaunchedProgram::LaunchedProgram(const std::wstring& exe, const std::wstring& arguments, int showCommand,
                                 const std::wstring& title, DWORD timeoutMs)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION info{};
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        startError_ = GetLastError();
        return;
    }
    process_ = UniqueKernelObject(info.hProcess);
    const UniqueKernelObject thread(info.hThread);   // only the process is waited for
    threadId_ = info.dwThreadId;
    if (title.empty())
        return;
    WaitForInputIdle(process_.get(), timeoutMs);
    // Polled at the finest step Sleep gives, so the poll adds about a millisecond to a timed start.
    for (;;) {
        const std::vector<HWND> found = VisibleWindowsTitled(title, info.dwProcessId);
        if (!found.empty())
            window_ = found.front();
        if (window_ || GetTickCount64() >= deadline)
            break;
        Sleep(1);
    }
}

LaunchedProgram::~LaunchedProgram()
{
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), kExitCodeWhenEnded);
        WaitForSingleObject(process_.get(), kEndTimeoutMs);
    }
}

void LaunchedProgram::Settle(DWORD timeoutMs) const
{
    // A sent message returns only after the program's thread has handled everything posted before it.
    DWORD_PTR ignored = 0;
    if (window_)
        SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, timeoutMs, &ignored);
}

int LaunchedProgram::WaitForExit(DWORD timeoutMs)
{
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}

}  // namespace kelvane::test
