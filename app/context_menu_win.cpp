#include "app/context_menu_win.h"

#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>

#include "app/commands_win.h"
#include "app/main_window.h"
#include "app/window_calls.h"
#include "audio/sound_menu_win.h"
#include "base/command_ids.h"
#include "base/owned_win.h"
#include "capture/camera_select.h"
#include "capture/format_menu.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"

namespace {

// The menu's rows in order: the commands by their ids, in groups, and the
// rows that are no command of their own. A command's text and state are
// its row in the command table.
constexpr int menu_cameras = -1;  // the submenu of cameras, as the list shows them
constexpr int menu_separator = 0; // a line between groups
constexpr int menu_close = -2;    // closes the window, as Alt+F4 does
constexpr int menu_formats = -3;  // the submenu of the running camera's formats
constexpr int menu_shapes = -4;   // the submenu of the compact window's shapes
constexpr int menu_opacity = -5;  // the submenu of the opacities
constexpr int menu_guides = -6;   // the submenu of the guides over the picture
constexpr int menu_sound = -7;    // the submenu of the audio inputs

// clang-format off
constexpr int context_menu_rows[] = {
    menu_cameras, menu_formats, IDC_CAMERA_CONTROLS, menu_sound, menu_separator,
    IDC_ZOOM_IN, IDC_ZOOM_OUT, IDC_ZOOM_RESET, menu_separator,
    IDC_MIRROR, IDC_ROTATE_RIGHT, IDC_ROTATE_LEFT, menu_separator,
    IDC_FREEZE, IDC_COPY_PICTURE, IDC_SAVE_PICTURE, menu_separator,
    IDC_INFO_LINE, menu_guides, menu_separator,
    IDC_ON_TOP, IDC_COMPACT, menu_shapes, IDC_FULL_SCREEN, menu_separator,
    menu_opacity, IDC_CLICK_THROUGH, menu_separator,
    menu_close,
};
// clang-format on

// Item ids of the rows that are no command of their own.
constexpr UINT close_item = 200;
constexpr UINT first_camera_item = 300;
constexpr UINT first_format_item = 400; // then Automatic and a row a format
constexpr UINT first_sound_item = 500;  // a row an input, as the submenu shows them

// The cameras as the list shows them: the one in use checked, a
// "(disconnected)" row greyed. A row's item is its camera's place in the
// list, which is kept as it was: the menu's modal loop runs the window's
// timers, so a scan may refill the list before a row is chosen.
HMENU camera_submenu() {
    HMENU menu = CreatePopupMenu();
    std::unique_ptr<CameraList>& shown = main_window.shown_cameras;
    if (!shown) {
        shown = std::make_unique<CameraList>();
    }
    *shown = camera_list;
    const auto rows = int(SendMessageW(main_window.toolbar.combo, CB_GETCOUNT, 0, 0));
    const auto selected = int(SendMessageW(main_window.toolbar.combo, CB_GETCURSEL, 0, 0));
    for (int row = 0; row < rows && row < 64; ++row) {
        wchar_t text[300] = L"";
        if (SendMessageW(main_window.toolbar.combo, CB_GETLBTEXTLEN, WPARAM(row), 0) >= 300) {
            continue;
        }
        SendMessageW(main_window.toolbar.combo, CB_GETLBTEXT, WPARAM(row),
                     reinterpret_cast<LPARAM>(text));
        const auto index =
            int32_t(SendMessageW(main_window.toolbar.combo, CB_GETITEMDATA, WPARAM(row), 0));
        const bool listed = index >= 0 && index < shown->camera_count;
        UINT flags = MF_STRING;
        flags |= listed ? 0 : MF_GRAYED;
        flags |= listed && row == selected && main_window.capture_active != 0 ? MF_CHECKED : 0;
        AppendMenuW(menu, flags, first_camera_item + UINT(listed ? index : max_cameras), text);
    }
    return menu;
}

// Picks the camera the last menu showed at `index`, as if its row had been
// picked from the list; nothing when it has left the list since.
void pick_shown_camera(UINT index) {
    const std::unique_ptr<CameraList>& shown = main_window.shown_cameras;
    if (!shown || index >= UINT(shown->camera_count)) {
        return;
    }
    const char* id = shown->cameras[index].id;
    const auto rows = int(SendMessageW(main_window.toolbar.combo, CB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        const auto now =
            int32_t(SendMessageW(main_window.toolbar.combo, CB_GETITEMDATA, WPARAM(row), 0));
        if (now >= 0 && now < camera_list.camera_count &&
            std::strcmp(camera_list.cameras[now].id, id) == 0) {
            SendMessageW(main_window.toolbar.combo, CB_SETCURSEL, WPARAM(row), 0);
            SendMessageW(main_window.handle, WM_COMMAND, MAKEWPARAM(IDC_CAMERA, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(main_window.toolbar.combo));
            return;
        }
    }
}

} // namespace

void append_command_row(HMENU menu, int id) {
    const Command* command = find_command(id);
    if (command == nullptr) {
        return;
    }
    wchar_t text[80];
    menu_item_text(command->name, command->keys[0], text, std::size(text));
    const bool checked = command->checked != nullptr && command->checked();
    const bool enabled = command->enabled == nullptr || command->enabled();
    AppendMenuW(menu, MF_STRING | (checked ? MF_CHECKED : 0) | (enabled ? 0 : MF_GRAYED),
                UINT(command->id), text);
}

namespace {

HMENU shape_submenu() {
    HMENU menu = CreatePopupMenu();
    for (const int id : {IDC_SHAPE_RECTANGLE, IDC_SHAPE_ROUNDED, IDC_SHAPE_CIRCLE}) {
        append_command_row(menu, id);
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    append_command_row(menu, IDC_SHAPE_NEXT);
    return menu;
}

HMENU opacity_submenu() {
    HMENU menu = CreatePopupMenu();
    for (const int id : {IDC_OPACITY_100, IDC_OPACITY_85, IDC_OPACITY_70, IDC_OPACITY_50}) {
        append_command_row(menu, id);
    }
    return menu;
}

HMENU guides_submenu() {
    HMENU menu = CreatePopupMenu();
    for (const int id :
         {IDC_GUIDES_NONE, IDC_GUIDES_GRID, IDC_GUIDES_CROSSHAIR, IDC_GUIDES_CENTRE}) {
        append_command_row(menu, id);
    }
    return menu;
}

} // namespace

HMENU build_context_menu() {
    HMENU menu = CreatePopupMenu();
    for (const int row : context_menu_rows) {
        if (row == menu_separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (row == menu_cameras) {
            HMENU cameras = camera_submenu(); // owned by the menu from here on
            const UINT empty = GetMenuItemCount(cameras) == 0 ? MF_GRAYED : 0;
            AppendMenuW(menu, MF_POPUP | empty, reinterpret_cast<UINT_PTR>(cameras), L"Camera");
        } else if (row == menu_formats) {
            bool greyed = true;
            HMENU formats = format_submenu(first_format_item, &greyed);
            AppendMenuW(menu, MF_POPUP | (greyed ? MF_GRAYED : 0),
                        reinterpret_cast<UINT_PTR>(formats), L"Format");
        } else if (row == menu_sound) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sound_submenu(first_sound_item)),
                        L"Sound");
        } else if (row == menu_shapes) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(shape_submenu()), L"Shape");
        } else if (row == menu_opacity) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(opacity_submenu()), L"Opacity");
        } else if (row == menu_guides) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(guides_submenu()), L"Guides");
        } else if (row == menu_close) {
            AppendMenuW(menu, MF_STRING, close_item, L"Close\tAlt+F4");
        } else {
            append_command_row(menu, row);
        }
    }
    return menu;
}

