// Where the link's text lies and how it is drawn: the hot rectangle, the parent's background, the underlined text.
#include "app/hyperlink_control.h"

namespace kelvane {
namespace {

// Selects an object into a device context for one scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { if (previous_) SelectObject(dc_, previous_); }
private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The control's device context for one scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { if (dc_) ReleaseDC(window_, dc_); }
    HDC get() const { return dc_; }
private:
    HWND window_;
    HDC dc_;
};

}  // namespace

const std::wstring* HyperLinkControl::DrawnText() const
{
    if (label)
        return &*label;
    return target ? &*target : nullptr;
}

UINT HyperLinkControl::TextAlignment() const
{
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (style & SS_CENTER)
        return DT_CENTER;
    if (style & SS_RIGHT)
        return DT_RIGHT;
    return DT_LEFT;
}

bool HyperLinkControl::ComputeLinkRect()
{
    const std::wstring* text = DrawnText();
    if (!IsWindow(window) || !text)
        return false;
    WindowDc dc(window);
    RECT client = {};
    GetClientRect(window, &client);
    linkRect = client;
    // A control that draws itself is hot all over.
    if (!paintLabel)
        return true;

    const UINT alignment = TextAlignment();
    {
        SelectedObject font(dc.get(), linkFont.get());
        DrawTextW(dc.get(), text->c_str(), -1, &linkRect, alignment | DT_WORDBREAK | DT_CALCRECT);
    }
    // The measured extent starts at the top left; move it where the alignment puts the text.
    if (alignment == DT_CENTER)
        OffsetRect(&linkRect, (client.right - linkRect.right) / 2, 0);
    else if (alignment == DT_RIGHT)
        OffsetRect(&linkRect, client.right - linkRect.right, 0);
    return true;
}

void HyperLinkControl::PaintBackground(HDC dc)
{
    // The parent chooses the background, as it does for its plain statics.
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(window), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(window)));
    if (!brush)
        return;
    RECT client = {};
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
}

void HyperLinkControl::PaintLink(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    const COLORREF color =
        IsWindowEnabled(window) ? (visited ? visitedColor : linkColor) : GetSysColor(COLOR_GRAYTEXT);
    const COLORREF previousColor = SetTextColor(dc, color);
    {
        SelectedObject font(dc, linkFont ? linkFont.get() : normalFont);
        if (const std::wstring* text = DrawnText()) {
            RECT area = linkRect;
            DrawTextW(dc, text->c_str(), -1, &area, TextAlignment() | DT_WORDBREAK);
        }
        if (GetFocus() == window)
            DrawFocusRect(dc, &linkRect);
    }
    SetTextColor(dc, previousColor);
}

}  // namespace kelvane
