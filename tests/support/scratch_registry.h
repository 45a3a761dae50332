// Redirects HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process into a scratch key for one test,
// so tests never read or change the machine's own settings. The scratch key is deleted afterwards. Also seeds it the
// way a game installation and network adapters leave the registry.
#pragma once

#include <windows.h>
#include <string>

#include "common/unique_handle.h"
#include "tests/support/installed_game.h"   // the keys' names

namespace kelvane::test {

class ScratchRegistry {
public:
    ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;
    ~ScratchRegistry();

    bool ok() const { return ok_; }

    // Helpers that go through the redirected roots.
    static void SetString(HKEY root, const wchar_t* subkey, const wchar_t* name, const std::wstring& value,
                          DWORD type = REG_SZ);
    static void SetBytes(HKEY root, const wchar_t* subkey, const wchar_t* name, DWORD type, const void* data,
                         DWORD size);
    static void SetDword(HKEY root, const wchar_t* subkey, const wchar_t* name, DWORD value);
    static void CreateKey(HKEY root, const wchar_t* subkey);
    static bool HasValue(HKEY root, const wchar_t* subkey, const wchar_t* name);
    static bool ReadDword(HKEY root, const wchar_t* subkey, const wchar_t* name, DWORD& value);

private:
    std::wstring scratchPath_;
    UniqueKey machine_;
    UniqueKey user_;
    bool ok_ = false;
};

// "InstallPath" in the 32-bit view, where the game's 32-bit installer writes it.
void SetInstallPath(const std::wstring& value, DWORD type = REG_SZ);
// One TCP/IP interface, with or without TcpAckFrequency = 1.
void SetNetworkInterface(const std::wstring& name, bool ackEverySegment);
// Whether TcpAckFrequency is 1 on the interface.
bool InterfaceAcksEverySegment(const std::wstring& name);

// An interface whose key cannot be opened: a registry link to a key that does not exist. Removed again on its own,
// before the scratch key, because deleting the tree around it would try to follow the link.
class DanglingInterface {
public:
    explicit DanglingInterface(const std::wstring& name);
    DanglingInterface(const DanglingInterface&) = delete;
    DanglingInterface& operator=(const DanglingInterface&) = delete;
    ~DanglingInterface();

private:
    void Create();

    std::wstring path_;
};

}  // namespace kelvane::test
