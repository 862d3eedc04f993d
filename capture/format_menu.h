#pragma once
// The picture menu's Format submenu: the running camera's native formats as
// its worker read them, and the restart on the one picked. User-interface
// thread only; it makes no device call.

#include <windows.h>

// Rows get the ids first_id (Automatic) and first_id + 1 + row; the menu
// keeps what it showed until the next build, for the choice. The caller's
// menu owns the submenu; `greyed` is set when no camera runs.
HMENU format_submenu(UINT first_id, bool* greyed);
// The row behind an id from format_submenu (the offset from first_id).
void run_format_choice(UINT offset);
