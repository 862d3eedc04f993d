#pragma once
// Where the camera settings window's controls go at a DPI: one row per
// control (name, slider, value, Auto), then the Defaults button at the
// bottom right. Designed at 96 DPI and scaled like the toolbar.
// Platform-free.

#include <cstdint>

#include "layout/toolbar_layout.h"

struct ControlsRowPlaces {
    ControlPlace name;
    ControlPlace slider;
    ControlPlace value;
    ControlPlace auto_box;
};

struct ControlsWindowPlaces {
    int32_t client_width;
    int32_t client_height;
    ControlPlace defaults; // all 0 when there is no row
};

ControlsRowPlaces controls_row_places(int32_t row, uint32_t dpi);
// For `rows` rows; with none, one row for the text that says so and no
// Defaults button.
ControlsWindowPlaces controls_window_places(int32_t rows, uint32_t dpi);
// The window's one line of text: in place of the rows when there are none
// (the camera offers no control, or did not answer), else beside the
// Defaults button (the camera has stopped answering).
ControlPlace controls_note_place(int32_t rows, uint32_t dpi);
