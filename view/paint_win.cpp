#include "view/paint.h"

#include "app/app_state.h"
#include "app/support_win.h"
#include "capture/capture.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"
#include "view/paint_geometry.h"
#include "view/status_text.h"

namespace {

constexpr COLORREF status_text_colour = 0x00CDC8C8; // red 200, green 200, blue 205

struct SelectedFont {
    HDC dc;
    HGDIOBJ previous;
    SelectedFont(HDC d, HFONT font) : dc(d), previous(SelectObject(d, font)) {}
    ~SelectedFont() { SelectObject(dc, previous); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
};

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

// Stretches the view's part of the frame into the area, under the frame lock;
// the rectangle it drew, or nothing when no frame is stored.
bool stretch_frame(HDC dc, const RECT& area, const ViewState& view, bool mirror, PixelRect* drawn) {
    const PeekedFrame peeked;
    if (!peeked.held) {
        return false;
    }
    const FramePeek& frame = peeked.frame;
    const PixelRect dest = fit_rect_pixels(pixel_rect(area), frame.width, frame.height);
    const FrameCrop crop = frame_crop(frame.width, frame.height, view);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = frame.width;
    info.bmiHeader.biHeight = -crop.height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // Only the crop's rows are shown to GDI: the bits start at its first row.
    const uint8_t* first_row = frame.pixels + size_t(crop.y) * size_t(frame.width) * 4;
    // Mirrored, the same crop goes to the same rectangle with the destination
    // running from right to left: no copy of the pixels either way.
    const StretchColumns columns = stretch_columns(dest, mirror);
    StretchDIBits(dc, columns.start, dest.top, columns.width, dest.bottom - dest.top, crop.x, 0,
                  crop.width, crop.height, first_row, &info, DIB_RGB_COLORS, SRCCOPY);
    *drawn = dest;
    return true;
}

void paint_picture(HDC dc, const RECT& area, const ViewState& view, bool mirror) {
    PixelRect dest;
    if (!stretch_frame(dc, area, view, mirror, &dest)) {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    // The bars after the lock is left: they need no pixels.
    const Bars bars = bars_around(pixel_rect(area), dest);
    for (const PixelRect& band : bars.band) {
        if (band.right > band.left && band.bottom > band.top) {
            const RECT r = win_rect(band);
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    }
}

} // namespace

void paint_video(HDC dc, const RECT& area, const ViewState& view, bool mirror, const wchar_t* text,
                 HFONT font, double scale) {
    if (area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    if (text != nullptr) {
        paint_text(dc, area, text, font, scale);
    } else {
        paint_picture(dc, area, view, mirror);
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
    const double scale = current_dpi / 96.0;

    // Only the message states show text; a streaming paint formats nothing.
    wchar_t text[status_text_units];
    bool has_text = false;
    if (status_shows_text(status)) {
        wchar_t name[camera_name_size];
        to_utf16(settings.camera_name, name, camera_name_size);
        has_text = format_status_text(status, name, last_capture_error, text, status_text_units);
    }
    paint_video(dc, area, settings.view, settings.mirror != 0, has_text ? text : nullptr,
                toolbar.status_font, scale);
    EndPaint(window, &ps);
    frame_clear_pending();
}

LRESULT on_ctl_color_static(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}
