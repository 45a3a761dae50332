// Placing the dialog: centred over its owner, or over the work area, and kept inside the work area.
#pragma once

#include <windows.h>

namespace kelvane {

// The top-left corner for a window of `width` by `height` centred on `reference` and pushed inside `workArea`.
POINT CenteredPosition(int width, int height, const RECT& reference, const RECT& workArea);

// Moves the window there, without resizing, reordering or activating it.
void CenterOnWorkArea(HWND window);

}  // namespace kelvane
