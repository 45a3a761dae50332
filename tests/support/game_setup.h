// Seeding the (redirected) registry the way a game installation and network adapters leave it.
#pragma once

#include <windows.h>
#include <string>

#include "tests/support/installed_game.h"   // the keys' names

namespace kelvane::test {

// "InstallPath" in the 32-bit view, where the game's 32-bit installer writes it.
void SetInstallPath(const std::wstring& value, DWORD type = REG_SZ);
// One TCP/IP interface, with or without TcpAckFrequency = 1.
void SetNetworkInterface(const std::wstring& name, bool ackEverySegment);
// Whether TcpAckFrequency is 1 on the interface.
bool InterfaceAcksEverySegment(const std::wstring& name);

}  // namespace kelvane::test
