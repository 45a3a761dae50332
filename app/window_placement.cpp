// Centring a window on its visible owner or on the screen's work area.
#include "app/window_placement.h"

namespace kelvane {
namespace {

// One axis: centred on [refLow, refHigh), then moved inside [workLow, workHigh) where it would stick out.
LONG CenteredStart(LONG size, LONG refLow, LONG refHigh, LONG workLow, LONG workHigh)
{
    LONG start = (refLow + refHigh) / 2 - size / 2;   // C++ division truncates toward zero, as intended
    if (start < workLow)
        start = workLow;
    else if (start + size > workHigh)
        start = workHigh - size;
    return start;
}

}  // namespace

POINT CenteredPosition(int width, int height, const RECT& reference, const RECT& workArea)
{
    return POINT{CenteredStart(width, reference.left, reference.right, workArea.left, workArea.right),
                 CenteredStart(height, reference.top, reference.bottom, workArea.top, workArea.bottom)};
}

void CenterOnWorkArea(HWND window)
{
    RECT own{};
    GetWindowRect(window, &own);
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT reference = workArea;
    const HWND owner = GetWindow(window, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &reference);
    const POINT at = CenteredPosition(own.right - own.left, own.bottom - own.top, reference, workArea);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kelvane
