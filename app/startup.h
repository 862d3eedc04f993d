#pragma once
// Process start and end: the single-instance rule, COM and capture start-up,
// settings, the window class, the main window and its accelerators, and the
// message loop. User-interface thread.

#include <windows.h>

struct InitialPlacement {
    int x;
    int y;
    int width;
    int height;
    DWORD ex_style;
};

// The remembered rectangle when its top edge is on a monitor, else the
// default size centred on the primary work area.
InitialPlacement initial_window_rect();

// True when the main window's class is there for this module: registered
// now, or before in this process with the same window procedure.
bool register_main_window_class(HINSTANCE instance);
// The main window, or null when it could not be made.
HWND create_main_window(HINSTANCE instance);

// The show command from STARTUPINFO, or SW_SHOWDEFAULT.
int startup_show_command();

// The whole run; returns the exit code: 1 when Media Foundation, the window
// class or the main window could not be had, else 0.
int app_run(HINSTANCE instance, int show_command);
