#include "view/guides_win.h"

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/geometry_win.h"
#include "base/owned_win.h"
#include "view/paint.h"

namespace {

// Light on dark, readable on any picture; neither is a colour of the
// synthetic camera's pattern, whose light is white.
constexpr COLORREF guide_light = RGB(240, 240, 240);
constexpr COLORREF guide_dark = RGB(24, 24, 24);

using OwnedPen = Owned<HPEN, delete_gdi_object>;

// One colour's pass: the strokes grown by `grow`, and the circles as rings of
// one-pixel ellipses from `inner` pixels inside the circle's line to `outer`
// outside it. A pen wider than a pixel goes through a path widening that
// costs milliseconds a circle under some drivers; a thin pen is a plain
// run of pixels.
void paint_pass(HDC dc, const GuideStrokes& strokes, int32_t grow, COLORREF colour, HPEN pen,
                int32_t inner, int32_t outer) {
    SetDCBrushColor(dc, colour);
    const auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (int32_t i = 0; i < strokes.strokes; ++i) {
        const RECT r = win_rect(stroke_outline(strokes.stroke[i], grow));
        FillRect(dc, &r, brush);
    }
    SelectObject(dc, pen);
    for (int32_t i = 0; i < strokes.circles; ++i) {
        const PixelRect& c = strokes.circle[i];
        for (int32_t d = -outer; d < inner; ++d) {
            Ellipse(dc, c.left + d, c.top + d, c.right - d, c.bottom - d);
        }
    }
}

} // namespace

void paint_guides(HDC dc, const PicturePlace& place) {
    if (settings.guides == GuideNone) {
        return;
    }
    const GuideStrokes strokes = guide_strokes(settings.guides, place, main_window.dpi);
    OwnedPen dark(CreatePen(PS_SOLID, 1, guide_dark));
    OwnedPen light(CreatePen(PS_SOLID, 1, guide_light));
    const SavedDc saved(dc);
    IntersectClipRect(dc, place.picture.left, place.picture.top, place.picture.right,
                      place.picture.bottom);
    SelectObject(dc, GetStockObject(NULL_BRUSH)); // the circles are rings
    // Every outline first, so that where lines cross the light runs through.
    // A circle's light line is `width` pixels about its box's edge, its dark
    // one as wide again on either side.
    const int32_t w = strokes.width;
    const int32_t half = w / 2;
    paint_pass(dc, strokes, w, guide_dark, dark.get(), w - half + w, half + w);
    paint_pass(dc, strokes, 0, guide_light, light.get(), w - half, half);
}

void set_guides(int32_t kind) {
    settings.guides = kind;
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
    arm_timer(TIMER_SAVE);
}
