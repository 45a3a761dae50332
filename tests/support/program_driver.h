// The programs the end-to-end tests start as second processes: the real kelvane.exe, driven from outside as a user
// would, and the stand-in game.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tests/support/dialog_items.h"
#include "tests/support/launched_program.h"

namespace kelvane::test {

class RunningProgram : public DialogItems {
public:
    // Starts the program with the given show command and waits until its dialog is there and idle.
    explicit RunningProgram(int showCommand = SW_SHOWNORMAL, const std::wstring& arguments = L"");
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    HWND window() const override { return program_.window(); }

    void Click(int id) override;                         // BM_CLICK on a button or checkbox, waited for
    void Type(int id, const std::wstring& text);         // replaces the edit's text character by character, then pauses
    void Settle() override;
    // Waits for the folder browser over the dialog and cancels it, as a user would; false when none opened.
    bool CancelFolderBrowser(DWORD milliseconds = 10000);
    // Waits for the process to end; returns its exit code, or -1 when it did not end in time.
    int WaitForExit(DWORD milliseconds = 10000) { return program_.WaitForExit(milliseconds); }

private:
    LaunchedProgram program_;   // ended, if still running, when the test is done with it
};

// A running stand-in for the game: the stand-in program copied into a folder under a game's file name and started.
class StandInGame {
public:
    StandInGame(const std::wstring& folder, const std::wstring& fileName);
    StandInGame(const StandInGame&) = delete;
    StandInGame& operator=(const StandInGame&) = delete;
    ~StandInGame();   // ends the process and removes its copy

    void End() { process_.reset(); }   // the game exits

private:
    std::wstring path_;
    std::unique_ptr<LaunchedProgram> process_;
};

}  // namespace kelvane::test
