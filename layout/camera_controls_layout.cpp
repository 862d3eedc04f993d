#include "layout/camera_controls_layout.h"

namespace {

// Design units at 96 DPI.
constexpr int32_t margin = 12;
constexpr int32_t gap = 8;
constexpr int32_t row_height = 28;
constexpr int32_t text_height = 16;
constexpr int32_t slider_height = 26;
constexpr int32_t name_width = 150;
constexpr int32_t slider_width = 200;
constexpr int32_t value_width = 48;
constexpr int32_t auto_width = 56;
constexpr int32_t button_width = 88;
constexpr int32_t button_height = 26;

constexpr int32_t content_width = name_width + slider_width + value_width + auto_width + 3 * gap;

// A control of `height` design units centred in a row whose top is `top`.
ControlPlace in_row(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t dpi) {
    const int32_t h = scale_units(height, dpi);
    return {scale_units(left, dpi), top + (scale_units(row_height, dpi) - h) / 2,
            scale_units(width, dpi), h};
}

} // namespace

ControlsRowPlaces controls_row_places(int32_t row, uint32_t dpi) {
    const int32_t top = scale_units(margin, dpi) + row * scale_units(row_height, dpi);
    constexpr int32_t slider_x = margin + name_width + gap;
    constexpr int32_t value_x = slider_x + slider_width + gap;
    constexpr int32_t auto_x = value_x + value_width + gap;
    return {in_row(margin, top, name_width, text_height, dpi),
            in_row(slider_x, top, slider_width, slider_height, dpi),
            in_row(value_x, top, value_width, text_height, dpi),
            in_row(auto_x, top, auto_width, text_height, dpi)};
}

ControlsWindowPlaces controls_window_places(int32_t rows, uint32_t dpi) {
    const int32_t width = scale_units(content_width + 2 * margin, dpi);
    const int32_t rows_bottom = scale_units(margin, dpi) + rows * scale_units(row_height, dpi);
    if (rows <= 0) {
        // Only the text: nothing to return to defaults.
        return {width, 2 * scale_units(margin, dpi) + scale_units(row_height, dpi), {0, 0, 0, 0}};
    }
    const int32_t button_top = rows_bottom + scale_units(gap, dpi);
    const int32_t w = scale_units(button_width, dpi);
    const int32_t h = scale_units(button_height, dpi);
    return {width,
            button_top + h + scale_units(margin, dpi),
            {width - scale_units(margin, dpi) - w, button_top, w, h}};
}

ControlPlace controls_note_place(int32_t rows, uint32_t dpi) {
    if (rows <= 0) {
        return in_row(margin, scale_units(margin, dpi), content_width, text_height, dpi);
    }
    const ControlPlace defaults = controls_window_places(rows, dpi).defaults;
    const int32_t h = scale_units(text_height, dpi);
    return {scale_units(margin, dpi), defaults.y + (defaults.height - h) / 2,
            defaults.x - scale_units(margin + gap, dpi), h};
}