void run_menu_choice(int choice) {
    if (choice <= 0) {
        return;
    }
    if (UINT(choice) == close_item) {
        SendMessageW(main_window.handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (UINT(choice) >= first_sound_item) {
        run_sound_choice(UINT(choice) - first_sound_item);
    } else if (UINT(choice) >= first_format_item) {
        run_format_choice(UINT(choice) - first_format_item);
    } else if (UINT(choice) >= first_camera_item) {
        pick_shown_camera(UINT(choice) - first_camera_item);
    } else {
        SendMessageW(main_window.handle, WM_COMMAND, MAKEWPARAM(choice, 0), 0);
    }
}

bool on_context_menu(LPARAM lparam) {
    const RECT area = video_area_rect();
    POINT at{static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam))};
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the video area's top-left corner.
        at = {area.left + scale_units(8, main_window.dpi),
              area.top + scale_units(8, main_window.dpi)};
        ClientToScreen(main_window.handle, &at);
    } else {
        POINT client = at;
        ScreenToClient(main_window.handle, &client);
        if (!PtInRect(&area, client)) {
            return false;
        }
    }
    int choice = 0;
    {
        const OwnedMenu menu{build_context_menu()};
        choice = int(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                      main_window.handle, nullptr));
    }
    run_menu_choice(choice);
    return true;
}
