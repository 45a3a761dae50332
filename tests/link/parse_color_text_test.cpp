// ParseColorText: the browser's "red,green,blue" text as a colour value, and the texts that must be refused.
#include <gtest/gtest.h>

#include <string>

#include "app/hyperlink_control.h"

namespace kelvane {
namespace {

COLORREF Parse(std::wstring text)
{
    return HyperLinkControl::ParseColorText(text.data());
}

TEST(ParseColorText, PutsRedInTheLowByte)
{
    EXPECT_EQ(Parse(L"0,0,255"), 0x00FF0000u);
    EXPECT_EQ(Parse(L"255,0,0"), 0x000000FFu);
    EXPECT_EQ(Parse(L"1,2,3"), 0x00030201u);
    EXPECT_EQ(Parse(L"255,255,255"), 0x00FFFFFFu);
}

TEST(ParseColorText, KeepsOnlyTheLowByteOfEachComponent)
{
    EXPECT_EQ(Parse(L"256,0,0"), 0x00000000u);
    EXPECT_EQ(Parse(L"0,0,-1"), 0x00FF0000u);   // only the first two components may not be -1
    EXPECT_EQ(Parse(L"0,513,0"), 0x00000100u);
}

TEST(ParseColorText, ReadsNumbersTheWayTheCRuntimeDoes)
{
    EXPECT_EQ(Parse(L" 1,\t+2,  3"), 0x00030201u);
    EXPECT_EQ(Parse(L"1x,2 ,3;4"), 0x00030201u);   // digits up to the first other character
    EXPECT_EQ(Parse(L"a,b,c"), 0x00000000u);       // no digits count as 0, not as missing
    EXPECT_EQ(Parse(L"0,128,0,5"), 0x00008000u);   // everything after the second comma is the third number
}

TEST(ParseColorText, RefusesTextsWithoutThreeComponents)
{
    for (const wchar_t* text : {L"0,128", L"0,128,", L"-1,0,0", L"0,-1,0", L"", L"255", L",,", L" -1,2,3"})
        EXPECT_EQ(Parse(text), HyperLinkControl::kInvalidColor) << "text: \"" << text << "\"";
    EXPECT_EQ(HyperLinkControl::ParseColorText(nullptr), HyperLinkControl::kInvalidColor);
}

}  // namespace
}  // namespace kelvane
