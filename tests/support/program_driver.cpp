// Driving the real program from another process (clicks, typing and the folder browser), and the stand-in game.
#include "tests/support/program_driver.h"

#include <gtest/gtest.h>

namespace kelvane::test {
namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kSettleTimeoutMs = 5000;
constexpr DWORD kClickTimeoutMs = 120000;
// The program waits a quarter of a second; a loaded machine may start its timer late.
constexpr DWORD kTypingPauseMs = 1000;

}  // namespace

RunningProgram::RunningProgram(int showCommand, const std::wstring& arguments)
    : program_(ProgramPath(), arguments, showCommand, kProgramTitle, kStartTimeoutMs)
{
    if (program_.startError() != 0)
        ADD_FAILURE() << "cannot start the program, error " << program_.startError();
    else if (!window())
        ADD_FAILURE() << "the program's window did not appear";
    Settle();
}

void RunningProgram::Settle()
{
    program_.Settle(kSettleTimeoutMs);
}

void RunningProgram::Click(int id)
{
    DWORD_PTR ignored = 0;
    // Returns once the click's handler has: an Apply that waits for the display-memory figure answers other messages
    // meanwhile, so only the click's own reply says it is done, and an emulated CPU takes long to give that figure.
    SendMessageTimeoutW(item(id), BM_CLICK, 0, 0, SMTO_BLOCK, kClickTimeoutMs, &ignored);
    Settle();
}

void RunningProgram::Type(int id, const std::wstring& text)
{
    const HWND edit = item(id);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    for (const wchar_t c : text)
        SendMessageW(edit, WM_CHAR, c, 1);
    Sleep(kTypingPauseMs);   // the program looks at the folder once the typing pauses
    Settle();
}

bool RunningProgram::CancelFolderBrowser(DWORD milliseconds)
{
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (GetTickCount64() < deadline) {
        if (const HWND browser = FindFolderBrowser(program_.threadId(), window())) {
            PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
            Settle();
            return true;
        }
        Sleep(50);
    }
    return false;
}

StandInGame::StandInGame(const std::wstring& folder, const std::wstring& fileName) : path_(folder + L"\\" + fileName)
{
    if (!CopyFileW((ModuleFolder() + L"game_standin.exe").c_str(), path_.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the stand-in game, error " << GetLastError();
        return;
    }
    process_ = std::make_unique<LaunchedProgram>(path_, L"", SW_HIDE, L"", 0);
    if (process_->startError() != 0)
        ADD_FAILURE() << "cannot start the stand-in game, error " << process_->startError();
}

StandInGame::~StandInGame()
{
    End();
    DeleteFileW(path_.c_str());
}

}  // namespace kelvane::test
