// What the link draws, read back from a bitmap: colours by state, the parent's background, the focus rectangle.
#include "tests/link/link_fixture.h"

#include <algorithm>

namespace kelvane::test {
namespace {

using LinkPaintTest = LinkDialogTest;

TEST_F(LinkPaintTest, DrawsTheTextInTheLinkColourOnTheParentsBackground)
{
    CreateLink();
    const Image image = Render(control);
    const RECT linkRect = Access::LinkRect(link);
    EXPECT_GT(image.Count(kDefaultLinkColor), 0);
    EXPECT_EQ(image.CountOutside(linkRect, kWhite, false), 0) << "outside the text only the parent's brush";
    // The underline is a row of the link colour across the text's whole width.
    int longestRow = 0;
    for (int y = linkRect.top; y < linkRect.bottom; ++y) {
        int run = 0;
        for (int x = linkRect.left; x < linkRect.right; ++x)
            run += image.At(x, y) == kDefaultLinkColor;
        longestRow = std::max(longestRow, run);
    }
    EXPECT_GE(longestRow, (linkRect.right - linkRect.left) * 9 / 10);

    // A WM_PAINT that brings its own device context draws the same.
    EXPECT_EQ(Render(control, WM_PAINT).pixels, image.pixels);
}

TEST_F(LinkPaintTest, DrawsInTheVisitedColourAfterASuccessfulOpenOnly)
{
    CreateLink();
    FakeShell::answer = kShellFileNotFound;
    SendMessageW(control, WM_CHAR, 13, 0);
    Image image = Render(control);
    EXPECT_GT(image.Count(kDefaultLinkColor), 0);
    EXPECT_EQ(image.Count(kDefaultVisitedColor), 0);

    FakeShell::answer = 33;   // the smallest success
    SendMessageW(control, WM_CHAR, 32, 0);
    image = Render(control);
    EXPECT_EQ(image.Count(kDefaultLinkColor), 0);
    EXPECT_GT(image.Count(kDefaultVisitedColor), 0);

    FakeShell::answer = kShellFileNotFound;
    SendMessageW(control, WM_CHAR, 13, 0);
    EXPECT_EQ(Render(control).pixels, image.pixels) << "a later failure does not undo the visit";
}

TEST_F(LinkPaintTest, ADisabledLinkIsGrey)
{
    CreateLink();
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    ASSERT_NE(grey, kDefaultLinkColor);
    EnableWindow(control, FALSE);
    Image image = Render(control);
    EXPECT_GT(image.Count(grey), 0);
    EXPECT_EQ(image.Count(kDefaultLinkColor), 0);
    EnableWindow(control, TRUE);
    image = Render(control);
    EXPECT_EQ(image.Count(grey), 0);
    EXPECT_GT(image.Count(kDefaultLinkColor), 0);
}

TEST_F(LinkPaintTest, DrawsTheFocusRectangleAroundTheTextExactlyWhileFocused)
{
    CreateLink();
    const HWND applyButton = GetDlgItem(dialog, IDOK);
    SetFocus(applyButton);
    ASSERT_EQ(GetFocus(), applyButton);
    const Image unfocused = Render(control);

    SetFocus(control);
    ASSERT_EQ(GetFocus(), control);
    const Image focused = Render(control);

    // Every changed pixel lies on the border of the text's rectangle, and the border did change.
    const RECT linkRect = Access::LinkRect(link);
    RECT inner = linkRect;
    InflateRect(&inner, -1, -1);
    int changed = 0;
    int changedOffBorder = 0;
    for (int y = 0; y < focused.height; ++y)
        for (int x = 0; x < focused.width; ++x)
            if (focused.At(x, y) != unfocused.At(x, y)) {
                ++changed;
                const POINT p = {x, y};
                changedOffBorder += !PtInRect(&linkRect, p) || PtInRect(&inner, p);
            }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(changedOffBorder, 0);

    SetFocus(applyButton);
    EXPECT_EQ(Render(control).pixels, unfocused.pixels);
}

}  // namespace
}  // namespace kelvane::test
