#pragma once
// The project's pixel rectangle at the Win32 boundary.

#include <windows.h>

#include "base/geometry.h"

inline PixelRect pixel_rect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

inline RECT win_rect(const PixelRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
