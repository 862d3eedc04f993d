#pragma once
// The user-interface thread's records: the persisted Settings and the main
// window's own record, which holds everything the window keeps between
// messages (its handle and DPI, the status state machine, the controls, the
// view modes, the gestures, the frozen picture, the saves, the camera
// settings window). Only the user-interface thread touches them; workers
// report by posting messages. The camera list and the capture's records
// live in capture/.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/camera_controls_win.h"
#include "audio/sound_menu_win.h"
#include "base/owned_win.h"
#include "base/status.h"
#include "capture/camera_select.h"
#include "capture/capture.h"
#include "layout/see_through_win.h"
#include "layout/toolbar.h"
#include "layout/view_modes.h"
#include "settings/settings.h"
#include "view/info_line_win.h"
#include "view/navigation_rules.h"
#include "view/picture_save_win.h"
#include "view/shown_picture.h"

inline constexpr wchar_t window_class_name[] = L"TaviskoWnd";
inline constexpr wchar_t window_title[] = L"Tavisko";
inline constexpr DWORD main_window_style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN; // 0x02CF0000

inline void unregister_device_notification(HDEVNOTIFY notification) {
    UnregisterDeviceNotification(notification);
}
inline void destroy_accelerator_table(HACCEL table) {
    DestroyAcceleratorTable(table);
}

struct MainWindow {
    HWND handle = nullptr; // stored first thing on WM_CREATE
    UINT dpi = 96;         // of the window; 96 until WM_CREATE
    Owned<HACCEL, destroy_accelerator_table> accelerator_table;

    StatusState status = StatusNone;   // what the video area shows
    int capture_active = 0;            // a camera was chosen and its worker has not ended
    HRESULT last_capture_error = S_OK; // carried by the last end report

    // The last frame size the window adopted; 0 until the first frame.
    int32_t known_frame_width = 0;
    int32_t known_frame_height = 0;

    Toolbar toolbar;
    FullScreen full_screen; // never remembered: every window starts as saved
    ClickThrough click_through;
    DragState drag_state;
    FrozenPicture frozen;
    CameraControlsWindow camera_controls;
    PictureSaver picture_saver;
    InfoLineState info_line{};
    SoundMenuState sound;

    // Camera arrivals and removals, for the window's life.
    Owned<HDEVNOTIFY, unregister_device_notification> camera_notifications;
    // What the last Format submenu showed, so that a choice made in it picks
    // the row the user saw even if the run has moved on since.
    std::unique_ptr<RunFormats> shown_formats;
    // The camera list as the last Camera submenu showed it, for the same
    // reason.
    std::unique_ptr<CameraList> shown_cameras;
    // The crop of a frame turned by a quarter, for the stretch: grown as
    // needed and kept for the next paint.
    HeapBlock<uint32_t> turned_pixels;
    size_t turned_capacity = 0;
};

extern MainWindow main_window;
extern Settings settings; // the persisted record, view included

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
