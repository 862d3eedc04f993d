#pragma once
// The main window's steps that the other subsystems call: its one-shot
// timers, the status state machine, the relayout and the reaction to a
// changed view. User-interface thread only.

#include <windows.h>

#include "base/status.h"

// One-shot timers of the main window: re-arming one starts its interval over.
inline constexpr UINT_PTR TIMER_RESCAN = 1;
inline constexpr UINT_PTR TIMER_DEVICE_CHANGE = 2;
inline constexpr UINT_PTR TIMER_SAVE = 3;
inline constexpr UINT_PTR TIMER_POINTER = 4;  // hides the pointer over a full-screen picture
inline constexpr UINT_PTR TIMER_SAVE_TIP = 5; // hides the tip after a picture save

// (Re-)arms a one-shot timer with its interval; an armed timer starts over.
void arm_timer(UINT_PTR id);
void set_status(StatusState new_status);
void relayout();
void on_view_changed();
RECT video_area_rect();
