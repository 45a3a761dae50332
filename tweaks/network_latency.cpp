// The network option: reads and writes TcpAckFrequency on every TCP/IP interface key.
#include "tweaks/network_latency.h"

#include <windows.h>

#include "common/unique_handle.h"

namespace kelvane {
namespace {

constexpr wchar_t kInterfacesKey[] = L"SYSTEM\\CurrentControlSet\\services\\tcpip\\Parameters\\Interfaces";
constexpr wchar_t kTcpAckFrequency[] = L"TcpAckFrequency";

// Reading opens for writing too, so a process that could not apply the option does not show it either.
constexpr REGSAM kInterfaceAccess = KEY_READ | KEY_WRITE;
static_assert(kInterfaceAccess == 0x2001F);

constexpr DWORD kSubkeyNameCapacity = 260;
constexpr DWORD kAckEverySegment = 1;

// The walk is bounded: interfaces added while it runs get a few extra indexes, a broken enumeration does not spin.
constexpr DWORD kExtraIndexes = 16;
constexpr DWORD kSubkeysWhenUncounted = 1024;
constexpr DWORD kMaxFailedIndexRun = 16;

struct WalkResult {
    bool complete = true;   // every index up to the end of the list was enumerated
    bool visitedAny = false;
};

// Calls visit(subkey) for each interface in enumeration order; the key is null when it cannot be opened.
template <typename Visit>
WalkResult ForEachInterface(HKEY interfaces, Visit visit)
{
    DWORD subkeys = 0;
    if (RegQueryInfoKeyW(interfaces, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        subkeys = kSubkeysWhenUncounted;
    const DWORD indexLimit = subkeys + kExtraIndexes;

    WalkResult walk;
    DWORD failedRun = 0;
    for (DWORD index = 0;; ++index) {
        if (index >= indexLimit) {
            walk.complete = false;
            break;
        }
        wchar_t name[kSubkeyNameCapacity];
        DWORD nameLength = kSubkeyNameCapacity;
        const LONG result = RegEnumKeyExW(interfaces, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS) {
            // No name was read at this index: skip it, but an interface went unseen.
            walk.complete = false;
            if (++failedRun >= kMaxFailedIndexRun)
                break;
            continue;
        }
        failedRun = 0;
        walk.visitedAny = true;
        UniqueKey subkey;
        if (RegOpenKeyExW(interfaces, name, 0, kInterfaceAccess, subkey.put()) != ERROR_SUCCESS)
            subkey.release();   // a failed open owns nothing, whatever it left in the out-parameter
        visit(subkey.get());
    }
    return walk;
}

// Only a value of at most four bytes has a defined number; a longer one is judged clear.
bool AcksEverySegment(HKEY subkey)
{
    if (!subkey)
        return false;
    DWORD number = 0;
    DWORD size = sizeof(number);
    const LONG result =
        RegQueryValueExW(subkey, kTcpAckFrequency, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size);
    return result == ERROR_SUCCESS && number == kAckEverySegment;
}

bool WriteAckFrequency(HKEY subkey, bool on)
{
    if (!subkey)
        return false;
    if (on)
        return RegSetValueExW(subkey, kTcpAckFrequency, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kAckEverySegment),
                              sizeof(kAckEverySegment)) == ERROR_SUCCESS;
    const LONG result = RegDeleteValueW(subkey, kTcpAckFrequency);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace

WriteResult NetworkLatencyTweak(OptionMask& options, int flag)
{
    UniqueKey interfaces;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInterfacesKey, 0, kInterfaceAccess, interfaces.put()) != ERROR_SUCCESS)
        return flag == kRead ? WriteResult() : FailureCause::RegistryRefused;

    if (flag == kRead) {
        // Each interface overwrites the answer, so the last one in enumeration order decides.
        bool on = false;
        const WalkResult walk = ForEachInterface(interfaces.get(), [&](HKEY subkey) { on = AcksEverySegment(subkey); });
        if (walk.visitedAny)
            options = WithBit(options, kOptionNetworkLatency, on);
        return WriteResult();
    }

    const bool on = (options & kOptionNetworkLatency) != 0;
    bool allWritten = true;
    const WalkResult walk = ForEachInterface(interfaces.get(), [&](HKEY subkey) {
        if (!WriteAckFrequency(subkey, on))
            allWritten = false;
    });
    return allWritten && walk.complete ? WriteResult() : FailureCause::RegistryRefused;
}

}  // namespace kelvane
