// The command table and the handlers that belong to no subsystem of their
// own. User-interface thread only.

#include "app/commands_win.h"

#include <shellapi.h>

#include "app/camera_controls_win.h"
#include "app/main_window.h"
#include "app/window_calls.h"
#include "audio/sound_menu_win.h"
#include "base/command_ids.h"
#include "layout/see_through_win.h"
#include "layout/toolbar.h"
#include "layout/view_modes.h"
#include "layout/window_shape.h"
#include "view/guides_win.h"
#include "view/info_line_win.h"
#include "view/picture_copy_win.h"
#include "view/picture_save_win.h"
#include "view/shown_picture.h"
#include "view/view_model.h"

// The platform-free key numbers are Windows' own.
static_assert(key_shift == FSHIFT && key_ctrl == FCONTROL && key_alt == FALT);
static_assert(vk_space == VK_SPACE && vk_numpad0 == VK_NUMPAD0 && vk_add == VK_ADD &&
              vk_subtract == VK_SUBTRACT && vk_f1 == VK_F1 && vk_oem_plus == VK_OEM_PLUS &&
              vk_oem_minus == VK_OEM_MINUS);

namespace {

// The buttons and keys zoom about the middle of what is shown.
void zoom_in() {
    view_zoom_at(settings.view, 0.5, 0.5, zoom_in_factor);
    on_view_changed();
}

void zoom_out() {
    view_zoom_at(settings.view, 0.5, 0.5, zoom_out_factor);
    on_view_changed();
}

void zoom_reset() {
    view_reset(settings.view);
    on_view_changed();
}

void toggle_on_top() {
    settings.on_top = settings.on_top == 0 ? 1 : 0;
    SetWindowPos(main_window.handle, settings.on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    toolbar_update_pin(settings.on_top);
    arm_timer(TIMER_SAVE);
}

void open_privacy_settings() {
    ShellExecuteW(main_window.handle, L"open", L"ms-settings:privacy-webcam", nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void copy_picture() {
    copy_picture_to_clipboard();
}

void turn_right() {
    turn_picture(1);
}

void turn_left() {
    turn_picture(-1);
}

void shape_rectangle() {
    set_shape(ShapeRectangle);
}

void shape_rounded() {
    set_shape(ShapeRounded);
}

void shape_circle() {
    set_shape(ShapeCircle);
}

bool rectangle_checked() {
    return settings.shape != ShapeRounded && settings.shape != ShapeCircle;
}

bool rounded_checked() {
    return settings.shape == ShapeRounded;
}

bool circle_checked() {
    return settings.shape == ShapeCircle;
}

bool on_top_checked() {
    return settings.on_top != 0;
}

bool mirror_checked() {
    return settings.mirror != 0;
}

bool compact_checked() {
    return settings.compact != 0;
}

bool full_screen_checked() {
    return main_window.full_screen.on;
}

bool frozen_checked() {
    return main_window.frozen.on;
}

bool info_line_checked() {
    return settings.info != 0;
}

bool click_through_checked() {
    return main_window.click_through.on;
}

// The camera's own settings only while a camera streams.
bool camera_streaming() {
    return main_window.status == StatusStreaming;
}

// One row a command: id, name, tip; keys; handler, checked, enabled.
// clang-format off
constexpr Command commands[] = {
    {IDC_ON_TOP, L"Always on top", L"Always on top", {{key_ctrl, 'T'}},
     toggle_on_top, on_top_checked, nullptr},
    {IDC_ZOOM_IN, L"Zoom in", L"Zoom in",
     {{key_ctrl, vk_oem_plus}, {key_ctrl | key_shift, vk_oem_plus}, {key_ctrl, vk_add}},
     zoom_in, nullptr, nullptr, true},
    {IDC_ZOOM_OUT, L"Zoom out", L"Zoom out", {{key_ctrl, vk_oem_minus}, {key_ctrl, vk_subtract}},
     zoom_out, nullptr, nullptr, true},
    {IDC_ZOOM_RESET, L"Whole picture", L"Reset zoom", {{key_ctrl, '0'}, {key_ctrl, vk_numpad0}},
     zoom_reset, nullptr, nullptr},
    {IDC_MIRROR, L"Mirror", nullptr, {{key_ctrl, 'M'}},
     toggle_mirror, mirror_checked, nullptr},
    // The camera list is a drop-down list with no text to copy, so Ctrl+C
    // always means the picture, whichever control has the focus.
    {IDC_COPY_PICTURE, L"Copy picture", nullptr, {{key_ctrl, 'C'}},
     copy_picture, nullptr, nullptr},
    {IDC_SAVE_PICTURE, L"Save picture", nullptr, {{key_ctrl, 'S'}},
     save_picture, nullptr, nullptr},
    {IDC_COMPACT, L"Compact view", nullptr, {{key_ctrl, 'H'}},
     toggle_compact, compact_checked, nullptr},
    // The shape is remembered for the compact view and chosen in any view;
    // its key steps it only where it shows.
    {IDC_SHAPE_RECTANGLE, L"Rectangle", nullptr, {}, shape_rectangle, rectangle_checked, nullptr},
    {IDC_SHAPE_ROUNDED, L"Rounded corners", nullptr, {}, shape_rounded, rounded_checked, nullptr},
    {IDC_SHAPE_CIRCLE, L"Circle", nullptr, {}, shape_circle, circle_checked, nullptr},
    {IDC_SHAPE_NEXT, L"Next shape", nullptr, {{key_ctrl, 'B'}},
     step_shape, nullptr, shape_applies},
    {IDC_FULL_SCREEN, L"Full screen", nullptr, {{0, function_key(11)}},
     toggle_full_screen, full_screen_checked, nullptr},
    {IDC_ROTATE_RIGHT, L"Rotate right", nullptr, {{key_ctrl, 'R'}},
     turn_right, nullptr, nullptr},
    {IDC_ROTATE_LEFT, L"Rotate left", nullptr, {{key_ctrl | key_shift, 'R'}},
     turn_left, nullptr, nullptr},
    {IDC_FREEZE, L"Freeze", nullptr, {{0, vk_space}},
     toggle_freeze, frozen_checked, nullptr},
    {IDC_INFO_LINE, L"Info line", nullptr, {{key_ctrl, 'I'}},
     toggle_info_line, info_line_checked, nullptr},
    {IDC_CAMERA_CONTROLS, L"Camera settings\u2026", nullptr, {},
     camera_controls_open, nullptr, camera_streaming},
    // The Opacity submenu, the current one checked.
    {IDC_OPACITY_100, L"100%", nullptr, {},
     [] { set_opacity(100); }, [] { return settings.opacity == 100; }, nullptr},
    {IDC_OPACITY_85, L"85%", nullptr, {},
     [] { set_opacity(85); }, [] { return settings.opacity == 85; }, nullptr},
    {IDC_OPACITY_70, L"70%", nullptr, {},
     [] { set_opacity(70); }, [] { return settings.opacity == 70; }, nullptr},
    {IDC_OPACITY_50, L"50%", nullptr, {},
     [] { set_opacity(50); }, [] { return settings.opacity == 50; }, nullptr},
    // The Guides submenu, the current one checked.
    {IDC_GUIDES_NONE, L"None", nullptr, {},
     [] { set_guides(GuideNone); }, [] { return settings.guides == GuideNone; }, nullptr},
    {IDC_GUIDES_GRID, L"Thirds grid", nullptr, {},
     [] { set_guides(GuideGrid); }, [] { return settings.guides == GuideGrid; }, nullptr},
    {IDC_GUIDES_CROSSHAIR, L"Crosshair", nullptr, {},
     [] { set_guides(GuideCrosshair); }, [] { return settings.guides == GuideCrosshair; },
     nullptr},
    {IDC_GUIDES_CENTRE, L"Centre mark", nullptr, {},
     [] { set_guides(GuideCentre); }, [] { return settings.guides == GuideCentre; }, nullptr},
    // Its key turns it on from the keyboard; while on, the same combination
    // is the global hotkey that ends it.
    {IDC_CLICK_THROUGH, L"Click through", nullptr, {{key_ctrl | key_alt | key_shift, 'T'}},
     toggle_click_through, click_through_checked, click_through_possible},
    // The Sound submenu's rows that are no input of their own.
    {IDC_SOUND_OFF, L"Off", nullptr, {}, sound_off, sound_off_checked, nullptr},
    {IDC_OPEN_MICROPHONE_PRIVACY, L"Open Microphone Settings", nullptr, {},
     open_microphone_settings, nullptr, nullptr},
    // The button shown while camera access is off.
    {IDC_OPEN_PRIVACY, L"Open Camera Settings", nullptr, {},
     open_privacy_settings, nullptr, nullptr},
};
// clang-format on

} // namespace

std::span<const Command> command_table() {
    return commands;
}

const Command* find_command(int id) {
    for (const Command& command : commands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

bool run_command(int id) {
    const Command* command = find_command(id);
    if (command == nullptr) {
        return false;
    }
    command->run();
    return true;
}

namespace {

// The command a key runs with the modifiers held now, as the accelerator
// table matches it; null for none.
const Command* command_of_key(WPARAM code) {
    uint8_t modifiers = 0;
    modifiers |= GetKeyState(VK_CONTROL) < 0 ? key_ctrl : 0;
    modifiers |= GetKeyState(VK_SHIFT) < 0 ? key_shift : 0;
    modifiers |= GetKeyState(VK_MENU) < 0 ? key_alt : 0;
    for (const Command& command : commands) {
        for (const CommandKey& key : command.keys) {
            if (key.code != 0 && key.code == code && key.modifiers == modifiers) {
                return &command;
            }
        }
    }
    return nullptr;
}

} // namespace

bool translate_command_key(MSG* message) {
    // Bit 30 of a key-down: the key was already down, an auto-repeat.
    const bool repeat = (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) &&
                        (message->lParam & (LPARAM(1) << 30)) != 0;
    if (repeat) {
        const Command* command = command_of_key(message->wParam);
        if (command != nullptr && !command->repeats) {
            return true;
        }
    }
    return TranslateAcceleratorW(main_window.handle, main_window.accelerator_table.get(),
                                 message) != 0;
}

HACCEL create_accelerators() {
    ACCEL table[std::size(commands) * command_keys_max];
    int count = 0;
    for (const Command& command : commands) {
        for (const CommandKey& key : command.keys) {
            if (key.code != 0) {
                table[count++] = {BYTE(FVIRTKEY | key.modifiers), key.code, WORD(command.id)};
            }
        }
    }
    return CreateAcceleratorTableW(table, count);
}
