#pragma once
// The two ways of showing the picture without the usual window around it:
// the compact view (the window is the picture alone, resized from its edges
// and moved by dragging it) and full screen (the picture on the whole
// monitor, never remembered). User-interface thread only.

#include <windows.h>

struct FullScreen {
    bool on;
    WINDOWPLACEMENT placement_before; // the window as it was, restored on leaving
    LONG style_before;
    bool pointer_hidden;
    POINT last_pointer; // screen coordinates of the last pointer move seen
};

// The compact window keeps a sizing frame for the system's sizing loop but
// answers WM_NCCALCSIZE with no non-client area at all.
inline constexpr DWORD compact_window_style = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN;

// The style the window is created with for the remembered view.
DWORD initial_window_style();
// Neither compact nor full screen: the frame and the toolbar are there.
bool toolbar_shown();
// No non-client area: compact or full screen.
bool frameless();

void toggle_compact();
void toggle_full_screen();

// A display change or a new DPI in full screen: covers the monitor's
// rectangle again. False, doing nothing, outside full screen.
bool full_screen_refit();

// WM_NCHITTEST in the compact view: the resize band inside the edges.
LRESULT compact_hit_test(LPARAM lparam);

// Full screen's pointer: hidden 2 s after the last move over the picture.
void full_screen_pointer_moved(LPARAM lparam); // WM_MOUSEMOVE
void full_screen_pointer_timer();
// WM_SETCURSOR while full screen; true when it hid the pointer.
bool full_screen_set_cursor();
