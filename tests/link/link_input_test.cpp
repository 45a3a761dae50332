// The link's hot area, keys, cursor and tooltip tools, driven with real messages on the dialog's static control.
#include "tests/link/link_fixture.h"

#include <commctrl.h>

namespace kelvane::test {
namespace {

using LinkInputTest = LinkDialogTest;

TEST_F(LinkInputTest, TakesTheTemplateTextAsItsFirstLabelAndTooltip)
{
    CreateLink(false);
    ASSERT_TRUE(Access::Label(link));
    EXPECT_EQ(*Access::Label(link), L"Powered by Vantorin");
    ASSERT_TRUE(Access::Target(link));
    EXPECT_EQ(*Access::Target(link), kHomePage);
    EXPECT_TRUE(Access::PaintLabel(link));
    EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & SS_NOTIFY);

    RECT client = {};
    GetClientRect(control, &client);
    const RECT linkRect = Access::LinkRect(link);
    EXPECT_FALSE(IsRectEmpty(&linkRect));
    RECT inside = {};
    IntersectRect(&inside, &linkRect, &client);
    EXPECT_TRUE(EqualRect(&inside, &linkRect)) << "the text lies within the control";

    // The template's text became the first tool; the dialog's target added a second one with the same id.
    const HWND tooltip = Access::Tooltip(link);
    ASSERT_TRUE(IsWindow(tooltip));
    ASSERT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    const wchar_t* expected[] = {L"Powered by Vantorin", kHomePage};
    for (int index = 0; index < 2; ++index) {
        wchar_t text[512];
        std::fill(std::begin(text), std::end(text), L'#');
        TOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.lpszText = text;
        ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_STREQ(text, expected[index]);
        EXPECT_EQ(tool.hwnd, control);
        EXPECT_EQ(tool.uId, 1u);
        EXPECT_EQ(tool.uFlags, 0u);
        EXPECT_TRUE(EqualRect(&tool.rect, &linkRect));
    }
}

TEST_F(LinkInputTest, OnlyAPressAndReleaseBothOnTheTextOrEnterOrSpaceOpenTheTarget)
{
    CreateLink();
    Press(BesideText());
    EXPECT_EQ(GetCapture(), nullptr);
    Release(BesideText());
    EXPECT_TRUE(FakeShell::calls.empty()) << "click beside the text";
    Press(OnText());
    Release(BesideText());
    EXPECT_EQ(GetCapture(), nullptr) << "the capture is released even when nothing opens";
    EXPECT_TRUE(FakeShell::calls.empty()) << "released outside the text";
    Press(BesideText());
    Release(OnText());
    EXPECT_TRUE(FakeShell::calls.empty()) << "pressed outside the text";
    for (WPARAM character : {WPARAM{'a'}, WPARAM{10}, WPARAM{27}, WPARAM{9}})
        EXPECT_EQ(SendMessageW(control, WM_CHAR, character, 0), 0);
    EXPECT_TRUE(FakeShell::calls.empty()) << "other characters";
    EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS);
    SetFocus(nullptr);   // the full click must take the focus itself
    Press(OnText());
    EXPECT_EQ(GetFocus(), control);
    EXPECT_EQ(GetCapture(), control);
    Release(OnText());
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_EQ(FakeShell::calls.size(), 1u);
    const FakeShell::Call& call = FakeShell::calls[0];
    EXPECT_EQ(call.owner, nullptr);
    EXPECT_EQ(call.verb, L"open");
    EXPECT_EQ(call.file, kHomePage);
    EXPECT_FALSE(call.hasParameters);
    EXPECT_FALSE(call.hasDirectory);
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
    SendMessageW(control, WM_CHAR, 13, 0);
    SendMessageW(control, WM_CHAR, 32, 0);
    EXPECT_EQ(FakeShell::calls.size(), 3u);
}

TEST_F(LinkInputTest, ShowsTheHandWhenTheMouseMovesOverTheText)
{
    CreateLink();
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    SetCursor(nullptr);
    SendMessageW(control, WM_MOUSEMOVE, 0, PointParam(BesideText()));
    EXPECT_EQ(GetCursor(), nullptr);
    SendMessageW(control, WM_MOUSEMOVE, 0, PointParam(OnText()));
    EXPECT_EQ(GetCursor(), hand);
}

TEST_F(LinkInputTest, KeepsTheHandOnlyWhileTheRealCursorIsOverTheText)
{
    CreateLink();
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const LPARAM clientHit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

    POINT onText = OnText();
    ClientToScreen(control, &onText);
    ASSERT_TRUE(SetCursorPos(onText.x, onText.y));
    SetCursor(hand);
    EXPECT_EQ(SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), clientHit), TRUE);
    EXPECT_EQ(GetCursor(), hand);

    // Beside the text the static's own handling puts the class's arrow back.
    POINT beside = BesideText();
    ClientToScreen(control, &beside);
    ASSERT_TRUE(SetCursorPos(beside.x, beside.y));
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), clientHit);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

