#pragma once
// The picture as the window shows it: turned and mirrored by the settings,
// and live or frozen (a copy of the frame on screen that painting, the
// gestures and copying use while the camera runs on). User-interface thread
// only.

#include <windows.h>

#include <cstdint>

#include "base/owned_win.h"
#include "capture/capture.h"
#include "view/picture_turn.h"

struct FrozenPicture {
    bool on;
    HeapBlock<uint8_t> pixels; // the copy, while on
    int32_t width;
    int32_t height;
};

// Holds the frame now in the store; false (nothing held) without one.
bool freeze_picture();
// Lets the frozen copy go; the live picture shows again at once.
void unfreeze_picture();

// The picture the window shows, for a scope: the frozen copy, or the newest
// frame with capture_lock held. `held` says whether there is one.
struct ShownPicture {
    FramePeek frame;
    bool held;
    bool locked;
    ShownPicture();
    ~ShownPicture();
    ShownPicture(const ShownPicture&) = delete;
    ShownPicture& operator=(const ShownPicture&) = delete;
};

// How the picture is turned and mirrored, from the settings.
PictureTurn picture_turn();

// The commands: a quarter turn clockwise (+1) or anticlockwise (-1), which
// refits the window to the turned picture; freezing, only while a picture
// streams, and back to live.
void toggle_mirror();
void turn_picture(int32_t by);
void toggle_freeze();
// The capture ended or another camera was picked: the live picture again.
void end_freeze();
