#pragma once
// Globals of the user-interface thread and the main window's steps that the
// other subsystems call. Nothing here is touched by the capture worker.

#include <windows.h>

#include "app/status.h"
#include "settings/settings.h"

inline constexpr UINT_PTR TIMER_RESCAN = 1;
inline constexpr UINT_PTR TIMER_DEVICE_CHANGE = 2;
inline constexpr UINT_PTR TIMER_SAVE = 3;
inline constexpr UINT_PTR TIMER_POINTER = 4;  // hides the pointer over a full-screen picture
inline constexpr UINT_PTR TIMER_SAVE_TIP = 5; // hides the tip after a picture save

inline constexpr wchar_t window_class_name[] = L"TaviskoWnd";
inline constexpr wchar_t window_title[] = L"Tavisko";
inline constexpr DWORD main_window_style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN; // 0x02CF0000

extern HWND main_window;           // stored first thing on WM_CREATE
extern UINT current_dpi;           // of the main window; 96 until WM_CREATE
extern StatusState status;         // what the video area shows
extern int capture_active;         // a camera was chosen and its worker has not ended
extern HRESULT last_capture_error; // carried by the last end report
extern Settings settings;          // the persisted record, view included
extern HACCEL accelerator_table;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// (Re-)arms a one-shot timer with its interval; an armed timer starts over.
void arm_timer(UINT_PTR id);
void set_status(StatusState new_status);
void relayout();
void on_view_changed();
RECT video_area_rect();
