// A static control turned into a web link: underlined text in the browser's link colours, a hand cursor, a tooltip,
// and the shell's "open" on a completed click or on Enter or Space.
#pragma once

#include <windows.h>
#include <optional>
#include <string>

#include "common/unique_handle.h"

namespace kelvane {

class HyperLinkControl {
public:
    // Same signature as ShellExecuteW, so tests can make "open" harmless and observable.
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                                    const wchar_t*, int);
    static ShellExecuteFunction shellExecute;
    // Opens through the desktop's shell, so the browser does not inherit the program's elevation. Tests make it
    // refuse, fail or open without starting anything.
    using DesktopOpenFunction = HRESULT (*)(const wchar_t* target);
    static DesktopOpenFunction desktopOpen;
    // The kind of token that counts for a browser (BrowserElevationType), which chooses between the two; tests give
    // each kind.
    using ElevationTypeFunction = TOKEN_ELEVATION_TYPE (*)();
    static ElevationTypeFunction elevationType;

    static constexpr COLORREF kInvalidColor = 0xFFFFFFFF;

    HyperLinkControl() = default;
    HyperLinkControl(const HyperLinkControl&) = delete;
    HyperLinkControl& operator=(const HyperLinkControl&) = delete;
    ~HyperLinkControl();

    bool Attach(HWND control);
    void InitControl();
    bool SetTarget(const wchar_t* text);
    bool SetLabelText(const wchar_t* text);
    bool ComputeLinkRect();
    void PaintBackground(HDC dc);
    void PaintLink(HDC dc);
    bool OpenTarget();

    // Parses "red,green,blue" in place (the commas become terminators); kInvalidColor for text that does not parse.
    static COLORREF ParseColorText(wchar_t* text);

private:
    friend struct HyperLinkControlTestAccess;

    // The window property that leads the shared window procedure to its object.
    static constexpr wchar_t kControlProperty[] = L"Kelvane.HyperLinkControl";

    static LRESULT CALLBACK WindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnDestroy();
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam);
    bool OnMouseMove(LPARAM lParam);
    LRESULT OnLButtonDown(LPARAM lParam);
    LRESULT OnLButtonUp(LPARAM lParam);
    LRESULT OnChar(WPARAM character);
    bool OnSetCursor();
    LRESULT OnEnable();
    LRESULT OnSetFont(WPARAM font, LPARAM redraw);
    LRESULT OnSize();
    LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);

    void ReadLinkColors();
    void AddTooltipTool();
    const std::wstring* DrawnText() const;
    UINT TextAlignment() const;
    bool IsOverLink(POINT point) const;
    void Redraw();
    void Detach();

    HWND window = nullptr;
    WNDPROC previousWindowProc = nullptr;
    std::optional<std::wstring> label;
    std::optional<std::wstring> target;
    HCURSOR handCursor = nullptr;
    UniqueGdiObject linkFont;
    HFONT normalFont = nullptr;
    RECT linkRect = {};
    UniqueWindow tooltip;
    COLORREF linkColor = 0x00FF0000;
    COLORREF visitedColor = 0x00800080;
    bool paintLabel = true;
    bool visited = false;
    bool ownsLinkFont = false;

    // The window is forgotten only when the outermost of its messages returns: an outer handler may still be
    // running on the stack when a nested WM_NCDESTROY arrives, and it passes its message on afterwards.
    int messageDepth = 0;
    bool forgetWindow = false;
};

}  // namespace kelvane
