// QueryRegistryString: only a terminated string that fits the caller's buffer is ever handed back.
#include <gtest/gtest.h>

#include <utility>

#include "common/registry.h"
#include "common/unique_handle.h"
#include "tests/support/scratch_registry.h"

namespace kelvane {
namespace {

using test::ScratchRegistry;

constexpr wchar_t kKey[] = L"Software\\Query Test";

class QueryRegistryStringTest : public ::testing::Test {
protected:
    // Reads `name` into a 12-character buffer filled with a sentinel, so the test sees what the call wrote.
    LONG Read(const wchar_t* name, DWORD capacity = 12)
    {
        UniqueKey key;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()), ERROR_SUCCESS);
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        count = capacity;
        return QueryRegistryString(key.get(), name, buffer, count);
    }

    ScratchRegistry registry;
    wchar_t buffer[32];
    DWORD count = 0;
};

TEST_F(QueryRegistryStringTest, ReadsStringsWithTheirTerminatorAndLeavesExpandableOnesUnexpanded)
{
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kKey, L"plain", L"0,0,255");
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kKey, L"expand", L"%TEMP%", REG_EXPAND_SZ);
    ASSERT_EQ(Read(L"plain"), ERROR_SUCCESS);
    EXPECT_EQ(count, 8u);
    EXPECT_STREQ(buffer, L"0,0,255");
    ASSERT_EQ(Read(L"expand"), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"%TEMP%");
}

TEST_F(QueryRegistryStringTest, RefusesValuesThatAreNotTerminatedStringsOfTheRightSize)
{
    const DWORD number = 255;
    ScratchRegistry::SetBytes(HKEY_CURRENT_USER, kKey, L"dword", REG_DWORD, &number, sizeof(number));
    // Exactly the buffer's size without a terminator: no room is left for one to be added.
    const wchar_t unterminated[12] = {L'1', L'2', L'3', L'4', L'5', L'6', L'7', L'8', L'9', L'0', L'1', L'2'};
    ScratchRegistry::SetBytes(HKEY_CURRENT_USER, kKey, L"unterminated", REG_SZ, unterminated, sizeof(unterminated));
    const char odd[] = {'1', 0, '2', 0, 0};
    ScratchRegistry::SetBytes(HKEY_CURRENT_USER, kKey, L"odd", REG_SZ, odd, sizeof(odd));
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kKey, L"long", L"255,255,255,9");

    const std::pair<const wchar_t*, LONG> refusals[] = {{L"dword", ERROR_INVALID_DATA}, {L"odd", ERROR_INVALID_DATA},
                                                        {L"long", ERROR_MORE_DATA}, {L"missing", ERROR_FILE_NOT_FOUND}};
    for (const auto& [name, error] : refusals) {
        EXPECT_EQ(Read(name), error) << name;
        EXPECT_EQ(count, 0u) << name;
    }
    EXPECT_NE(Read(L"unterminated"), ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);
}

TEST(ScratchRegistryTest, KeepsTestValuesOutOfTheRealRoots)
{
    {
        ScratchRegistry registry;
        ASSERT_TRUE(registry.ok());
        ScratchRegistry::SetDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kelvane Probe", L"probe", 7);
        DWORD value = 0;
        ASSERT_TRUE(ScratchRegistry::ReadDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kelvane Probe", L"probe", value));
        EXPECT_EQ(value, 7u);
    }
    EXPECT_FALSE(ScratchRegistry::HasValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kelvane Probe", L"probe"));
}

}  // namespace
}  // namespace kelvane
