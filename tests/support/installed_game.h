// For tests and benchmarks that drive the real program in another process: the game "installed" in the machine's
// own registry and TCP/IP interfaces of their own (only ever inside a private Wine prefix, or where a benchmark is
// told it may), with what was there before put back afterwards. No GoogleTest in here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvane::test {

constexpr wchar_t kGameKey[] = L"SOFTWARE\\Blizzard Entertainment\\World of Warcraft";
constexpr wchar_t kInterfacesKey[] = L"SYSTEM\\CurrentControlSet\\services\\tcpip\\Parameters\\Interfaces";

std::wstring InterfaceKey(const std::wstring& name);   // one interface's key below kInterfacesKey
// What TcpAckFrequency holds on one interface: nothing, the number 1 as a REG_DWORD (every segment acknowledged),
// or anything else.
enum class AckFrequency { Absent, EverySegment, Other };
AckFrequency ReadAckFrequency(const std::wstring& name);
// Writes "InstallPath" into the 32-bit view, where the game's installer does; returns the registry's error code.
LONG WriteInstallPath(const std::wstring& value, DWORD type = REG_SZ);

class InstalledGame {
public:
    InstalledGame();   // remembers what is there, changing nothing yet
    // Then points the game at `folder`; an empty folder installs nothing, removing a key that is there.
    explicit InstalledGame(const std::wstring& folder);
    InstalledGame(const InstalledGame&) = delete;
    InstalledGame& operator=(const InstalledGame&) = delete;
    ~InstalledGame();   // puts back what was there: the key removed again when there was none

    bool Point(const std::wstring& folder);   // the folder quoted, as installers leave it
    bool ok() const { return ok_; }   // the last change went through

private:
    bool parentExisted_ = false;
    bool keyExisted_ = false;
    bool valueExisted_ = false;
    DWORD oldType_ = REG_NONE;
    std::vector<BYTE> oldValue_;
    bool ok_ = true;
};

// Removes TcpAckFrequency from every TCP/IP interface of the machine, so the network option reads as off.
void ClearNetworkTweak();

// TCP/IP interfaces of the caller's own, with TcpAckFrequency cleared on every interface; the interfaces made here
// are removed and the values of the others put back afterwards.
class NetworkInterfaces {
public:
    explicit NetworkInterfaces(const std::vector<std::wstring>& names);
    NetworkInterfaces(const NetworkInterfaces&) = delete;
    NetworkInterfaces& operator=(const NetworkInterfaces&) = delete;
    ~NetworkInterfaces();

    bool ok() const { return ok_; }
    // Whether TcpAckFrequency is 1 on each of these interfaces (`on`), or absent from each (`!on`).
    bool AllAre(bool on) const;

private:
    struct Saved {
        std::wstring name;
        bool had = false;
        DWORD value = 0;
    };
    std::vector<Saved> others_;
    std::vector<std::wstring> created_;
    bool ok_ = false;
};

}  // namespace kelvane::test
