// Starts the real kelvane.exe as a second process and drives it from outside, as a user would.
#pragma once

#include <windows.h>
#include <string>

#include "common/unique_handle.h"

namespace kelvane::test {

// The built program, next to the test programs' folder.
std::wstring ProgramPath();

class RunningProgram {
public:
    // Starts the program with the given show command and waits until its dialog is there and idle.
    explicit RunningProgram(int showCommand = SW_SHOWNORMAL, const std::wstring& arguments = L"");
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram();   // a program still running is ended

    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }

    void Click(int id);                                  // BM_CLICK on a button or checkbox, waited for
    bool IsChecked(int id) const;
    bool IsEnabled(int id) const;
    std::wstring Text(int id) const;
    void Type(int id, const std::wstring& text);         // replaces the edit's text character by character
    void PressKey(UINT virtualKey);                      // a key press to the control that has the focus
    void Settle() const;                                 // waits until the program has handled what was sent
    // Waits for the folder browser over the dialog and cancels it, as a user would; false when none opened.
    bool CancelFolderBrowser(DWORD milliseconds = 10000);
    // Waits for the process to end; returns its exit code, or -1 when it did not end in time.
    int WaitForExit(DWORD milliseconds = 10000);

private:
    UniqueKernelObject process_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace kelvane::test
