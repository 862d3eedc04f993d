#pragma once
// The camera settings window: one row per control the running camera
// reports (name, slider, value, Auto) and a Defaults button. A tool window
// owned by the main window, built in code; it keeps no value of its own and
// sets none but those the user asks for. User-interface thread only: the
// calls into the camera are its control thread's
// (capture/camera_controls_thread.h), and the window shows itself once that
// thread has read the controls.

#include <windows.h>

#include "base/owned_win.h"
#include "capture/camera_controls.h"
#include "capture/camera_controls_thread.h"

struct ControlsRowWindows {
    HWND name;
    HWND slider;
    HWND value;
    HWND auto_box; // null when the control cannot be automatic
};

struct CameraControlsWindow {
    HWND window; // null while closed
    HWND defaults;
    HWND note;  // the text in place of rows, or that the camera does not answer
    HWND focus; // the control that had the focus when the window was left
    OwnedFont font;
    UINT dpi;
    int32_t row_count;
    ControlRow rows[control_kind_count];
    ControlsRowWindows row_windows[control_kind_count];
    int32_t asked[control_kind_count]; // by row: the value last asked for, else as read
    // Shared with the control thread, and that thread, until the window
    // closes or gives the thread up; then null.
    std::shared_ptr<ControlCalls> calls;
    HANDLE calls_thread;
    bool silent; // the thread was given up on: the rows are greyed
};

inline constexpr wchar_t camera_controls_class_name[] = L"TaviskoCameraSettings";
inline constexpr wchar_t camera_controls_silent_text[] = L"The camera does not answer.";

// The menu's "Camera settings…": opens the window for the streaming camera,
// or brings the open one forward.
void camera_controls_open();
// When the capture ends or another camera is picked.
void camera_controls_close();
// The window's keyboard (Tab, arrows, Esc), from the message loop before the
// accelerators; true when the message was taken.
bool camera_controls_dialog_message(MSG* message);
