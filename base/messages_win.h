#pragma once
// The program's private window messages. Worker threads report to the main
// window, and the camera settings' control thread to its window, only by
// posting these.

#include <windows.h>

inline constexpr UINT WM_APP_FRAME = WM_APP + 1;           // a new frame is in the FrameStore
inline constexpr UINT WM_APP_STATUS = WM_APP + 2;          // wParam CaptureCode, lParam the HRESULT
inline constexpr UINT WM_APP_PICTURE_SAVED = WM_APP + 3;   // wParam the save's id
inline constexpr UINT WM_APP_CAMERA_CONTROLS = WM_APP + 4; // the control thread has answers
inline constexpr UINT WM_APP_NOTIFY_ICON = WM_APP + 5;     // the click-through icon's events
inline constexpr UINT WM_APP_SOUND = WM_APP + 6; // wParam SoundEnd, lParam the HRESULT
