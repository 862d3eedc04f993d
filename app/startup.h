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

bool register_main_window_class(HINSTANCE instance);
HWND create_main_window(HINSTANCE instance);

// The show command from STARTUPINFO, or SW_SHOWDEFAULT.
int startup_show_command();

// The whole run; returns the exit code.
int app_run(HINSTANCE instance, int show_command);
