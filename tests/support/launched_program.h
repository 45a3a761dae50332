// A program started as a second process, with its visible window found by title, and the folder browser over a
// dialog; shared by the tests and the benchmarks, so no GoogleTest in here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace kelvane::test {

// The dialog's title as the player sees it, written out here so that a changed title fails the tests.
constexpr wchar_t kProgramTitle[] = L"Vantorin Kelvane v1.0";

std::wstring WindowTitle(HWND window);   // also of another process's top-level window
// The visible top-level windows with the title: of one process, or of every process when `processId` is 0.
std::vector<HWND> VisibleWindowsTitled(const std::wstring& title, DWORD processId = 0);
// The visible dialog of `thread` that `owner` owns (the folder browser the dialog opens over itself), or null.
HWND FindFolderBrowser(DWORD thread, HWND owner);

std::wstring ModuleFolder();   // the folder of the running program, ending in a backslash
// The program under test: KELVANE_EXE when set, else the built kelvane.exe in the parent of the running program's
// folder.
std::wstring ProgramPath();

class LaunchedProgram {
public:
    // Starts `exe` with `arguments` and the show command, then waits, up to `timeoutMs`, until the program is idle
    // and a visible top-level window of its own has the title. With an empty title no window is waited for.
    LaunchedProgram(const std::wstring& exe, const std::wstring& arguments, int showCommand, const std::wstring& title,
                    DWORD timeoutMs);
    LaunchedProgram(const LaunchedProgram&) = delete;
    LaunchedProgram& operator=(const LaunchedProgram&) = delete;
    ~LaunchedProgram();   // a program still running is ended

    DWORD startError() const { return startError_; }   // CreateProcessW's error, 0 once the process exists
    HWND window() const { return window_; }
    DWORD threadId() const { return threadId_; }
    // Returns once the program's thread has handled everything sent or posted to it before.
    void Settle(DWORD timeoutMs) const;
    // Waits for the process to end: its exit code, or -1 when there is none or it did not end in time.
    int WaitForExit(DWORD timeoutMs);

private:
    UniqueKernelObject process_;
    DWORD startError_ = 0;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace kelvane::test
