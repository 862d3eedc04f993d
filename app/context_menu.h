#pragma once
// The picture's menu: every command with its key, in groups. Platform-free:
// the window side builds the menu from this table and routes each item to
// the same WM_COMMAND as its key or button.

#include <cstddef>

#include "base/command_ids.h"

// Items that are no WM_COMMAND of their own.
inline constexpr int menu_cameras = -1;  // the submenu of cameras, as the list shows them
inline constexpr int menu_separator = 0; // a line between groups
inline constexpr int menu_close = -2;    // closes the window, as Alt+F4 does
inline constexpr int menu_formats = -3;  // the submenu of the running camera's formats

struct MenuItem {
    int command;
    const wchar_t* text; // the key after a tab, for the items that have one
};

inline constexpr MenuItem context_menu_items[] = {
    {menu_cameras, L"Camera"},
    {menu_formats, L"Format"},
    {IDC_CAMERA_CONTROLS, L"Camera settings\u2026"},
    {menu_separator, nullptr},
    {IDC_ZOOM_IN, L"Zoom in\tCtrl++"},
    {IDC_ZOOM_OUT, L"Zoom out\tCtrl+\u2212"},
    {IDC_ZOOM_RESET, L"Whole picture\tCtrl+0"},
    {menu_separator, nullptr},
    {IDC_MIRROR, L"Mirror\tCtrl+M"},
    {IDC_ROTATE_RIGHT, L"Rotate right\tCtrl+R"},
    {IDC_ROTATE_LEFT, L"Rotate left\tCtrl+Shift+R"},
    {menu_separator, nullptr},
    {IDC_FREEZE, L"Freeze\tSpace"},
    {IDC_COPY_PICTURE, L"Copy picture\tCtrl+C"},
    {IDC_SAVE_PICTURE, L"Save picture\tCtrl+S"},
    {menu_separator, nullptr},
    {IDC_ON_TOP, L"Always on top\tCtrl+T"},
    {IDC_COMPACT, L"Compact view\tCtrl+H"},
    {IDC_FULL_SCREEN, L"Full screen\tF11"},
    {menu_separator, nullptr},
    {menu_close, L"Close\tAlt+F4"},
};

// The switches the menu shows checked.
struct MenuChecks {
    bool mirror;
    bool on_top;
    bool compact;
    bool full_screen;
    bool frozen;
};
bool menu_item_checked(int command, const MenuChecks& checks);
// Whether a command's item can be chosen now: the camera's settings only
// while a camera streams.
bool menu_item_enabled(int command, bool streaming);
