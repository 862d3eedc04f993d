#pragma once
// Command identifiers: the WM_COMMAND ids of the toolbar's controls and of
// the rows of the command table (app/commands_win.cpp), which holds their
// keys and texts.

inline constexpr int IDC_CAMERA = 101; // the camera list; its notifications, no command
inline constexpr int IDC_ZOOM_OUT = 102;
inline constexpr int IDC_ZOOM_IN = 103;
inline constexpr int IDC_ZOOM_RESET = 104;
inline constexpr int IDC_ON_TOP = 105;
inline constexpr int IDC_OPEN_PRIVACY = 106;
inline constexpr int IDC_MIRROR = 107;          // show the picture left-right flipped
inline constexpr int IDC_COPY_PICTURE = 108;    // the whole frame to the clipboard
inline constexpr int IDC_COMPACT = 109;         // the window is the picture alone
inline constexpr int IDC_FULL_SCREEN = 110;     // the picture on the whole monitor
inline constexpr int IDC_ROTATE_RIGHT = 111;    // a quarter turn clockwise
inline constexpr int IDC_ROTATE_LEFT = 112;     // a quarter turn anticlockwise
inline constexpr int IDC_FREEZE = 113;          // hold the picture, or show it live again
inline constexpr int IDC_SAVE_PICTURE = 114;    // the whole frame as a PNG file in Pictures
inline constexpr int IDC_CAMERA_CONTROLS = 115; // the running camera's own settings window
inline constexpr int IDC_SHAPE_RECTANGLE = 116; // the compact window's shapes
inline constexpr int IDC_SHAPE_ROUNDED = 117;
inline constexpr int IDC_SHAPE_CIRCLE = 118;
inline constexpr int IDC_SHAPE_NEXT = 119;  // the next of them, in the compact view
inline constexpr int IDC_OPACITY_100 = 120; // the whole window opaque, as it always was
inline constexpr int IDC_OPACITY_85 = 121;  // the whole window see-through
inline constexpr int IDC_OPACITY_70 = 122;
inline constexpr int IDC_OPACITY_50 = 123;
inline constexpr int IDC_CLICK_THROUGH = 124; // the mouse goes to the windows below
inline constexpr int IDC_INFO_LINE = 125; // the line of what the camera delivers, over the picture
inline constexpr int IDC_GUIDES_NONE = 126; // the guides over the picture, one or none
inline constexpr int IDC_GUIDES_GRID = 127;
inline constexpr int IDC_GUIDES_CROSSHAIR = 128;
inline constexpr int IDC_GUIDES_CENTRE = 129;
inline constexpr int IDC_SOUND_OFF = 130;              // no sound plays: the default
inline constexpr int IDC_OPEN_MICROPHONE_PRIVACY = 131; // Windows' microphone privacy page
