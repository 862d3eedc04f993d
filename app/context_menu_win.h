#pragma once
// The picture's menu: a right click on the video area, Shift+F10 or the
// context-menu key. User-interface thread only.

#include <windows.h>

// Builds the menu as things are now; the caller destroys it.
HMENU build_context_menu();
// A command's row: its name and first key, checked and greyed as its row in
// the command table says.
void append_command_row(HMENU menu, int id);
// Runs what the menu returned (0: nothing was chosen).
void run_menu_choice(int choice);
// WM_CONTEXTMENU; false when the click was outside the video area.
bool on_context_menu(LPARAM lparam);
