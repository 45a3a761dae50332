// EncodeUtf8 and DecodeUtf8: unit by unit, and never past the end of a value.
#include <gtest/gtest.h>

#include <string>

#include "config/utf8.h"

namespace kelvane {
namespace {

using namespace std::string_literals;

TEST(Utf8, EncodesEachUnitInOneToThreeBytesUpToTheFirstNul)
{
    EXPECT_EQ(EncodeUtf8(L"SET a"), "SET a");
    EXPECT_EQ(EncodeUtf8(L"\x007F\x0080\x07FF\x0800\xFFFF"),
              "\x7F" "\xC2\x80" "\xDF\xBF" "\xE0\xA0\x80" "\xEF\xBF\xBF");
    // A surrogate pair is two units of three bytes each, not one four-byte code point.
    EXPECT_EQ(EncodeUtf8(L"\xD83D\xDE00"), "\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(EncodeUtf8(L"ab\0cd"s), "ab");
    EXPECT_EQ(EncodeUtf8(L""), "");
}

TEST(Utf8, DecodesOneUnitPerSequenceTakingLowBitsWhateverTheyAre)
{
    EXPECT_EQ(DecodeUtf8("\xC3\xA9"), L"\x00E9");
    EXPECT_EQ(DecodeUtf8("\xE9xy"), L"\x9E39");
    EXPECT_EQ(DecodeUtf8("a\x80" "b"), L"a?b");
    EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80" "a\xF8\x80\x80\x80\x80" "b\xFC\x80\x80\x80\x80\x80" "c"), L"?a?b?c");
    EXPECT_EQ(DecodeUtf8("ab\0cd"s), L"ab");
    EXPECT_EQ(DecodeUtf8("\xED\xA0\xBD\xED\xB8\x80"), L"\xD83D\xDE00");
}

TEST(Utf8, SequenceCutOffByTheEndOfTheValueGivesOneQuestionMarkAndEnds)
{
    EXPECT_EQ(DecodeUtf8("a\xC3"), L"a?");
    EXPECT_EQ(DecodeUtf8("a\xE2\x82"), L"a?");
    EXPECT_EQ(DecodeUtf8("\xE9x"), L"?");
    // The value is a view into a longer buffer: the bytes behind it must not be taken into the sequence.
    const std::string buffer = "\"\xE2\x82\xAC\"";
    EXPECT_EQ(DecodeUtf8(std::string_view(buffer).substr(0, 3)), L"\"?");
    EXPECT_EQ(DecodeUtf8("\xF0\x9F"), L"?");
}

TEST(Utf8, EveryUnitButNulSurvivesEncodeThenDecode)
{
    std::wstring all;
    for (unsigned u = 1; u <= 0xFFFF; ++u)
        all.push_back(static_cast<wchar_t>(u));
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(all)), all);
}

}  // namespace
}  // namespace kelvane
