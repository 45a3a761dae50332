// NetworkLatencyTweak against a redirected HKEY_LOCAL_MACHINE holding made-up TCP/IP interfaces.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scratch_registry.h"
#include "tweaks/network_latency.h"

namespace kelvane {
namespace {

using test::ScratchRegistry;
using test::SetNetworkInterface;

constexpr wchar_t kValue[] = L"TcpAckFrequency";
constexpr OptionMask kOtherBits = kOptionTextureCache | kOptionSyncConfig | kOptionSyncBindings | kOptionSyncMacros;

class NetworkLatencyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(registry.ok()); }

    static void SetAck(const std::wstring& name, DWORD value)
    {
        ScratchRegistry::SetDword(HKEY_LOCAL_MACHINE, test::InterfaceKey(name).c_str(), kValue, value);
    }
    static void SetAckBytes(const std::wstring& name, DWORD type, const std::vector<BYTE>& bytes)
    {
        ScratchRegistry::SetBytes(HKEY_LOCAL_MACHINE, test::InterfaceKey(name).c_str(), kValue, type, bytes.data(),
                                  static_cast<DWORD>(bytes.size()));
    }
    static bool HasAck(const std::wstring& name) { return test::ReadAckFrequency(name) != test::AckFrequency::Absent; }
    // Reads starting from both states of the bit, so a read that left the bit alone cannot pass for one that set it.
    static bool ReadsAsSet()
    {
        OptionMask fromClear = kOtherBits;
        OptionMask fromSet = kOtherBits | kOptionNetworkLatency;
        EXPECT_TRUE(NetworkLatencyTweak(fromClear, kRead));
        EXPECT_TRUE(NetworkLatencyTweak(fromSet, kRead));
        EXPECT_EQ(fromClear, fromSet) << "the read depended on the bit's earlier state";
        EXPECT_EQ(fromClear & kOtherBits, kOtherBits) << "a read changed another option";
        return (fromClear & kOptionNetworkLatency) != 0;
    }

    ScratchRegistry registry;
};

TEST_F(NetworkLatencyTest, TheLastInterfaceInEnumerationOrderDecides)
{
    for (const wchar_t* name : {L"A", L"B", L"C"})
        SetNetworkInterface(name, false);
    SetAck(L"C", 1);
    EXPECT_TRUE(ReadsAsSet());

    SetAck(L"A", 1);
    SetAck(L"B", 1);
    ScratchRegistry::SetDword(HKEY_LOCAL_MACHINE, test::InterfaceKey(L"C").c_str(), L"Other", 1);
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, test::InterfaceKey(L"C").c_str(), kValue), ERROR_SUCCESS);
    EXPECT_FALSE(ReadsAsSet());
}

