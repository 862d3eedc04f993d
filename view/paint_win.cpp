#include "view/paint.h"

#include <cstdlib>

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/geometry_win.h"
#include "base/text_win.h"
#include "capture/capture.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"
#include "layout/window_shape.h"
#include "view/guides_win.h"
#include "view/info_line_win.h"
#include "view/paint_geometry.h"
#include "view/picture_save_win.h"
#include "view/shown_picture.h"
#include "view/status_text.h"

namespace {

void paint_text(HDC dc, const RECT& area, const wchar_t* text, HFONT font, double scale) {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectedFont selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, status_text_colour);
    const PixelRect bounds = status_text_bounds(pixel_rect(area), scale);
    RECT measured = win_rect(bounds);
    DrawTextW(dc, text, -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    RECT r = win_rect(
        status_text_place(bounds, pixel_rect(area), scale, measured.bottom - measured.top));
    DrawTextW(dc, text, -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

const uint32_t* turned_crop(const FramePeek& frame, const FrameCrop& crop, int32_t quarter,
                            int32_t shrink) {
    const size_t needed = size_t(crop.width / shrink) * size_t(crop.height / shrink);
    if (main_window.turned_capacity < needed) {
        void* grown = std::realloc(main_window.turned_pixels.get(), needed * 4);
        if (grown == nullptr) {
            return nullptr;
        }
        static_cast<void>(main_window.turned_pixels.release()); // moved by realloc
        main_window.turned_pixels.reset(static_cast<uint32_t*>(grown));
        main_window.turned_capacity = needed;
    }
    turn_crop(main_window.turned_pixels.get(), reinterpret_cast<const uint32_t*>(frame.pixels),
              frame.width, crop.x, crop.y, crop.width, crop.height, quarter, shrink);
    return main_window.turned_pixels.get();
}

// Stretches the view's part of the shown picture into the area (under the
// frame lock unless frozen); where it put the picture, or nothing when there
// is no picture.
bool stretch_frame(HDC dc, const RECT& area, const ViewState& view, const PictureTurn& turn,
                   PicturePlace* drawn) {
    const ShownPicture shown;
    if (!shown.held) {
        return false;
    }
    const FramePeek& frame = shown.frame;
    const int32_t quarter = turn.quarter & 3;
    // The circle: the crop's middle square over the whole area, no bars.
    const bool fill = shape_shown() == ShapeCircle;
    const PixelRect dest =
        fill ? pixel_rect(area)
             : fit_rect_pixels(pixel_rect(area), shown_width(frame.width, frame.height, quarter),
                               shown_height(frame.width, frame.height, quarter));
    FrameCrop crop = frame_crop(frame.width, frame.height, view);
    if (fill) {
        crop = square_crop(crop);
    }
    // A half turn is a stretch that runs both ways; a quarter turn stretches
    // the crop turned, which is the only copy of pixels painting makes.
    const uint8_t* bits = frame.pixels + size_t(crop.y) * size_t(frame.width) * 4;
    int32_t bits_width = frame.width;
    int32_t source_x = crop.x;
    int32_t source_width = crop.width;
    int32_t source_height = crop.height;
    if ((quarter & 1) != 0) {
        const int32_t shrink =
            turn_shrink(crop.width, crop.height, dest.right - dest.left, dest.bottom - dest.top);
        bits = reinterpret_cast<const uint8_t*>(turned_crop(frame, crop, quarter, shrink));
        if (bits == nullptr) {
            return false;
        }
        bits_width = source_width = crop.height / shrink;
        source_x = 0;
        source_height = crop.width / shrink;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bits_width;
    info.bmiHeader.biHeight = -source_height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // A negative width or height runs the destination leftwards or upwards:
    // mirrored, or upside down, without a copy of the pixels.
    const StretchColumns columns = stretch_columns(dest, turn.mirror != (quarter == 2));
    const StretchColumns rows = stretch_rows(dest, quarter == 2);
    StretchDIBits(dc, columns.start, rows.start, columns.width, rows.width, source_x, 0,
                  source_width, source_height, bits, &info, DIB_RGB_COLORS, SRCCOPY);
    *drawn = {frame.width, frame.height, crop, dest, turn};
    return true;
}

void paint_picture(HDC dc, const RECT& area, const ViewState& view, const PictureTurn& turn) {
    PicturePlace place;
    if (!stretch_frame(dc, area, view, turn, &place)) {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    // The guide and the bars after the lock is left: they need no pixels.
    paint_guides(dc, place);
    const Bars bars = bars_around(pixel_rect(area), place.picture);
    for (const PixelRect& band : bars.band) {
        if (band.right > band.left && band.bottom > band.top) {
            const RECT r = win_rect(band);
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    }
}

// Where the pause sign and the save tip go: inside the shape, whole.
RECT marks_area(const RECT& area) {
    return win_rect(shape_inner_area(pixel_rect(area), shape_shown() == ShapeCircle));
}

// Two white bars with a dark edge, readable on any picture.
void paint_pause_sign(HDC dc, const RECT& area) {
    const PauseSign sign = pause_sign(pixel_rect(area), main_window.dpi);
    for (const PixelRect& bar : sign.bar) {
        const RECT r = win_rect(bar);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    }
}

// The save tip's box, measured in the status font; empty without a tip.
RECT save_tip_rect(HDC dc, const RECT& area, const wchar_t* tip, HFONT font) {
    if (tip == nullptr) {
        return RECT{};
    }
    SelectedFont selected(dc, font);
    RECT measured{};
    DrawTextW(dc, tip, -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    return win_rect(save_tip_box(pixel_rect(area), measured.right - measured.left,
                                 measured.bottom - measured.top, main_window.dpi));
}

// Light text on a black box, legible on any picture.
void paint_save_tip(HDC dc, const RECT& box, const wchar_t* tip, HFONT font) {
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectedFont selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, status_text_colour);
    RECT r = box;
    DrawTextW(dc, tip, -1, &r,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace

void paint_video(HDC dc, const RECT& area, const ViewState& view, const PictureTurn& turn,
                 const wchar_t* text, HFONT font, double scale) {
    if (area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    if (text != nullptr) {
        paint_text(dc, area, text, font, scale);
    } else {
        paint_picture(dc, area, view, turn);
        if (main_window.frozen.on) {
            paint_pause_sign(dc, marks_area(area));
        }
    }
}

void paint_main_window(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    const RECT area = video_area_rect();
    RECT strip = client;
    strip.bottom = area.top;
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    const double scale = main_window.dpi / 96.0;

    // Only the message states show text; a streaming paint formats nothing.
    wchar_t text[status_text_units];
    bool has_text = false;
    if (status_shows_text(main_window.status)) {
        wchar_t name[camera_name_size];
        to_utf16(settings.camera_name, name, camera_name_size);
        has_text = format_status_text(main_window.status, name, main_window.last_capture_error,
                                      text, status_text_units);
    }
    // The picture is not drawn under the tip, so that the tip does not
    // flicker with every frame.
    const wchar_t* tip = save_tip_text();
    const RECT tip_box =
        save_tip_rect(dc, marks_area(area), tip, main_window.toolbar.status_font.get());
    // The info line's box is left out of the picture the same way.
    wchar_t info[info_line_units];
    const RECT info_box =
        has_text ? RECT{}
                 : info_line_rect(dc, marks_area(area), main_window.toolbar.status_font.get(), info,
                                  info_line_units);
    {
        const SavedDc saved(dc);
        ExcludeClipRect(dc, tip_box.left, tip_box.top, tip_box.right, tip_box.bottom);
        ExcludeClipRect(dc, info_box.left, info_box.top, info_box.right, info_box.bottom);
        paint_video(dc, area, settings.view, picture_turn(), has_text ? text : nullptr,
                    main_window.toolbar.status_font.get(), scale);
    }
    if (!IsRectEmpty(&info_box)) {
        paint_info_line(dc, info_box, info, main_window.toolbar.status_font.get());
    }
    if (tip != nullptr) {
        paint_save_tip(dc, tip_box, tip, main_window.toolbar.status_font.get());
    }
    EndPaint(window, &ps);
    info_line_note_paint(frame_clear_pending() != 0);
}

LRESULT on_ctl_color_static(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}
