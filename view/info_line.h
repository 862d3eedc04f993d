#pragma once
// The info line over the picture: what the camera delivers (size, encoding,
// the rate its time stamps show, frames dropped) and how often the window
// shows a new frame. Platform-free; the figures come from the capture worker
// and the window's own paints.

#include <cstddef>
#include <cstdint>

#include "base/geometry.h"

inline constexpr size_t info_line_units = 128;

struct InfoFigures {
    int32_t width; // the delivered picture
    int32_t height;
    uint32_t subtype;    // the native type's subtype code; 0 when the camera did not say
    int32_t rate_centi;  // frames a second the stamps show, in hundredths; -1 not yet known
    int32_t shown_centi; // new frames painted a second, in hundredths; -1 not yet known
    int64_t dropped;
    bool frozen;        // nothing new is shown, so the shown rate gives way to "frozen"
    bool sound = false; // the camera's sound plays, so its glitches are named too
    int64_t sound_glitches = 0;
};

// "1920 × 1080 NV12 · 59.94 fps · shown 59.94 · 0 dropped", and while sound
// plays " · 2 sound glitches" after it. A rate not yet known reads "…".
// Always terminated; returns false when it had to be cut.
bool format_info_line(const InfoFigures& figures, wchar_t* out, size_t capacity);

// The line's box around a measured text of text_width x text_height: the
// area's top-left corner, 8 units in, 6 units of padding across and 3 down,
// kept inside the area.
PixelRect info_line_box(const PixelRect& area, int32_t text_width, int32_t text_height,
                        uint32_t dpi);
