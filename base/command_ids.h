#pragma once
// Command identifiers shared by the toolbar controls, the accelerator table
// and the main window's WM_COMMAND routing.

inline constexpr int IDC_CAMERA = 101;
inline constexpr int IDC_ZOOM_OUT = 102;
inline constexpr int IDC_ZOOM_IN = 103;
inline constexpr int IDC_ZOOM_RESET = 104;
inline constexpr int IDC_ON_TOP = 105;
inline constexpr int IDC_OPEN_PRIVACY = 106;
// Keyboard only, no control of their own.
inline constexpr int IDC_MIRROR = 107;       // Ctrl+M: show the picture left-right flipped
inline constexpr int IDC_COPY_PICTURE = 108; // Ctrl+C: the whole frame to the clipboard
// Keyboard and the picture's menu.
inline constexpr int IDC_COMPACT = 109;      // Ctrl+H: the window is the picture alone
inline constexpr int IDC_FULL_SCREEN = 110;  // F11 (Esc leaves): the picture on the whole monitor
inline constexpr int IDC_ROTATE_RIGHT = 111; // Ctrl+R: a quarter turn clockwise
inline constexpr int IDC_ROTATE_LEFT = 112;  // Ctrl+Shift+R: a quarter turn anticlockwise
inline constexpr int IDC_FREEZE = 113;       // Space: hold the picture, or show it live again
inline constexpr int IDC_SAVE_PICTURE = 114; // Ctrl+S: the whole frame as a PNG file in Pictures
// The picture's menu only.
inline constexpr int IDC_CAMERA_CONTROLS = 115; // the running camera's own settings window
inline constexpr int IDC_LAST_COMMAND = IDC_CAMERA_CONTROLS;
