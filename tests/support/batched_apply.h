// One Apply of all four game-file options against a config.wtf whose save is refused, then a plain Apply.
#pragma once

#include <functional>
#include <string>

#include "tests/support/dialog_harness.h"

namespace kelvane::test {

// What refuses the save: `put` sets it up and returns what takes it away again (no `put`: nothing in the way).
struct SaveObstacle {
    const char* what;
    std::function<std::function<void()>()> put;
    const wchar_t* note;
};

// Flips texture, bindings, configs and macros and applies with the obstacle in place: all four stay pending and
// config.wtf is untouched; then a plain Apply leaves `expected` in it.
void ExpectTheFourLandTogether(DialogHarness& ui, const std::wstring& configPath, const SaveObstacle& obstacle,
                               const std::string& expected);

}  // namespace kelvane::test
