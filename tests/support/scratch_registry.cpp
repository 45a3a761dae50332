// A scratch registry key under the real HKEY_CURRENT_USER that stands in for both predefined roots, and the game key
// and network interfaces seeded in it.
#include "tests/support/scratch_registry.h"

#include <gtest/gtest.h>

namespace kelvane::test {

ScratchRegistry::ScratchRegistry()
{
    scratchPath_ = L"Software\\Vantorin Kelvane Tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(GetTickCount64());
    const std::wstring machine = scratchPath_ + L"\\HKLM";
    const std::wstring user = scratchPath_ + L"\\HKCU";
    // Both keys are opened before either root is redirected: the user one lives under the real HKCU.
    if (RegCreateKeyExW(HKEY_CURRENT_USER, machine.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, machine_.put(),
                        nullptr) != ERROR_SUCCESS ||
        RegCreateKeyExW(HKEY_CURRENT_USER, user.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, user_.put(),
                        nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create the scratch registry key";
        return;
    }
    ok_ = RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.get()) == ERROR_SUCCESS &&
          RegOverridePredefKey(HKEY_CURRENT_USER, user_.get()) == ERROR_SUCCESS;
    if (!ok_)
        ADD_FAILURE() << "RegOverridePredefKey failed; refusing to touch the real registry";
}

ScratchRegistry::~ScratchRegistry()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    machine_ = UniqueKey();
    user_ = UniqueKey();
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath_.c_str());
    // Leave no empty parent behind either.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Vantorin Kelvane Tests");
}

void ScratchRegistry::SetBytes(HKEY root, const wchar_t* subkey, const wchar_t* name, DWORD type, const void* data,
                               DWORD size)
{
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

void ScratchRegistry::SetString(HKEY root, const wchar_t* subkey, const wchar_t* name, const std::wstring& value,
                                DWORD type)
{
    SetBytes(root, subkey, name, type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void ScratchRegistry::SetDword(HKEY root, const wchar_t* subkey, const wchar_t* name, DWORD value)
{
    SetBytes(root, subkey, name, REG_DWORD, &value, sizeof(value));
}

void ScratchRegistry::CreateKey(HKEY root, const wchar_t* subkey)
{
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
}

bool ScratchRegistry::HasValue(HKEY root, const wchar_t* subkey, const wchar_t* name)
{
    return RegGetValueW(root, subkey, name, RRF_RT_ANY | RRF_NOEXPAND, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool ScratchRegistry::ReadDword(HKEY root, const wchar_t* subkey, const wchar_t* name, DWORD& value)
{
    DWORD size = sizeof(value);
    return RegGetValueW(root, subkey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS;
}

void SetInstallPath(const std::wstring& value, DWORD type)
{
    ASSERT_EQ(WriteInstallPath(value, type), ERROR_SUCCESS) << "cannot write the game's key";
}

void SetNetworkInterface(const std::wstring& name, bool ackEverySegment)
{
    const std::wstring key = InterfaceKey(name);
    ScratchRegistry::CreateKey(HKEY_LOCAL_MACHINE, key.c_str());
    if (ackEverySegment)
        ScratchRegistry::SetDword(HKEY_LOCAL_MACHINE, key.c_str(), L"TcpAckFrequency", 1);
}

bool InterfaceAcksEverySegment(const std::wstring& name)
{
    return ReadAckFrequency(name) == AckFrequency::EverySegment;
}

DanglingInterface::DanglingInterface(const std::wstring& name) : path_(InterfaceKey(name))
{
    Create();
}

DanglingInterface::~DanglingInterface()
{
    UniqueKey link;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, link.put()) ==
        ERROR_SUCCESS) {
        EXPECT_EQ(RegDeleteKeyW(link.get(), L""), ERROR_SUCCESS);
    }
}

void DanglingInterface::Create()
{
    UniqueKey link;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr,
                              link.put(), nullptr),
              ERROR_SUCCESS);
    const std::wstring target = L"\\Registry\\Machine\\Software\\Kelvane Tweak Tests Missing Target";
    ASSERT_EQ(RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK,
                             reinterpret_cast<const BYTE*>(target.c_str()),
                             static_cast<DWORD>(target.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

}  // namespace kelvane::test
