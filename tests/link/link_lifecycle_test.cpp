// Attaching, the kinds of static, and letting go: the previous window procedure gets every message it should and
// is back in place when the window or the control goes away.
#include "tests/link/link_fixture.h"

#include <commctrl.h>

#include <algorithm>

namespace kelvane::test {
namespace {

constexpr wchar_t kRecorderClass[] = L"KelvaneLinkTestRecorder";
constexpr UINT kProbeMessage = WM_APP + 7;
constexpr LRESULT kProbeAnswer = 1234;

// A window class of our own, so the test knows exactly which procedure is the "previous" one.
struct Recorder {
    static std::vector<UINT> messages;
    static LONG_PTR procedureAtNcDestroy;
    static LONG_PTR procedureAfterNcDestroy;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        messages.push_back(message);
        if (message == kProbeMessage)
            return kProbeAnswer;
        if (message == WM_NCDESTROY)
            procedureAtNcDestroy = GetWindowLongPtrW(window, GWLP_WNDPROC);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    // Runs after the whole chain of procedures has returned from a message.
    static LRESULT CALLBACK AfterProcedure(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* record = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && record->message == WM_NCDESTROY)
            procedureAfterNcDestroy = GetWindowLongPtrW(record->hwnd, GWLP_WNDPROC);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static HWND Create()
    {
        static const ATOM registered = [] {
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = &Proc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kRecorderClass;
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            return RegisterClassW(&windowClass);
        }();
        EXPECT_NE(registered, 0);
        messages.clear();
        procedureAtNcDestroy = procedureAfterNcDestroy = 0;
        return CreateWindowExW(0, kRecorderClass, L"recorded link", WS_POPUP, 0, 0, 200, 30, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
};
std::vector<UINT> Recorder::messages;
LONG_PTR Recorder::procedureAtNcDestroy = 0;
LONG_PTR Recorder::procedureAfterNcDestroy = 0;

const LONG_PTR kRecorderProc = reinterpret_cast<LONG_PTR>(&Recorder::Proc);

bool Saw(UINT message)
{
    return std::find(Recorder::messages.begin(), Recorder::messages.end(), message) != Recorder::messages.end();
}

class LinkLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        parent = CreateWindowExW(0, L"Static", L"parent", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND CreateChild(const wchar_t* className, DWORD style, int width = 300)
    {
        return CreateWindowExW(0, className, L"Vantorin", WS_CHILD | WS_VISIBLE | style, 0, 0, width, 20, parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }

    FakeShell shell;
    HWND parent = nullptr;
};

TEST_F(LinkLifecycleTest, WithoutAWindowTheTextsAreOnlyStored)
{
    HyperLinkControl link;
    EXPECT_FALSE(link.Attach(nullptr));
    EXPECT_EQ(Access::Window(link), nullptr);
    EXPECT_TRUE(link.SetTarget(kHomePage));
    EXPECT_TRUE(link.SetLabelText(L"Powered by Vantorin"));
    EXPECT_EQ(*Access::Target(link), kHomePage);
    EXPECT_EQ(*Access::Label(link), L"Powered by Vantorin");
    EXPECT_EQ(Access::Tooltip(link), nullptr);
    const RECT linkRect = Access::LinkRect(link);
    EXPECT_TRUE(IsRectEmpty(&linkRect));
    EXPECT_FALSE(link.ComputeLinkRect());
}

TEST_F(LinkLifecycleTest, PassesWhatItDoesNotHandleToThePreviousProcedure)
{
    const HWND window = Recorder::Create();
    ASSERT_NE(window, nullptr);
    HyperLinkControl link;
    ASSERT_TRUE(link.Attach(window));
    EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), kRecorderProc);
    EXPECT_FALSE(link.Attach(window)) << "attaching twice would make the control its own previous procedure";

    EXPECT_EQ(SendMessageW(window, kProbeMessage, 0, 0), kProbeAnswer);
    SendMessageW(window, WM_CHAR, 'x', 0);
    SendMessageW(window, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(Saw(kProbeMessage));
    EXPECT_FALSE(Saw(WM_CHAR)) << "characters are swallowed";
    EXPECT_FALSE(Saw(WM_LBUTTONDOWN));
    DestroyWindow(window);
}

TEST_F(LinkLifecycleTest, ErasesNothingSinceItsPaintCoversTheBackground)
{
    const HWND window = Recorder::Create();
    ASSERT_NE(window, nullptr);
    HyperLinkControl link;
    ASSERT_TRUE(link.Attach(window));
    LRESULT result = 0;
    const Image image = Render(window, WM_ERASEBKGND, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(image.Count(kSentinel), image.width * image.height) << "the class's black brush was not used";
    DestroyWindow(window);
}

TEST_F(LinkLifecycleTest, PutsThePreviousProcedureBackAfterItHasSeenNcDestroy)
{
    const HWND window = Recorder::Create();
    ASSERT_NE(window, nullptr);
    HyperLinkControl link;
    ASSERT_TRUE(link.Attach(window));
    link.InitControl();
    const HWND tooltip = Access::Tooltip(link);
    ASSERT_TRUE(IsWindow(tooltip));

    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &Recorder::AfterProcedure, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    DestroyWindow(window);
    UnhookWindowsHookEx(hook);

    EXPECT_TRUE(Saw(WM_NCDESTROY));
    EXPECT_NE(Recorder::procedureAtNcDestroy, kRecorderProc) << "the message reaches it while still subclassed";
    EXPECT_EQ(Recorder::procedureAfterNcDestroy, kRecorderProc);
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_EQ(Access::Window(link), nullptr);
    EXPECT_TRUE(link.SetTarget(L"after"));
}

TEST_F(LinkLifecycleTest, ForgetsAWindowDestroyedInsideItsOwnMessageOnlyWhenThatMessageReturns)
{
    static HWND window;
    static HyperLinkControl* observed;
    static HWND rememberedDuringOpen;
    window = Recorder::Create();
    ASSERT_NE(window, nullptr);
    HyperLinkControl link;
    observed = &link;
    ASSERT_TRUE(link.Attach(window));
    link.SetTarget(kHomePage);
    FakeShell::duringCall = [] {
        DestroyWindow(window);
        rememberedDuringOpen = Access::Window(*observed);
    };

    SendMessageW(window, WM_CHAR, 13, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(rememberedDuringOpen, window);
    EXPECT_EQ(Access::Window(link), nullptr);
    EXPECT_TRUE(Access::Visited(link));
}

TEST_F(LinkLifecycleTest, AControlThatGoesFirstLeavesTheWindowToItsOwnProcedure)
{
    const HWND window = Recorder::Create();
    ASSERT_NE(window, nullptr);
    {
        HyperLinkControl link;
        ASSERT_TRUE(link.Attach(window));
        link.InitControl();
    }
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), kRecorderProc);
    Recorder::messages.clear();
    SendMessageW(window, WM_CHAR, 13, 0);
    EXPECT_TRUE(Saw(WM_CHAR));
    EXPECT_TRUE(FakeShell::calls.empty());
    DestroyWindow(window);
}

using LinkInDialogLifecycleTest = LinkDialogTest;

TEST_F(LinkInDialogLifecycleTest, TakesItsTooltipAlongWhenTheControlAloneIsDestroyed)
{
    CreateLink();
    // The tooltip is a popup: its owner is the dialog, which would otherwise keep it alive.
    const HWND tooltip = Access::Tooltip(link);
    ASSERT_EQ(GetWindow(tooltip, GW_OWNER), dialog);
    DestroyWindow(control);
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_EQ(Access::Tooltip(link), nullptr);
    EXPECT_EQ(Access::Window(link), nullptr);
    EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(LinkLifecycleTest, APictureStaticKeepsDrawingItselfAndIsHotAllOver)
{
    const HWND window = CreateChild(L"Static", SS_BLACKRECT);
    HyperLinkControl link;
    ASSERT_TRUE(link.Attach(window));
    link.InitControl();
    EXPECT_FALSE(Access::PaintLabel(link));
    EXPECT_EQ(Access::LinkFont(link), nullptr);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & SS_NOTIFY);
    RECT client = {};
    GetClientRect(window, &client);
    const RECT linkRect = Access::LinkRect(link);
    EXPECT_TRUE(EqualRect(&linkRect, &client));

    // The static's own rectangle: one colour all over, and not the link's.
    const Image image = Render(window);
    EXPECT_EQ(image.Count(image.At(0, 0)), image.width * image.height);
    EXPECT_EQ(image.Count(kDefaultLinkColor), 0);
    EXPECT_EQ(image.Count(kSentinel), 0);

    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 1, client.bottom - 1));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 1, client.bottom - 1));
    ASSERT_EQ(FakeShell::calls.size(), 1u);
    EXPECT_EQ(FakeShell::calls[0].file, L"Vantorin");
}

