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

// Red goes in the low byte; each component keeps only its low byte; numbers are read the way the C runtime does.
TEST(ParseColorText, GivesEachTextItsColourOrRefusesItWithoutThreeComponents)
{
    constexpr COLORREF kInvalid = HyperLinkControl::kInvalidColor;
    const struct { const wchar_t* text; COLORREF color; } cases[] = {
        {L"0,0,255", 0x00FF0000u}, {L"255,0,0", 0x000000FFu}, {L"1,2,3", 0x00030201u}, {L"255,255,255", 0x00FFFFFFu},
        {L"256,0,0", 0x00000000u}, {L"0,513,0", 0x00000100u},
        {L"0,0,-1", 0x00FF0000u},   // only the first two components may not be -1
        {L" 1,\t+2,  3", 0x00030201u},
        {L"1x,2 ,3;4", 0x00030201u},   // digits up to the first other character
        {L"a,b,c", 0x00000000u},       // no digits count as 0, not as missing
        {L"0,128,0,5", 0x00008000u},   // everything after the second comma is the third number
        {L"0,128", kInvalid}, {L"0,128,", kInvalid}, {L"-1,0,0", kInvalid}, {L"0,-1,0", kInvalid}, {L"", kInvalid},
        {L"255", kInvalid}, {L",,", kInvalid}, {L" -1,2,3", kInvalid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(c.text), c.color) << "text: \"" << c.text << "\"";
    EXPECT_EQ(HyperLinkControl::ParseColorText(nullptr), kInvalid);
}

}  // namespace
}  // namespace kelvane
