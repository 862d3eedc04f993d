// The main window procedure: routing of every message, the status state
// machine, the one-shot timers and the reaction to worker reports.
// User-interface thread only.

#include <windows.h>

#include <dbt.h>

#include "app/camera_controls_win.h"
#include "app/commands_win.h"
#include "app/context_menu_win.h"
#include "app/main_window.h"
#include "app/window_calls.h"
#include "audio/sound_menu_win.h"
#include "base/command_ids.h"
#include "base/geometry_win.h"
#include "capture/camera_select.h"
#include "capture/capture.h"
#include "layout/see_through_win.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"
#include "layout/view_modes.h"
#include "layout/window_shape.h"
#include "layout/window_sizing.h"
#include "settings/settings_file.h"
#include "view/mouse_navigation.h"
#include "view/paint.h"
#include "view/picture_save_win.h"
#include "view/shown_picture.h"

MainWindow main_window;
Settings settings;

namespace {

UINT timer_interval(UINT_PTR id) {
    return id == TIMER_RESCAN ? 3000 : id == TIMER_POINTER ? 2000 : 1000;
}

void on_create(HWND window) {
    main_window.handle = window;
    main_window.dpi = GetDpiForWindow(window);
    status_font_create();
    toolbar_create(window);
    toolbar_show(toolbar_shown());
    toolbar_update_pin(settings.on_top);
    toolbar_update_zoom_label(view_zoom_percent(settings.view));
    relayout();
    shape_update_region();
    see_through_create();
    info_line_start();
    camera_notifications_register(window);
    rescan_cameras();
}

void on_destroy() {
    see_through_destroy();
    camera_notifications_unregister();
    KillTimer(main_window.handle, TIMER_SAVE);
    remember_window_rect();
    settings_save(settings);
    main_window.full_screen = FullScreen{}; // never remembered: a next window starts as saved
    unfreeze_picture();
    picture_save_finish_within(picture_save_close_wait_ms);
    sound_close();
    // A driver that never returns must not keep the process, and with it the
    // single-instance mutex, for ever: app_run leaves without the threads
    // that are still inside one.
    capture_stop_all_within(capture_close_wait_ms);
    PostQuitMessage(0);
}

// The camera list's notifications; the other WM_COMMANDs are the table's.
void on_camera_notification(WORD code) {
    if (code == CBN_SELCHANGE) {
        on_camera_selection_change();
    } else if (code == CBN_CLOSEUP) {
        on_camera_list_closed();
    }
}

void on_worker_report(WPARAM wparam, LPARAM lparam) {
    const auto code = static_cast<int32_t>(wparam);
    if (code == CaptureStreaming) {
        set_status(StatusStreaming);
        return;
    }
    camera_controls_close();
    end_freeze();
    capture_stop_if_running();
    main_window.capture_active = 0;
    main_window.last_capture_error = static_cast<HRESULT>(static_cast<int32_t>(lparam));
    switch (code) {
    case CaptureAccessDenied:
        set_status(StatusAccessDenied);
        break;
    case CaptureBusy:
        set_status(StatusInUse);
        break;
    case CaptureLost:
        set_status(StatusWaiting);
        break;
    default:
        set_status(StatusFailed);
        break;
    }
    arm_timer(TIMER_RESCAN);
}

} // namespace

void arm_timer(UINT_PTR id) {
    SetTimer(main_window.handle, id, timer_interval(id), nullptr);
}

RECT video_area_rect() {
    RECT client;
    GetClientRect(main_window.handle, &client);
    return win_rect(video_area_of(pixel_rect(client), main_window.dpi, toolbar_shown()));
}

namespace {

// Shows the settings button exactly while access is denied; returns the area.
RECT place_settings_button() {
    const RECT area = video_area_rect();
    toolbar_place_settings_button(main_window.status == StatusAccessDenied, area, main_window.dpi);
    return area;
}

} // namespace

void set_status(StatusState new_status) {
    main_window.status = new_status;
    const RECT area = place_settings_button();
    InvalidateRect(main_window.handle, &area, FALSE);
    sound_follow_camera();
}

