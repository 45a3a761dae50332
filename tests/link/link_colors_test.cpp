// The link colours come from the browser settings of the (redirected) current user, and only from sound values.
#include "tests/link/link_fixture.h"

namespace kelvane::test {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr wchar_t kLinkValue[] = L"Anchor Color";
constexpr wchar_t kVisitedValue[] = L"Anchor Color Visited";

using LinkColorsTest = LinkDialogTest;

TEST_F(LinkColorsTest, WithoutTheSettingsKeyTheDefaultsStay)
{
    CreateLink();
    EXPECT_EQ(Access::LinkColor(link), kDefaultLinkColor);
    EXPECT_EQ(Access::VisitedColor(link), kDefaultVisitedColor);
}

TEST_F(LinkColorsTest, DrawsInTheColoursOfTheBrowserSettings)
{
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kLinkValue, L"255,0,0");
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kVisitedValue, L"0,255,0", REG_EXPAND_SZ);
    CreateLink();
    EXPECT_EQ(Access::LinkColor(link), RGB(255, 0, 0));
    EXPECT_EQ(Access::VisitedColor(link), RGB(0, 255, 0));
    const Image image = Render(control);
    EXPECT_GT(image.Count(RGB(255, 0, 0)), 0);
    EXPECT_EQ(image.Count(kDefaultLinkColor), 0);
}

TEST_F(LinkColorsTest, ReadsTheVisitedColourWithTheWholeBufferAgain)
{
    // The first, short value must not shrink the room for the second, which needs all 12 characters.
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kLinkValue, L"1,2,3");
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kVisitedValue, L"255,255,254");
    CreateLink();
    EXPECT_EQ(Access::LinkColor(link), RGB(1, 2, 3));
    EXPECT_EQ(Access::VisitedColor(link), RGB(255, 255, 254));
}

TEST_F(LinkColorsTest, IgnoresANumberValue)
{
    ScratchRegistry::SetDword(HKEY_CURRENT_USER, kSettings, kLinkValue, 0x000000FF);
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kVisitedValue, L"0,0,128");
    CreateLink();
    EXPECT_EQ(Access::LinkColor(link), kDefaultLinkColor);
    EXPECT_EQ(Access::VisitedColor(link), RGB(0, 0, 128));   // one bad value does not stop the other
}

TEST_F(LinkColorsTest, IgnoresAValueLongerThanItsBuffer)
{
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kLinkValue, L"0,128,0");
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kVisitedValue, L"255,255,255,9");
    CreateLink();
    EXPECT_EQ(Access::LinkColor(link), RGB(0, 128, 0));
    EXPECT_EQ(Access::VisitedColor(link), kDefaultVisitedColor);
}

TEST_F(LinkColorsTest, IgnoresTextThatDoesNotParse)
{
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kLinkValue, L"0,128,");
    ScratchRegistry::SetString(HKEY_CURRENT_USER, kSettings, kVisitedValue, L"-1,0,0");
    CreateLink();
    EXPECT_EQ(Access::LinkColor(link), kDefaultLinkColor);
    EXPECT_EQ(Access::VisitedColor(link), kDefaultVisitedColor);
}

}  // namespace
}  // namespace kelvane::test