TEST_F(LinkLifecycleTest, OnlyAStaticGetsTheNotifyStyle)
{
    const HWND button = CreateChild(L"Button", BS_PUSHBUTTON);
    const LONG before = GetWindowLongW(button, GWL_STYLE);
    HyperLinkControl link;
    ASSERT_TRUE(link.Attach(button));
    link.InitControl();
    EXPECT_EQ(GetWindowLongW(button, GWL_STYLE), before) << "0x100 means BS_LEFT to a button";
    EXPECT_TRUE(Access::PaintLabel(link));
}

TEST_F(LinkLifecycleTest, PlacesTheHotAreaWhereTheAlignmentPutsTheText)
{
    const HWND right = CreateChild(L"Static", SS_RIGHT);
    const HWND centred = CreateChild(L"Static", SS_CENTER, 301);
    HyperLinkControl rightLink;
    HyperLinkControl centredLink;
    ASSERT_TRUE(rightLink.Attach(right));
    ASSERT_TRUE(centredLink.Attach(centred));
    rightLink.InitControl();
    centredLink.InitControl();

    const RECT r = Access::LinkRect(rightLink);
    EXPECT_EQ(r.right, 300);
    EXPECT_GT(r.left, 150);
    SetWindowPos(right, nullptr, 0, 0, 250, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Access::LinkRect(rightLink).right, 250) << "a new size moves the hot area with the text";
    const RECT c = Access::LinkRect(centredLink);
    EXPECT_EQ(c.right - c.left, r.right - r.left);
    EXPECT_EQ(c.left, (301 - (c.right - c.left)) / 2);
}

}  // namespace
}  // namespace kelvane::test
