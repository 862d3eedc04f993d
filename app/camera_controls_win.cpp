// The camera settings window: its procedure, the user's commands, and the
// bookkeeping of the control thread's answers. User-interface thread only.

#include "app/camera_controls_win.h"

#include <commctrl.h>

#include <cwchar>

#include "app/camera_controls_rows_win.h"
#include "app/main_window.h"
#include "base/text_win.h"

namespace {

// While the control thread has calls to make: how often the window looks
// whether one has stuck.
constexpr UINT_PTR calls_timer = 1;
constexpr UINT calls_timer_ms = 200;

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

// A call has not come back within the stop's bound: the thread is left to
// it, the rows are greyed and the window says why. Nothing is asked again.
void give_up() {
    CameraControlsWindow& w = main_window.camera_controls;
    KillTimer(w.window, calls_timer);
    control_calls_end(w.calls.get(), w.calls_thread);
    w.calls = nullptr;
    w.calls_thread = nullptr;
    w.silent = true;
    show_silent();
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
    } else if (id == camera_controls_defaults_id) {
        for (int32_t i = 0; i < main_window.camera_controls.row_count; ++i) {
            const ControlRange& range = main_window.camera_controls.rows[i].range;
            main_window.camera_controls.asked[i] = range.default_value;
            ask(i, range.default_value, control_default_flags(range));
        }
    } else if (id >= camera_controls_first_auto_id &&
               id < camera_controls_first_auto_id + main_window.camera_controls.row_count &&
               HIWORD(wparam) == BN_CLICKED) {
        const int32_t i = id - camera_controls_first_auto_id;
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
    w.window = CreateWindowExW(camera_controls_ex_style, camera_controls_class_name, title,
                               camera_controls_style, 0, 0, 10, 10, main_window.handle, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
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
