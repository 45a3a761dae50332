// For tests that drive the real program in another process: the game "installed" in the machine's own registry
// (only ever inside the test run's private Wine prefix), and the network tweak cleared from every interface.
#pragma once

#include <string>

namespace kelvane::test {

class InstalledGame {
public:
    // Writes "InstallPath" (quoted, as installers leave it) into the 32-bit view; an empty folder installs nothing.
    explicit InstalledGame(const std::wstring& folder);
    InstalledGame(const InstalledGame&) = delete;
    InstalledGame& operator=(const InstalledGame&) = delete;
    ~InstalledGame();   // removes the key again
};

// Removes TcpAckFrequency from every TCP/IP interface of the machine.
void ClearNetworkTweak();

}  // namespace kelvane::test
