// The link control's window procedure: its messages in a fixed order, everything else to the static's own procedure.
#include "app/hyperlink_control.h"

#include <commctrl.h>

namespace kelvane {
namespace {

constexpr UINT kFirstMouseMessage = 0x0200;   // WM_MOUSEMOVE
constexpr UINT kLastMouseMessage = 0x020D;    // WM_XBUTTONDBLCLK
constexpr WPARAM kCarriageReturn = 13;
constexpr WPARAM kSpace = 32;

// Mouse messages carry signed 16-bit client coordinates.
POINT PointOf(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

LRESULT CALLBACK HyperLinkControl::WindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<HyperLinkControl*>(GetPropW(control, kControlProperty));
    if (!self)
        return DefWindowProcW(control, message, wParam, lParam);
    ++self->messageDepth;
    LRESULT result = 0;
    if (!self->Dispatch(message, wParam, lParam, result))
        result = self->CallPrevious(message, wParam, lParam);
    if (--self->messageDepth == 0 && self->forgetWindow) {
        self->window = nullptr;
        self->previousWindowProc = nullptr;
        self->forgetWindow = false;
    }
    return result;
}

LRESULT HyperLinkControl::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(previousWindowProc, window, message, wParam, lParam);
}

bool HyperLinkControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_DESTROY) {
        OnDestroy();
        return false;
    }
    if (message >= kFirstMouseMessage && message <= kLastMouseMessage)
        RelayToTooltip(message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;   // the paint fills the background itself, so nothing flickers
        return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!paintLabel)
            return false;
        result = OnPaint(wParam);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (!paintLabel)
            return false;
        InvalidateRect(window, nullptr, TRUE);   // the focus rectangle comes or goes
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        if (!OnMouseMove(lParam))
            return false;
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        result = OnLButtonDown(lParam);
        return true;
    case WM_LBUTTONUP:
        result = OnLButtonUp(lParam);
        return true;
    case WM_CHAR:
        result = OnChar(wParam);
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTCHARS;
        // The dialog manager would turn Enter into a click on the default button (Close) before any WM_CHAR 13
        // exists; asking for that one key lets Enter open the link as Space does.
        if (const auto* key = reinterpret_cast<const MSG*>(lParam);
            key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            result |= DLGC_WANTMESSAGE;
        return true;
    case WM_SETCURSOR:
        if (!OnSetCursor())
            return false;
        result = TRUE;
        return true;
    case WM_ENABLE:
        result = OnEnable();
        return true;
    case WM_GETFONT:
        result = reinterpret_cast<LRESULT>(normalFont);
        return true;
    case WM_SETFONT:
        result = OnSetFont(wParam, lParam);
        return true;
    case WM_UPDATEUISTATE:
        result = 0;   // the static would repaint itself over our text to show or hide its prefix underlines
        return true;
    case WM_SIZE:
        result = OnSize();
        return true;
    case WM_NCDESTROY:
        result = OnNcDestroy(wParam, lParam);
        return true;
    default:
        return false;
    }
}

LRESULT HyperLinkControl::OnDestroy()
{
    tooltip = UniqueWindow();
    return 0;
}

void HyperLinkControl::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!tooltip)
        return;
    MSG relayed = {};
    relayed.hwnd = window;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = 0;
    relayed.pt = {0, 0};
    SendMessageW(tooltip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

LRESULT HyperLinkControl::OnPaint(WPARAM wParam)
{
    if (const auto dc = reinterpret_cast<HDC>(wParam)) {
        PaintBackground(dc);
        PaintLink(dc);
        return 0;
    }
    PAINTSTRUCT paint = {};
    const HDC dc = BeginPaint(window, &paint);
    if (dc) {
        PaintBackground(dc);
        PaintLink(dc);
    }
    EndPaint(window, &paint);
    return 0;
}

bool HyperLinkControl::IsOverLink(POINT point) const
{
    return PtInRect(&linkRect, point) != FALSE;
}

bool HyperLinkControl::OnMouseMove(LPARAM lParam)
{
    if (!IsOverLink(PointOf(lParam)) || !target)
        return false;
    SetCursor(handCursor);
    return true;
}

LRESULT HyperLinkControl::OnLButtonDown(LPARAM lParam)
{
    if (IsOverLink(PointOf(lParam))) {
        SetFocus(window);
        SetCapture(window);
    }
    return 0;
}

LRESULT HyperLinkControl::OnLButtonUp(LPARAM lParam)
{
    // Only a press that started on the text holds the capture, so a press elsewhere never opens.
    if (GetCapture() == window) {
        ReleaseCapture();
        if (IsOverLink(PointOf(lParam)))
            OpenTarget();
    }
    return 0;
}

LRESULT HyperLinkControl::OnChar(WPARAM character)
{
    if (character == kCarriageReturn || character == kSpace)
        OpenTarget();
    return 0;
}

bool HyperLinkControl::OnSetCursor()
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    return IsOverLink(cursor) && target;
}

void HyperLinkControl::Redraw()
{
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

LRESULT HyperLinkControl::OnEnable()
{
    Redraw();
    return 0;
}

LRESULT HyperLinkControl::OnSetFont(WPARAM font, LPARAM redraw)
{
    // The underlined font and the hot rectangle stay as they were built from the dialog's font.
    normalFont = reinterpret_cast<HFONT>(font);
    if (redraw)
        Redraw();
    return 0;
}

LRESULT HyperLinkControl::OnSize()
{
    ComputeLinkRect();
    InvalidateRect(window, nullptr, TRUE);
    return 0;
}

LRESULT HyperLinkControl::OnNcDestroy(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallPrevious(WM_NCDESTROY, wParam, lParam);
    // Someone who subclassed after us still chains to our procedure; their procedure stays installed then.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &HyperLinkControl::WindowProc)
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc));
    RemovePropW(window, kControlProperty);
    forgetWindow = true;
    return result;
}

}  // namespace kelvane
