// Driving the real program: window lookup by title, clicks and keys sent across processes.
#include "tests/support/program_driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/folder_browser.h"

namespace kelvane::test {
namespace {

constexpr wchar_t kTitle[] = L"Vantorin Kelvane v1.0";
constexpr DWORD kStartTimeout = 20000;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner == search->processId && std::wstring(title) == kTitle) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring ProgramPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\'));                 // .../tests
    path.resize(path.find_last_of(L'\\') + 1);             // .../
    return path + L"kelvane.exe";
}

RunningProgram::RunningProgram(int showCommand, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start " << std::string(commandLine.begin(), commandLine.end()) << ", error "
                      << GetLastError();
        return;
    }
    process_ = UniqueKernelObject(info.hProcess);
    CloseHandle(info.hThread);
    threadId_ = info.dwThreadId;
    WaitForInputIdle(process_.get(), kStartTimeout);
    const ULONGLONG deadline = GetTickCount64() + kStartTimeout;
    while (!window_ && GetTickCount64() < deadline) {
        Search search{info.dwProcessId, nullptr};
        EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
        window_ = search.found;
        if (!window_)
            Sleep(20);
    }
    if (!window_)
        ADD_FAILURE() << "the program's window did not appear";
    Settle();
}

RunningProgram::~RunningProgram()
{
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

void RunningProgram::Settle() const
{
    // A sent message returns only after the program's thread has handled everything posted before it.
    DWORD_PTR ignored = 0;
    if (window_)
        SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

void RunningProgram::Click(int id)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(item(id), BM_CLICK, 0, 0, SMTO_BLOCK, 10000, &ignored);
    Settle();
}

bool RunningProgram::IsChecked(int id) const
{
    return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool RunningProgram::IsEnabled(int id) const
{
    return IsWindowEnabled(item(id)) != FALSE;
}

std::wstring RunningProgram::Text(int id) const
{
    wchar_t text[1024] = {};
    // GetWindowTextW does not ask another process's controls; WM_GETTEXT is marshalled across.
    SendMessageW(item(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

void RunningProgram::Type(int id, const std::wstring& text)
{
    const HWND edit = item(id);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    for (const wchar_t c : text)
        SendMessageW(edit, WM_CHAR, c, 1);
    Settle();
}

void RunningProgram::PressKey(UINT virtualKey)
{
    SetForegroundWindow(window_);   // a user's key goes to the active window
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    HWND target = window_;
    if (GetGUIThreadInfo(threadId_, &info) && info.hwndFocus)
        target = info.hwndFocus;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
    Settle();
}

bool RunningProgram::CancelFolderBrowser(DWORD milliseconds)
{
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (GetTickCount64() < deadline) {
        if (const HWND browser = FindFolderBrowser(threadId_, window_)) {
            PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
            Settle();
            return true;
        }
        Sleep(50);
    }
    return false;
}

int RunningProgram::WaitForExit(DWORD milliseconds)
{
    if (!process_ || WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}

}  // namespace kelvane::test
