#include "capture/format_menu.h"

#include <memory>

#include "app/main_window.h"
#include "app/window_calls.h"
#include "capture/camera_select.h"
#include "capture/capture.h"

HMENU format_submenu(UINT first_id, bool* greyed) {
    std::unique_ptr<RunFormats>& shown = main_window.shown_formats;
    HMENU menu = CreatePopupMenu();
    if (!shown) {
        shown = std::make_unique<RunFormats>();
    }
    *greyed = !capture_run_formats(shown.get()) || shown->list.count == 0;
    if (*greyed) {
        *shown = RunFormats{};
        return menu;
    }
    wchar_t text[96];
    // The built-in choice names what it runs, and nothing while it is not in
    // use: what it would take is known only once the reader has tried it.
    automatic_row_text(shown->picked ? CameraFormat{} : shown->running, text, 96);
    AppendMenuW(menu, MF_STRING | (shown->picked ? 0 : MF_CHECKED), first_id, text);
    for (int32_t row = 0; row < shown->list.count; ++row) {
        const CameraFormat& format = shown->list.formats[row];
        format_row_text(format, text, 96);
        const bool running = shown->picked && same_camera_format(format, shown->running);
        AppendMenuW(menu, MF_STRING | (running ? MF_CHECKED : 0), first_id + 1 + UINT(row), text);
    }
    return menu;
}

void run_format_choice(UINT offset) {
    const std::unique_ptr<RunFormats>& shown = main_window.shown_formats;
    if (!shown || offset > UINT(shown->list.count)) {
        return;
    }
    const CameraFormat chosen = offset == 0 ? CameraFormat{} : shown->list.formats[offset - 1];
    const bool unchanged = camera_format_is_set(chosen)
                               ? same_camera_format(chosen, settings.format)
                               : !camera_format_is_set(settings.format);
    if (unchanged) {
        return;
    }
    settings.format = chosen;
    arm_timer(TIMER_SAVE);
    restart_capture();
}
