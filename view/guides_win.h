#pragma once
// The guides on the screen: drawn in the picture's own paint, right after
// its stretch, and never into the frame, so that copies and saves hold none.
// User-interface thread only.

#include <windows.h>

#include <cstdint>

#include "view/guides.h"

// The guide the settings choose over the picture as `place` says it was
// drawn, kept inside the picture.
void paint_guides(HDC dc, const PicturePlace& place);

// The command: shows the guide of a GuideKind, or none, and remembers it.
void set_guides(int32_t kind);
