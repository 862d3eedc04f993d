#include "view/info_line_win.h"

#include "app/main_window.h"
#include "app/window_calls.h"
#include "audio/sound_win.h"
#include "capture/capture.h"
#include "view/paint.h"

namespace {

// The performance counter in the time stamps' units, 100 ns.
int64_t paint_time() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    const int64_t seconds = count.QuadPart / frequency.QuadPart;
    const int64_t rest = count.QuadPart % frequency.QuadPart;
    return seconds * timing_second + rest * timing_second / frequency.QuadPart;
}

void measure(bool on) {
    frame_timing_reset(main_window.info_line.shown);
    main_window.info_line.shown_centi = -1;
    capture_measure_delivery(on);
}

InfoFigures current_figures() {
    InfoFigures figures{};
    const FrozenPicture& frozen = main_window.frozen;
    figures.frozen = frozen.on;
    figures.width = frozen.on ? frozen.width : main_window.known_frame_width;
    figures.height = frozen.on ? frozen.height : main_window.known_frame_height;
    RunFormats formats;
    if (capture_run_formats(&formats)) {
        figures.subtype = formats.running.subtype;
    }
    DeliveryFigures delivery{};
    figures.rate_centi = -1;
    if (capture_delivery(&delivery)) {
        figures.rate_centi = delivery.rate_centi;
        figures.dropped = delivery.dropped;
    }
    figures.shown_centi = main_window.info_line.shown_centi;
    const SoundFigures sound = sound_figures(main_window.sound.player);
    figures.sound = sound.playing;
    figures.sound_glitches = sound.glitches;
    return figures;
}

} // namespace

void info_line_start() {
    measure(settings.info != 0);
}

void toggle_info_line() {
    settings.info = settings.info == 0 ? 1 : 0;
    measure(settings.info != 0);
    arm_timer(TIMER_SAVE);
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
}

void info_line_note_paint(bool new_frame) {
    if (settings.info == 0 || !new_frame || main_window.frozen.on) {
        return;
    }
    InfoLineState& line = main_window.info_line;
    frame_timing_add(line.shown, paint_time(), false);
    if (frame_timing_due(line.shown)) {
        line.shown_centi = frame_timing_rate_centi(line.shown);
    }
}

RECT info_line_rect(HDC dc, const RECT& area, HFONT font, wchar_t* text, size_t units) {
    const bool picture = main_window.frozen.on || main_window.known_frame_width > 0;
    if (settings.info == 0 || !picture) {
        return RECT{};
    }
    format_info_line(current_figures(), text, units);
    SIZE size{};
    {
        const SelectedFont selected(dc, font);
        GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
    }
    const PixelRect box = info_line_box(PixelRect{area.left, area.top, area.right, area.bottom},
                                        size.cx, size.cy, main_window.dpi);
    return RECT{box.left, box.top, box.right, box.bottom};
}

void paint_info_line(HDC dc, const RECT& box, const wchar_t* text, HFONT font) {
    const SelectedFont selected(dc, font);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, status_text_colour);
    ExtTextOutW(dc, box.left + scale_units(6, main_window.dpi),
                box.top + scale_units(3, main_window.dpi), ETO_OPAQUE | ETO_CLIPPED, &box, text,
                UINT(wcslen(text)), nullptr);
}
