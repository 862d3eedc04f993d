#pragma once
// See-through and click-through. The window's opacity is a layered window's
// alpha, in every view, and remembered. Click-through lets the mouse pass to
// the windows below while the window is see-through or compact; its ways back
// are a global hotkey and a notification-area icon, both there only while it
// lasts. User-interface thread only.

#include <windows.h>

#include <cstdint>

// In the main window's record. Never remembered: every start begins with the
// mouse.
struct ClickThrough {
    bool on;
    bool icon_shown;      // the icon's last NIM_ADD succeeded
    UINT taskbar_created; // "TaskbarCreated": Explorer has started again
};

// WM_CREATE: the remembered opacity, before the window is first shown.
void see_through_create();
// WM_DESTROY: ends click-through, its hotkey and its icon with the window.
void see_through_destroy();

// The Opacity submenu's commands.
void set_opacity(int32_t percent);

// The command: on while see-through or compact, so that a normal window
// never loses its mouse; off again from anywhere.
void toggle_click_through();
bool click_through_possible();
// After the view changed: ends click-through when it is no longer possible.
void click_through_follow_view();

// The window's messages for it: WM_HOTKEY, the icon's WM_APP_NOTIFY_ICON and
// "TaskbarCreated". False for any other message.
bool on_click_through_message(UINT message, WPARAM wparam, LPARAM lparam);