// Stands between the control and its tooltip window and records what the control relays.
struct RelayRecorder {
    static WNDPROC tooltipProc;
    static std::vector<MSG> relayed;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == TTM_RELAYEVENT && wParam == 0)
            relayed.push_back(*reinterpret_cast<const MSG*>(lParam));
        return CallWindowProcW(tooltipProc, window, message, wParam, lParam);
    }
};
WNDPROC RelayRecorder::tooltipProc = nullptr;
std::vector<MSG> RelayRecorder::relayed;

TEST_F(LinkInputTest, RelaysEveryMouseMessageToTheTooltip)
{
    CreateLink();
    const HWND tooltip = Access::Tooltip(link);
    RelayRecorder::relayed.clear();
    RelayRecorder::tooltipProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tooltip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayRecorder::Proc)));
    ASSERT_NE(RelayRecorder::tooltipProc, nullptr);

    const LPARAM point = PointParam(BesideText());
    SendMessageW(control, WM_MOUSEMOVE, MK_SHIFT, point);
    SendMessageW(control, WM_XBUTTONDBLCLK, 0, point);   // the last mouse message relayed
    SendMessageW(control, WM_MOUSEHWHEEL, 0, point);     // the first one after them
    SendMessageW(control, WM_KEYDOWN, VK_RETURN, 0);
    SetWindowLongPtrW(tooltip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RelayRecorder::tooltipProc));

    ASSERT_EQ(RelayRecorder::relayed.size(), 2u);
    const MSG& move = RelayRecorder::relayed[0];
    EXPECT_EQ(move.hwnd, control);
    EXPECT_EQ(move.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(move.wParam, static_cast<WPARAM>(MK_SHIFT));
    EXPECT_EQ(move.lParam, point);
    EXPECT_EQ(move.time, 0u);
    EXPECT_EQ(RelayRecorder::relayed[1].message, static_cast<UINT>(WM_XBUTTONDBLCLK));
}

TEST_F(LinkInputTest, SetFontChangesTheReportedFontOnly)
{
    CreateLink();
    const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), dialogFont);
    LOGFONTW linkFont = {};
    ASSERT_TRUE(GetObjectW(Access::LinkFont(link), sizeof(linkFont), &linkFont));
    EXPECT_TRUE(linkFont.lfUnderline);

    const Image before = Render(control);
    const RECT rectBefore = Access::LinkRect(link);
    LOGFONTW big = {};
    big.lfHeight = -40;
    UniqueGdiObject bigFont(CreateFontIndirectW(&big));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(bigFont.get()), TRUE);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), bigFont.get());
    const RECT rectAfter = Access::LinkRect(link);
    EXPECT_TRUE(EqualRect(&rectBefore, &rectAfter));
    EXPECT_EQ(Render(control).pixels, before.pixels) << "the text is still drawn in the underlined dialog font";
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
}

// The shell is asked on a control of its own, without a window: each case starts unvisited.
TEST(LinkOpenTest, OnlyAFullTokenWithALinkedOneOpensThroughTheDesktopsShellAndNothingElseThen)
{
    constexpr HRESULT kNoDesktopShell = REGDB_E_CLASSNOTREG;
    struct Case { const char* what; TOKEN_ELEVATION_TYPE token; HRESULT desktop; INT_PTR shell; bool opened; };
    const Case cases[] = {
        {"elevated: the desktop's shell opened it", TokenElevationTypeFull, S_OK, kShellSuccess, true},
        {"elevated: the desktop's shell could not", TokenElevationTypeFull, S_FALSE, kShellSuccess, false},
        {"elevated: no desktop shell, nothing opens", TokenElevationTypeFull, kNoDesktopShell, kShellSuccess, false},
        {"no UAC: this process's shell opens", TokenElevationTypeDefault, S_OK, kShellSuccess, true},
        {"unelevated: this process's shell opens", TokenElevationTypeLimited, S_OK, kShellSuccess, true},
        {"no UAC: this process's shell could not", TokenElevationTypeDefault, S_OK, kShellFileNotFound, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeShell shell;
        FakeShell::elevation = c.token;
        FakeShell::desktopAnswer = c.desktop;
        FakeShell::answer = c.shell;
        HyperLinkControl link;
        ASSERT_TRUE(link.SetTarget(kHomePage));
        EXPECT_EQ(link.OpenTarget(), c.opened);
        EXPECT_EQ(Access::Visited(link), c.opened);
        const bool throughDesktop = c.token == TokenElevationTypeFull;
        EXPECT_EQ(FakeShell::desktopCalls.size(), throughDesktop ? 1u : 0u);
        EXPECT_EQ(FakeShell::calls.size(), throughDesktop ? 0u : 1u);
    }
}

}  // namespace
}  // namespace kelvane::test
