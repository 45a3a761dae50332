// Shared by the start-up and Apply benchmarks: timing, a seeded game folder and registry, and the real program
// started and closed from this process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "tests/support/files.h"
#include "tests/support/game_folder.h"
#include "tests/support/installed_game.h"
#include "tests/support/launched_program.h"

namespace kelvane::bench {

class Stopwatch {
public:
    Stopwatch();
    double Milliseconds() const;

private:
    LARGE_INTEGER start_;
};

double Median(std::vector<double> samples);

using test::EmbeddedManifest;
using test::ReadBytes;   // "<missing>" when the file cannot be read
using test::RunningUnderWine;   // inside Wine the machine's registry is the benchmark run's private prefix
// The benchmarks write the machine's HKEY_LOCAL_MACHINE: only inside Wine, or when asked on the command line.
constexpr char kAllowRegistryFlag[] = "--allow-registry";
bool MayChangeRegistry(int argc, char** argv);
// The value of "--name N" on the command line, or `fallback`.
int IntegerArgument(int argc, char** argv, const char* name, int fallback);

// The benchmarks sit in bench\ below the build folder that holds kelvane.exe.
using test::kProgramTitle;
using test::ModuleFolder;
using test::ProgramPath;

// A config.wtf of `settings` SET lines shaped like a player's: real setting names first, then families of
// plausible ones. It holds none of the settings the five options write, so every option reads as off.
std::string PlayerConfig(int settings);

// The game folder, the game's key and the network interfaces, shared with the tests.
using test::ClearNetworkTweak;
using test::GameFolder;
using test::InstalledGame;
using test::NetworkInterfaces;
const std::vector<std::wstring>& BenchInterfaces();   // the benchmarks' own two TCP/IP interfaces

// One start of a dialog program: created, waited for until its window is visible and the program idle, and
// closed the way a user closes it.
class StartedProgram {
public:
    // `elapsedMs` receives the time from just before CreateProcessW until the window was found visible.
    StartedProgram(const std::wstring& exe, const std::wstring& title, double* elapsedMs = nullptr);

    HWND window() const { return program_.window(); }
    HWND item(int id) const { return GetDlgItem(window(), id); }
    void Settle() const;   // returns once the program has handled everything sent before
    // Clicks Close (or sends WM_CLOSE when the dialog has no Close button) and waits for the process to end;
    // its exit code, or -1 when it did not end in time (it is ended with this object then).
    int Close();

private:
    Stopwatch watch_;   // started before the program
    test::LaunchedProgram program_;
};

}  // namespace kelvane::bench
