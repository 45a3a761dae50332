// A running stand-in for the game: the stand-in program copied into a folder under a game's file name and started.
#pragma once

#include <memory>
#include <string>

#include "tests/support/launched_program.h"

namespace kelvane::test {

class StandInGame {
public:
    StandInGame(const std::wstring& folder, const std::wstring& fileName);
    StandInGame(const StandInGame&) = delete;
    StandInGame& operator=(const StandInGame&) = delete;
    ~StandInGame();   // ends the process and removes its copy

    void End();   // the game exits

private:
    std::wstring path_;
    std::unique_ptr<LaunchedProgram> process_;
};

}  // namespace kelvane::test
