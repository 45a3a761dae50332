// Shared pieces of the link tests: a look inside the control, a harmless "open", the real dialog, and rendering.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/hyperlink_control.h"
#include "tests/support/scratch_registry.h"

namespace kelvane {

struct HyperLinkControlTestAccess {
    static HWND Window(const HyperLinkControl& c) { return c.window; }
    static const std::optional<std::wstring>& Label(const HyperLinkControl& c) { return c.label; }
    static const std::optional<std::wstring>& Target(const HyperLinkControl& c) { return c.target; }
    static HFONT LinkFont(const HyperLinkControl& c) { return static_cast<HFONT>(c.linkFont.get()); }
    static RECT LinkRect(const HyperLinkControl& c) { return c.linkRect; }
    static HWND Tooltip(const HyperLinkControl& c) { return c.tooltip.get(); }
    static COLORREF LinkColor(const HyperLinkControl& c) { return c.linkColor; }
    static COLORREF VisitedColor(const HyperLinkControl& c) { return c.visitedColor; }
    static bool PaintLabel(const HyperLinkControl& c) { return c.paintLabel; }
    static bool Visited(const HyperLinkControl& c) { return c.visited; }
};

namespace test {

using Access = HyperLinkControlTestAccess;

constexpr wchar_t kHomePage[] = L"https://vantorin.example/kelvane";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSentinel = RGB(0x12, 0x34, 0x56);   // fills a bitmap before rendering
constexpr COLORREF kDefaultLinkColor = 0x00FF0000;
constexpr COLORREF kDefaultVisitedColor = 0x00800080;
constexpr INT_PTR kShellSuccess = 42;
constexpr INT_PTR kShellFileNotFound = 2;

// Stands in for the token's kind, the desktop's shell and ShellExecuteW while alive: records their calls, gives the answers below.
class FakeShell {
public:
    struct Call {
        HWND owner;
        std::wstring verb;
        std::wstring file;
        bool hasParameters;
        bool hasDirectory;
        int show;
    };

    FakeShell();
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;
    ~FakeShell();

    static std::vector<Call> calls;
    static INT_PTR answer;
    static std::vector<std::wstring> desktopCalls;
    static HRESULT desktopAnswer;   // by default, that there is no desktop shell
    static TOKEN_ELEVATION_TYPE elevation;   // by default an unelevated kind, so this process's shell opens
    static void (*duringCall)();   // runs inside the "open", for tests that act while it is in progress

private:
    static HINSTANCE WINAPI Execute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                    const wchar_t* directory, int show);
    static HRESULT OpenOnDesktop(const wchar_t* target);
    static TOKEN_ELEVATION_TYPE Elevation() { return elevation; }
    HyperLinkControl::ShellExecuteFunction saved_;
    HyperLinkControl::DesktopOpenFunction savedDesktop_;
    HyperLinkControl::ElevationTypeFunction savedElevation_;
};

// A picture of a window's client area as COLORREF values, drawn through WM_PRINTCLIENT into a DIB section.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF color) const;
    int CountOutside(const RECT& area, COLORREF color, bool equal) const;
};
// Sends `message` (WM_PRINTCLIENT, WM_PAINT or WM_ERASEBKGND) with a bitmap's device context; `result` gets the
// message's result.
Image Render(HWND window, UINT message = WM_PRINTCLIENT, LRESULT* result = nullptr);

POINT Center(const RECT& r);
LPARAM PointParam(POINT p);

// The real main dialog (template 129) with a plain dialog procedure whose statics have a white background, and the
// link control set up on control 1019 the way the program's dialog does it.
class LinkDialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the dialog and sets the link up; `roomy` gives the static room beside its text.
    void CreateLink(bool roomy = true);
    void Press(POINT p);
    void Release(POINT p);
    POINT OnText() const { return Center(Access::LinkRect(link)); }
    POINT BesideText() const;

    ScratchRegistry registry;   // first: the control reads its colours from the redirected HKEY_CURRENT_USER
    FakeShell shell;
    HWND dialog = nullptr;
    HWND control = nullptr;
    HyperLinkControl link;
};

}  // namespace test
}  // namespace kelvane
