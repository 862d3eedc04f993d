#pragma once
// The camera list, the combo box that shows it, and the choice of the camera
// to run. User-interface thread only.

#include <windows.h>

#include <cstdint>

#include "capture/camera_list.h"

// The cameras found by the last scan, in the order the list shows them.
struct CameraList {
    CameraEntry cameras[max_cameras];
    int32_t camera_count;
    bool scan_owed; // a scan came while the user had the list open
};

extern CameraList camera_list;

// Device notifications for camera arrivals and removals, for the window's
// life.
void camera_notifications_register(HWND window);
void camera_notifications_unregister();

int32_t enumerate_cameras(CameraEntry* entries, int32_t maximum);
// Rebuilds the combo box; with `absent_name`, adds and selects a
// "(disconnected)" row for it.
void fill_camera_combo(const CameraEntry* list, int32_t count, int32_t selected,
                       const char* absent_name);
int32_t selected_camera_index();
void switch_to_camera(int32_t index);
// Stops the running camera and starts it again on settings.format; nothing
// when no camera runs (the next start takes the format).
void restart_capture();
// Waits while the combo box's list is open; the list's closing runs it.
void rescan_cameras();
// The combo box's CBN_CLOSEUP.
void on_camera_list_closed();
// The combo box's CBN_SELCHANGE.
void on_camera_selection_change();