TEST_F(NetworkLatencyTest, JudgesTheFirstFourBytesOfAnyTypeAndRefusesLongerData)
{
    SetNetworkInterface(L"only", false);
    SetAckBytes(L"only", REG_BINARY, {0x01, 0x00, 0x00, 0x00});
    EXPECT_TRUE(ReadsAsSet());
    SetAck(L"only", 2);
    EXPECT_FALSE(ReadsAsSet());
    SetAck(L"only", 0x101);
    EXPECT_FALSE(ReadsAsSet());
    // Eight bytes do not fit the four-byte number: whatever the first four hold, the read is clear.
    SetAckBytes(L"only", REG_QWORD, {0x01, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(ReadsAsSet());
}

// Without interfaces nothing is read or written; a write fails only when the interfaces key itself is missing.
TEST_F(NetworkLatencyTest, WithoutInterfacesTheBitStaysAndOnlyAMissingKeyFailsWrites)
{
    for (const bool keyThere : {false, true}) {
        SCOPED_TRACE(keyThere ? "an empty interfaces key" : "no interfaces key");
        if (keyThere)
            ScratchRegistry::CreateKey(HKEY_LOCAL_MACHINE, test::kInterfacesKey);
        for (const OptionMask start : {OptionMask{0}, kOptionNetworkLatency | kOtherBits}) {
            OptionMask mask = start;
            EXPECT_TRUE(NetworkLatencyTweak(mask, kRead));
            EXPECT_EQ(mask, start);
            // With the key there, no interface is out of line.
            EXPECT_EQ(static_cast<bool>(NetworkLatencyTweak(mask, kWrite)), keyThere);
            EXPECT_EQ(mask, start);
        }
        UniqueKey key;
        const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, test::kInterfacesKey, 0, KEY_READ, key.put());
        if (!keyThere) {
            EXPECT_EQ(opened, ERROR_FILE_NOT_FOUND) << "a write created the key";
            continue;
        }
        ASSERT_EQ(opened, ERROR_SUCCESS);
        DWORD subkeys = 99, values = 99;
        ASSERT_EQ(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(subkeys, 0u);
        EXPECT_EQ(values, 0u);
    }
}

TEST_F(NetworkLatencyTest, WritingSetMarksEveryInterfaceWithTheNumberOne)
{
    const std::vector<std::wstring> names = {L"{11111111-aaaa}", L"{22222222-bbbb}", L"loopback"};
    for (const auto& name : names)
        SetNetworkInterface(name, false);
    SetAck(names[1], 7);

    OptionMask mask = kOptionNetworkLatency;
    EXPECT_TRUE(NetworkLatencyTweak(mask, kWrite));
    EXPECT_EQ(mask, kOptionNetworkLatency);
    for (const auto& name : names)
        EXPECT_TRUE(test::InterfaceAcksEverySegment(name)) << name.c_str();
    EXPECT_TRUE(ReadsAsSet());
}

TEST_F(NetworkLatencyTest, WritingClearDeletesTheValueEverywhereAndKeepsOtherValues)
{
    for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
        SetNetworkInterface(name, false);
    SetAck(L"A", 1);                                       // ours from an earlier run
    SetAckBytes(L"B", REG_SZ, {'2', 0, 0, 0});             // another program's, of another type
    SetAck(L"C", 1);
    ScratchRegistry::SetDword(HKEY_LOCAL_MACHINE, test::InterfaceKey(L"C").c_str(), L"TcpNoDelay", 1);
    // D lacks the value: deleting what is not there is no failure.

    OptionMask mask = kOtherBits;
    EXPECT_TRUE(NetworkLatencyTweak(mask, kWrite));
    EXPECT_EQ(mask, kOtherBits);
    for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
        EXPECT_FALSE(HasAck(name)) << name;
    EXPECT_TRUE(ScratchRegistry::HasValue(HKEY_LOCAL_MACHINE, test::InterfaceKey(L"C").c_str(), L"TcpNoDelay"));
    EXPECT_FALSE(ReadsAsSet());
}

TEST_F(NetworkLatencyTest, AnInterfaceThatCannotBeOpenedFailsTheWriteButNotTheOthers)
{
    SetNetworkInterface(L"A", false);
    test::DanglingInterface dangling(L"B");
    SetNetworkInterface(L"C", false);
    {
        UniqueKey probe;
        ASSERT_EQ(
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, test::InterfaceKey(L"B").c_str(), 0, KEY_READ | KEY_WRITE, probe.put()),
            ERROR_FILE_NOT_FOUND);
    }

    OptionMask mask = kOptionNetworkLatency;
    EXPECT_FALSE(NetworkLatencyTweak(mask, kWrite));
    EXPECT_TRUE(HasAck(L"A"));
    EXPECT_FALSE(HasAck(L"B"));
    EXPECT_TRUE(HasAck(L"C"));
    EXPECT_TRUE(ReadsAsSet());   // C, the last one, decides

    mask = 0;
    EXPECT_FALSE(NetworkLatencyTweak(mask, kWrite));
    EXPECT_FALSE(HasAck(L"A"));
    EXPECT_FALSE(HasAck(L"C"));
}

TEST_F(NetworkLatencyTest, WalksManyInterfacesToTheEnd)
{
    constexpr int kInterfaces = 60;
    for (int i = 0; i < kInterfaces; ++i)
        SetNetworkInterface(L"if" + std::to_wstring(i), false);
    OptionMask mask = kOptionNetworkLatency;
    EXPECT_TRUE(NetworkLatencyTweak(mask, kWrite));
    for (int i = 0; i < kInterfaces; ++i)
        EXPECT_TRUE(HasAck(L"if" + std::to_wstring(i))) << i;
    mask = 0;
    EXPECT_TRUE(NetworkLatencyTweak(mask, kWrite));
    for (int i = 0; i < kInterfaces; ++i)
        EXPECT_FALSE(HasAck(L"if" + std::to_wstring(i))) << i;
}

}  // namespace
}  // namespace kelvane
