#include "app/camera_controls_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "app/main_window.h"
#include "base/text_win.h"
#include "layout/camera_controls_layout.h"

namespace {

constexpr DWORD window_style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD window_ex_style = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
constexpr int defaults_id = 100;
constexpr int first_slider_id = 200;
constexpr int first_auto_id = 300;
// While the control thread has calls to make: how often the window looks
// whether one has stuck.
constexpr UINT_PTR calls_timer = 1;
constexpr UINT calls_timer_ms = 200;

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

// Shows a row as it is known: the slider at its value, greyed while the
// camera has it or while there is nothing to move.
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

// Hands a Set to the control thread; the row shows its answer.
void ask(int32_t i, int32_t value, int32_t flags) {
    CameraControlsWindow& w = main_window.camera_controls;
    if (w.calls != nullptr) {
        control_calls_set(w.calls.get(), {w.rows[i].kind, value, flags});
        SetTimer(w.window, calls_timer, calls_timer_ms, nullptr);
    }
}

// What the camera reported after a Set. A Set that failed (the device went
// away) leaves the row as it was.
void take_set_answer(int32_t i, const ControlSetResult& answer) {
    ControlRow& row = main_window.camera_controls.rows[i];
    if (SUCCEEDED(answer.set_result)) {
        row.value = answer.set.flags == control_flag_manual ? answer.set.value : row.value;
        row.automatic = answer.set.flags == control_flag_auto;
        if (answer.read) {
            row.value = answer.value;
            row.automatic = (answer.flags & control_flag_auto) != 0;
        }
    }
    main_window.camera_controls.asked[i] = row.value;
    show_row(i);
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

// Sizes the window around its rows at `dpi`, its top-left corner at x, y.
void fit_window(int32_t x, int32_t y, UINT dpi) {
    const ControlsWindowPlaces places =
        controls_window_places(main_window.camera_controls.row_count, dpi);
    RECT r{0, 0, places.client_width, places.client_height};
    AdjustWindowRectExForDpi(&r, window_style, FALSE, window_ex_style, dpi);
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

void create_rows() {
    for (int32_t i = 0; i < main_window.camera_controls.row_count; ++i) {
        const ControlRow& row = main_window.camera_controls.rows[i];
        ControlsRowWindows& w = main_window.camera_controls.row_windows[i];
        w.name = make_child(L"STATIC", control_kinds[row.kind].label, SS_LEFT | SS_NOPREFIX, -1);
        w.slider = make_child(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS,
                              first_slider_id + i);
        SendMessageW(w.slider, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageW(w.slider, TBM_SETRANGEMAX, TRUE, row.last_position);
        SendMessageW(w.slider, TBM_SETLINESIZE, 0, 1);
        SendMessageW(w.slider, TBM_SETPAGESIZE, 0, std::max(row.last_position / 10, 1));
        w.value = make_child(L"STATIC", L"", SS_RIGHT | SS_NOPREFIX, -1);
        if (control_has_auto(row.range)) {
            w.auto_box =
                make_child(L"BUTTON", L"Auto", WS_TABSTOP | BS_AUTOCHECKBOX, first_auto_id + i);
        }
        show_row(i);
    }
    if (main_window.camera_controls.row_count > 0) {
        main_window.camera_controls.defaults =
            make_child(L"BUTTON", L"Defaults", WS_TABSTOP | BS_PUSHBUTTON, defaults_id);
    } else {
        main_window.camera_controls.note =
            make_child(L"STATIC", L"This camera offers no settings.", SS_LEFT | SS_NOPREFIX, -1);
    }
}

// The rows as the control thread read them: the window is built around
// them and shown.
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

// A call has not come back within the stop's bound: the thread is left to
// it, the rows are greyed and the window says why. Nothing is asked again.
void give_up() {
    CameraControlsWindow& w = main_window.camera_controls;
    KillTimer(w.window, calls_timer);
    control_calls_end(w.calls.get(), w.calls_thread);
    w.calls = nullptr;
    w.calls_thread = nullptr;
    w.silent = true;
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

// WM_APP_CAMERA_CONTROLS: the control thread's answers. A Set's answer is
// out of date when another Set of its control is waiting or being made.
void on_answers() {
    CameraControlsWindow& w = main_window.camera_controls;
    if (w.calls == nullptr) {
        return;
    }
    ControlResults answers;
    bool busy[control_kind_count];
    control_calls_take(w.calls.get(), &answers, busy);
    if (answers.rows_read) {
        show_window(answers.row_count, answers.rows);
    }
    for (int32_t i = 0; i < w.row_count; ++i) {
        const int32_t kind = w.rows[i].kind;
        if (answers.set_made[kind] && !busy[kind]) {
            take_set_answer(i, answers.sets[kind]);
        }
    }
}

void on_calls_timer() {
    CameraControlsWindow& w = main_window.camera_controls;
    const ControlCallsState state =
        w.calls != nullptr ? control_calls_state(w.calls.get()) : ControlCallsState::Idle;
    if (state == ControlCallsState::Stuck) {
        give_up();
    } else if (state == ControlCallsState::Idle) {
        KillTimer(w.window, calls_timer);
    }
}

void on_command(WPARAM wparam) {
    const int id = LOWORD(wparam);
    if (id == IDCANCEL) {
        DestroyWindow(main_window.camera_controls.window);
    } else if (id == defaults_id) {
        for (int32_t i = 0; i < main_window.camera_controls.row_count; ++i) {
            const ControlRange& range = main_window.camera_controls.rows[i].range;
            main_window.camera_controls.asked[i] = range.default_value;
            ask(i, range.default_value, control_default_flags(range));
        }
    } else if (id >= first_auto_id && id < first_auto_id + main_window.camera_controls.row_count &&
               HIWORD(wparam) == BN_CLICKED) {
        const int32_t i = id - first_auto_id;
        const bool ticked = SendMessageW(main_window.camera_controls.row_windows[i].auto_box,
                                         BM_GETCHECK, 0, 0) == BST_CHECKED;
        main_window.camera_controls.asked[i] = main_window.camera_controls.rows[i].value;
        ask(i, main_window.camera_controls.rows[i].value,
            ticked ? control_flag_auto : control_flag_manual);
    }
}

// A slider moved (by the mouse or the keyboard): its value is asked for at
// once; while it is dragged, a value not yet sent gives way to the next.
void on_slider(HWND slider) {
    CameraControlsWindow& w = main_window.camera_controls;
    for (int32_t i = 0; i < w.row_count; ++i) {
        const ControlRow& row = w.rows[i];
        if (w.row_windows[i].slider != slider) {
            continue;
        }
        const auto position = int32_t(SendMessageW(slider, TBM_GETPOS, 0, 0));
        const int32_t value = control_value_at(row, position);
        if (value != w.asked[i] && !row.automatic) {
            w.asked[i] = value;
            ask(i, value, control_flag_manual);
        }
        return;
    }
}

LRESULT CALLBACK controls_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        on_command(wparam);
        return 0;
    case WM_HSCROLL:
        on_slider(reinterpret_cast<HWND>(lparam));
        return 0;
    case WM_ACTIVATE:
        // The focus goes back to the control that had it, as in a dialog.
        if (LOWORD(wparam) == WA_INACTIVE) {
            main_window.camera_controls.focus = GetFocus();
        } else if (main_window.camera_controls.focus != nullptr &&
                   IsChild(window, main_window.camera_controls.focus)) {
            SetFocus(main_window.camera_controls.focus);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        apply_dpi(HIWORD(wparam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
        fit_window(suggested->left, suggested->top, HIWORD(wparam));
        return 0;
    }
    case WM_APP_CAMERA_CONTROLS:
        on_answers();
        return 0;
    case WM_TIMER:
        if (wparam == calls_timer) {
            on_calls_timer();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        if (main_window.camera_controls.calls != nullptr) {
            control_calls_end(main_window.camera_controls.calls.get(),
                              main_window.camera_controls.calls_thread);
        }
        main_window.camera_controls =
            CameraControlsWindow{}; // the font goes: its controls are gone
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool register_class() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), camera_controls_class_name, &wc)) {
        return true;
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = controls_window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = camera_controls_class_name;
    return RegisterClassExW(&wc) != 0;
}

} // namespace

void camera_controls_open() {
    CameraControlsWindow& w = main_window.camera_controls;
    if (w.window != nullptr) {
        // While its controls are read it shows itself once they are in.
        if (IsWindowVisible(w.window)) {
            ShowWindow(w.window, SW_SHOWNORMAL);
            SetForegroundWindow(w.window);
        }
        return;
    }
    if (main_window.status != StatusStreaming || !register_class()) {
        return;
    }
    wchar_t name[camera_name_size];
    to_utf16(settings.camera_name, name, int(camera_name_size));
    wchar_t title[camera_name_size + 32];
    std::swprintf(title, camera_name_size + 32, L"Camera settings \u2013 %ls", name);
    w.window =
        CreateWindowExW(window_ex_style, camera_controls_class_name, title, window_style, 0, 0, 10,
                        10, main_window.handle, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (w.window == nullptr) {
        return;
    }
    w.calls = control_calls_start(w.window, &w.calls_thread);
    if (w.calls == nullptr) {
        DestroyWindow(w.window);
        return;
    }
    SetTimer(w.window, calls_timer, calls_timer_ms, nullptr);
}

void camera_controls_close() {
    if (main_window.camera_controls.window != nullptr) {
        DestroyWindow(main_window.camera_controls.window);
    }
}

bool camera_controls_dialog_message(MSG* message) {
    return main_window.camera_controls.window != nullptr &&
           IsDialogMessageW(main_window.camera_controls.window, message) != 0;
}
