// The game's key and the TCP/IP interfaces in the machine's own registry, each put back as it was afterwards.
#include "tests/support/installed_game.h"

#include <algorithm>

#include "common/unique_handle.h"

namespace kelvane::test {
namespace {

constexpr wchar_t kGameParentKey[] = L"SOFTWARE\\Blizzard Entertainment";
constexpr wchar_t kInstallPath[] = L"InstallPath";
constexpr wchar_t kTcpAckFrequency[] = L"TcpAckFrequency";
constexpr DWORD kAckEverySegment = 1;
constexpr DWORD kSubkeyNameCapacity = 260;

std::vector<std::wstring> InterfaceNames(HKEY interfaces)
{
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kSubkeyNameCapacity];
        DWORD length = kSubkeyNameCapacity;
        if (RegEnumKeyExW(interfaces, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace

std::wstring InterfaceKey(const std::wstring& name)
{
    return std::wstring(kInterfacesKey) + L"\\" + name;
}

AckFrequency ReadAckFrequency(const std::wstring& name)
{
    DWORD value = 0, size = sizeof(value), type = REG_NONE;
    const LONG result =
        RegGetValueW(HKEY_LOCAL_MACHINE, InterfaceKey(name).c_str(), kTcpAckFrequency, RRF_RT_ANY, &type, &value, &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return AckFrequency::Absent;
    return result == ERROR_SUCCESS && type == REG_DWORD && value == kAckEverySegment ? AckFrequency::EverySegment
                                                                                     : AckFrequency::Other;
}

LONG WriteInstallPath(const std::wstring& value, DWORD type)
{
    UniqueKey key;
    const LONG created = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                         nullptr, key.put(), nullptr);
    if (created != ERROR_SUCCESS)
        return created;
    return RegSetValueExW(key.get(), kInstallPath, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

InstalledGame::InstalledGame()
{
    UniqueKey parent, key;
    parentExisted_ = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameParentKey, 0, KEY_READ | KEY_WOW64_32KEY, parent.put()) ==
                     ERROR_SUCCESS;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_READ | KEY_WOW64_32KEY, key.put()) != ERROR_SUCCESS)
        return;
    keyExisted_ = true;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), kInstallPath, nullptr, &oldType_, nullptr, &size) != ERROR_SUCCESS)
        return;
    oldValue_.resize(size);
    valueExisted_ = RegQueryValueExW(key.get(), kInstallPath, nullptr, &oldType_, oldValue_.data(), &size) ==
                    ERROR_SUCCESS;
    oldValue_.resize(size);
}

InstalledGame::InstalledGame(const std::wstring& folder) : InstalledGame()
{
    if (!folder.empty())
        ok_ = Point(folder);
    else if (keyExisted_)
        ok_ = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kGameKey, KEY_WOW64_32KEY, 0) == ERROR_SUCCESS;
}

InstalledGame::~InstalledGame()
{
    if (!keyExisted_) {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kGameKey, KEY_WOW64_32KEY, 0);
        if (!parentExisted_)
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kGameParentKey, KEY_WOW64_32KEY, 0);
        return;
    }
    UniqueKey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return;
    if (valueExisted_)
        RegSetValueExW(key.get(), kInstallPath, 0, oldType_, oldValue_.data(), static_cast<DWORD>(oldValue_.size()));
    else
        RegDeleteValueW(key.get(), kInstallPath);
}

bool InstalledGame::Point(const std::wstring& folder)
{
    return ok_ = WriteInstallPath(L"\"" + folder + L"\"") == ERROR_SUCCESS;
}

void ClearNetworkTweak()
{
    UniqueKey interfaces;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInterfacesKey, 0, KEY_ALL_ACCESS, interfaces.put()) != ERROR_SUCCESS)
        return;
    for (const std::wstring& name : InterfaceNames(interfaces.get())) {
        UniqueKey one;
        if (RegOpenKeyExW(interfaces.get(), name.c_str(), 0, KEY_SET_VALUE, one.put()) == ERROR_SUCCESS)
            RegDeleteValueW(one.get(), kTcpAckFrequency);
    }
}

NetworkInterfaces::NetworkInterfaces(const std::vector<std::wstring>& names)
{
    UniqueKey interfaces;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInterfacesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        interfaces.put(), nullptr) != ERROR_SUCCESS)
        return;
    for (const std::wstring& name : InterfaceNames(interfaces.get())) {
        if (std::find(names.begin(), names.end(), name) != names.end())
            continue;   // left over from a run that did not finish: ours, removed at the end
        Saved saved{name};
        DWORD size = sizeof(saved.value);
        saved.had = RegGetValueW(interfaces.get(), name.c_str(), kTcpAckFrequency, RRF_RT_ANY, nullptr, &saved.value,
                                 &size) == ERROR_SUCCESS;
        others_.push_back(saved);
    }
    ok_ = true;
    for (const std::wstring& name : names) {
        UniqueKey one;
        if (RegCreateKeyExW(interfaces.get(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, one.put(),
                            nullptr) == ERROR_SUCCESS)
            created_.push_back(name);
        else
            ok_ = false;
    }
    ClearNetworkTweak();   // on the others and on ours, left over or new
}

NetworkInterfaces::~NetworkInterfaces()
{
    UniqueKey interfaces;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInterfacesKey, 0, KEY_ALL_ACCESS, interfaces.put()) != ERROR_SUCCESS)
        return;
    for (const std::wstring& name : created_)
        RegDeleteKeyW(interfaces.get(), name.c_str());
    for (const Saved& saved : others_) {
        UniqueKey one;
        if (RegOpenKeyExW(interfaces.get(), saved.name.c_str(), 0, KEY_ALL_ACCESS, one.put()) != ERROR_SUCCESS)
            continue;
        if (saved.had)
            RegSetValueExW(one.get(), kTcpAckFrequency, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved.value),
                           sizeof(saved.value));
        else
            RegDeleteValueW(one.get(), kTcpAckFrequency);
    }
}

bool NetworkInterfaces::AllAre(bool on) const
{
    for (const std::wstring& name : created_) {
        if (ReadAckFrequency(name) != (on ? AckFrequency::EverySegment : AckFrequency::Absent))
            return false;
    }
    return !created_.empty();
}

}  // namespace kelvane::test
