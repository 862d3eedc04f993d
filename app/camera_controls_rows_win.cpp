// The camera settings window's rows and their layout: the child windows
// made for the controls as read, placed and given a font for the DPI.
// User-interface thread only.

#include "app/camera_controls_rows_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "app/main_window.h"
#include "layout/camera_controls_layout.h"

namespace {

HWND make_child(const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                           main_window.camera_controls.window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void place(HWND control, const ControlPlace& at) {
    if (control != nullptr) {
        MoveWindow(control, at.x, at.y, at.width, at.height, TRUE);
    }
}

void create_rows() {
    for (int32_t i = 0; i < main_window.camera_controls.row_count; ++i) {
        const ControlRow& row = main_window.camera_controls.rows[i];
        ControlsRowWindows& w = main_window.camera_controls.row_windows[i];
        w.name = make_child(L"STATIC", control_kinds[row.kind].label, SS_LEFT | SS_NOPREFIX, -1);
        w.slider = make_child(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS,
                              camera_controls_first_slider_id + i);
        SendMessageW(w.slider, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageW(w.slider, TBM_SETRANGEMAX, TRUE, row.last_position);
        SendMessageW(w.slider, TBM_SETLINESIZE, 0, 1);
        SendMessageW(w.slider, TBM_SETPAGESIZE, 0, std::max(row.last_position / 10, 1));
        w.value = make_child(L"STATIC", L"", SS_RIGHT | SS_NOPREFIX, -1);
        if (control_has_auto(row.range)) {
            w.auto_box = make_child(L"BUTTON", L"Auto", WS_TABSTOP | BS_AUTOCHECKBOX,
                                    camera_controls_first_auto_id + i);
        }
        show_row(i);
    }
    if (main_window.camera_controls.row_count > 0) {
        main_window.camera_controls.defaults = make_child(
            L"BUTTON", L"Defaults", WS_TABSTOP | BS_PUSHBUTTON, camera_controls_defaults_id);
    } else {
        main_window.camera_controls.note =
            make_child(L"STATIC", L"This camera offers no settings.", SS_LEFT | SS_NOPREFIX, -1);
    }
}

} // namespace

void show_row(int32_t i) {
    const ControlRow& row = main_window.camera_controls.rows[i];
    const ControlsRowWindows& w = main_window.camera_controls.row_windows[i];
    SendMessageW(w.slider, TBM_SETPOS, TRUE, control_position_of(row, row.value));
    EnableWindow(w.slider, !row.automatic && row.last_position > 0);
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", int(row.value));
    SetWindowTextW(w.value, text);
    if (w.auto_box != nullptr) {
        SendMessageW(w.auto_box, BM_SETCHECK, row.automatic ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void apply_dpi(UINT dpi) {
    main_window.camera_controls.dpi = dpi;
    // The old font stays until the controls have the new one.
    const OwnedFont old_font = std::move(main_window.camera_controls.font);
    main_window.camera_controls.font.reset(
        CreateFontW(font_height(9, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
    for (int32_t i = 0; i < main_window.camera_controls.row_count; ++i) {
        const ControlsRowWindows& w = main_window.camera_controls.row_windows[i];
        const ControlsRowPlaces at = controls_row_places(i, dpi);
        place(w.name, at.name);
        place(w.slider, at.slider);
        place(w.value, at.value);
        place(w.auto_box, at.auto_box);
    }
    place(main_window.camera_controls.defaults,
          controls_window_places(main_window.camera_controls.row_count, dpi).defaults);
    place(main_window.camera_controls.note,
          controls_note_place(main_window.camera_controls.row_count, dpi));
    EnumChildWindows(
        main_window.camera_controls.window,
        [](HWND child, LPARAM font) {
            SendMessageW(child, WM_SETFONT, WPARAM(font), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(main_window.camera_controls.font.get()));
}

void fit_window(int32_t x, int32_t y, UINT dpi) {
    const ControlsWindowPlaces places =
        controls_window_places(main_window.camera_controls.row_count, dpi);
    RECT r{0, 0, places.client_width, places.client_height};
    AdjustWindowRectExForDpi(&r, camera_controls_style, FALSE, camera_controls_ex_style, dpi);
    const int32_t width = r.right - r.left;
    const int32_t height = r.bottom - r.top;
    SetWindowPos(main_window.camera_controls.window, nullptr, x, y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame does not follow the DPI (a process that is only
    // per-monitor aware, not V2), the client came out another size: the
    // difference is made up.
    RECT client;
    GetClientRect(main_window.camera_controls.window, &client);
    const int32_t more_width = places.client_width - client.right;
    const int32_t more_height = places.client_height - client.bottom;
    if (more_width != 0 || more_height != 0) {
        SetWindowPos(main_window.camera_controls.window, nullptr, 0, 0, width + more_width,
                     height + more_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void show_window(int32_t row_count, const ControlRow* rows) {
    CameraControlsWindow& w = main_window.camera_controls;
    w.row_count = row_count;
    for (int32_t i = 0; i < row_count; ++i) {
        w.rows[i] = rows[i];
        w.asked[i] = rows[i].value;
    }
    create_rows();
    const UINT dpi = main_window.dpi;
    apply_dpi(dpi);
    // Over the main window's top-left corner, a little inside it.
    RECT owner;
    GetWindowRect(main_window.handle, &owner);
    const int32_t offset = scale_units(48, dpi);
    fit_window(owner.left + offset, owner.top + offset, dpi);
    ShowWindow(w.window, SW_SHOWNORMAL);
    const HWND first = GetNextDlgTabItem(w.window, nullptr, FALSE);
    SetFocus(first != nullptr ? first : w.window);
}

void show_silent() {
    CameraControlsWindow& w = main_window.camera_controls;
    if (!IsWindowVisible(w.window)) {
        show_window(0, nullptr); // the controls were never read
    }
    EnumChildWindows(
        w.window,
        [](HWND child, LPARAM) {
            EnableWindow(child, FALSE);
            return TRUE;
        },
        0);
    if (w.note == nullptr) {
        w.note = make_child(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, -1);
    }
    EnableWindow(w.note, TRUE);
    SetWindowTextW(w.note, camera_controls_silent_text);
    apply_dpi(w.dpi); // places the note and gives it the font
    w.focus = nullptr;
    if (IsChild(w.window, GetFocus())) {
        SetFocus(w.window);
    }
}