void relayout() {
    toolbar_layout(main_window.handle, main_window.dpi);
    place_settings_button();
    InvalidateRect(main_window.handle, nullptr, FALSE);
}

void on_view_changed() {
    toolbar_update_zoom_label(view_zoom_percent(settings.view));
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
    arm_timer(TIMER_SAVE);
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        on_create(window);
        return 0;
    case WM_DESTROY:
        on_destroy();
        return 0;
    case WM_SIZE:
        relayout();
        return 0;
    case WM_PAINT:
        paint_main_window(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENDSESSION:
        if (wparam != 0) {
            settings_save(settings);
        }
        return 0;
    case WM_SETCURSOR:
        if (full_screen_set_cursor() || navigation_set_cursor(wparam, lparam)) {
            return TRUE;
        }
        break;
    case WM_GETMINMAXINFO:
        if (main_window.handle != nullptr) {
            on_get_min_max_info(reinterpret_cast<MINMAXINFO*>(lparam));
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED:
        remember_window_rect();
        shape_window_pos_changed(reinterpret_cast<const WINDOWPOS*>(lparam));
        break;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDC_CAMERA) {
            on_camera_notification(HIWORD(wparam));
            return 0;
        }
        if (run_command(LOWORD(wparam))) {
            return 0;
        }
        break;
    case WM_TIMER:
        KillTimer(window, wparam);
        if (wparam == TIMER_SAVE) {
            settings_save(settings);
        } else if (wparam == TIMER_POINTER) {
            full_screen_pointer_timer();
        } else if (wparam == TIMER_SAVE_TIP) {
            hide_save_tip();
        } else {
            rescan_cameras();
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        return on_ctl_color_static(reinterpret_cast<HDC>(wparam));
    case WM_MOUSEMOVE:
        if (main_window.full_screen.on) {
            full_screen_pointer_moved(lparam);
        }
        navigation_mouse_move(lparam);
        return 0;
    case WM_LBUTTONDOWN:
        navigation_button_down(wparam, lparam);
        return 0;
    case WM_CONTEXTMENU:
        if (on_context_menu(lparam)) {
            return 0;
        }
        break;
    case WM_KEYDOWN:
        // Esc means something only in full screen; elsewhere it stays the
        // controls' (it closes the dropped camera list).
        if (wparam == VK_ESCAPE && main_window.full_screen.on) {
            run_command(IDC_FULL_SCREEN);
            return 0;
        }
        break;
    case WM_NCCALCSIZE:
        if (frameless()) {
            return 0; // the whole window is client area
        }
        break;
    case WM_NCHITTEST:
        if (settings.compact != 0 && !main_window.full_screen.on && main_window.handle != nullptr) {
            return compact_hit_test(lparam);
        }
        break;
    case WM_LBUTTONUP:
        navigation_button_up();
        return 0;
    case WM_LBUTTONDBLCLK:
        navigation_double_click(lparam);
        return 0;
    case WM_MOUSEWHEEL:
        navigation_wheel(wparam, lparam);
        return 0;
    case WM_SIZING:
        on_sizing(wparam, reinterpret_cast<RECT*>(lparam));
        return TRUE;
    case WM_CAPTURECHANGED:
        navigation_capture_changed();
        return 0;
    case WM_DEVICECHANGE:
        if (wparam == DBT_DEVICEARRIVAL || wparam == DBT_DEVICEREMOVECOMPLETE ||
            wparam == DBT_DEVNODES_CHANGED) {
            arm_timer(TIMER_DEVICE_CHANGE);
        }
        return TRUE;
    case WM_DISPLAYCHANGE:
        full_screen_refit();
        break;
    case WM_DPICHANGED:
        on_dpi_changed(wparam, reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_APP_FRAME:
        on_app_frame();
        return 0;
    case WM_APP_STATUS:
        on_worker_report(wparam, lparam);
        return 0;
    case WM_APP_SOUND:
        on_sound_end(wparam, lparam);
        return 0;
    case WM_APP_PICTURE_SAVED:
        on_picture_saved(wparam);
        return 0;
    default:
        if (on_click_through_message(message, wparam, lparam)) {
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
