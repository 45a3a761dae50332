// Copying and starting the stand-in game.
#include "tests/support/stand_in_game.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace kelvane::test {

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

void StandInGame::End()
{
    process_.reset();
}

}  // namespace kelvane::test
