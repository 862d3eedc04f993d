#pragma once
// The camera settings window's rows, between its window procedure and the
// child windows: building them around the controls as read, showing a row's
// value, laying them out for a DPI, and greying them when the camera stops
// answering. User-interface thread only; the window's record is
// main_window.camera_controls.

#include <windows.h>

#include <cstdint>

#include "capture/camera_controls.h"

inline constexpr DWORD camera_controls_style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD camera_controls_ex_style = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
inline constexpr int camera_controls_defaults_id = 100;
inline constexpr int camera_controls_first_slider_id = 200;
inline constexpr int camera_controls_first_auto_id = 300;

// Shows a row as it is known: the slider at its value, greyed while the
// camera has it or while there is nothing to move.
void show_row(int32_t i);
// A new font for `dpi`, and every child placed for it.
void apply_dpi(UINT dpi);
// Sizes the window around its rows at `dpi`, its top-left corner at x, y.
void fit_window(int32_t x, int32_t y, UINT dpi);
// The rows as the control thread read them: the window is built around
// them and shown.
void show_window(int32_t row_count, const ControlRow* rows);
// The rows greyed and the note saying the camera does not answer; the
// window shown first if the controls were never read.
void show_silent();
