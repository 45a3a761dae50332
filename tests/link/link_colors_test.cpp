// The link colours come from the browser settings of the (redirected) current user, and only from sound values.
#include "tests/link/link_fixture.h"

#include <utility>

namespace kelvane::test {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr DWORD kNumberValue = 0x000000FF;

// One setting as the browser left it: no text means no value; a REG_DWORD one holds kNumberValue.
struct Setting { const wchar_t* text; DWORD type = REG_SZ; };
struct ColorCase { const char* what; Setting link, visited; COLORREF linkColor, visitedColor; };

const ColorCase kCases[] = {
    {"without the settings key the defaults stay", {nullptr}, {nullptr}, kDefaultLinkColor, kDefaultVisitedColor},
    {"the browser's colours", {L"255,0,0"}, {L"0,255,0", REG_EXPAND_SZ}, RGB(255, 0, 0), RGB(0, 255, 0)},
    // The first, short value must not shrink the room for the second, which needs all 12 characters.
    {"the whole buffer again", {L"1,2,3"}, {L"255,255,254"}, RGB(1, 2, 3), RGB(255, 255, 254)},
    // One bad value does not stop the other.
    {"a number value", {L"", REG_DWORD}, {L"0,0,128"}, kDefaultLinkColor, RGB(0, 0, 128)},
    {"a value longer than its buffer", {L"0,128,0"}, {L"255,255,255,9"}, RGB(0, 128, 0), kDefaultVisitedColor},
    {"text that does not parse", {L"0,128,"}, {L"-1,0,0"}, kDefaultLinkColor, kDefaultVisitedColor},
};

class LinkColorsTest : public LinkDialogTest, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(LinkColorsTest, TakesSoundBrowserColoursAndDrawsInThem)
{
    const ColorCase& c = GetParam();
    SCOPED_TRACE(c.what);
    using Value = std::pair<const wchar_t*, Setting>;
    for (const auto& [name, setting] : {Value{L"Anchor Color", c.link}, Value{L"Anchor Color Visited", c.visited}}) {
        if (setting.type == REG_DWORD)
            ScratchRegistry::SetDword(HKEY_CURRENT_USER, kSettings, name, kNumberValue);
        else if (setting.text)
            ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, name, setting.text, setting.type);
    }
    CreateLink();
    EXPECT_EQ(Access::LinkColor(link), c.linkColor);
    EXPECT_EQ(Access::VisitedColor(link), c.visitedColor);
    const Image image = Render(control);
    EXPECT_GT(image.Count(c.linkColor), 0);
    if (c.linkColor != kDefaultLinkColor) {
        EXPECT_EQ(image.Count(kDefaultLinkColor), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, LinkColorsTest, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace kelvane::test
