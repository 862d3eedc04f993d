#pragma once
// The persisted settings record and its text form. Platform-free: the reader
// and writer work on byte buffers; settings_file.h moves them to and from disk.
// One global record exists, owned by the user-interface thread.

#include <cstddef>
#include <cstdint>

#include "audio/sound_setting.h"
#include "capture/camera_format.h"
#include "view/view_model.h"

inline constexpr size_t camera_id_size = 512;
inline constexpr size_t camera_name_size = 256;

// The compact window's outline. The rectangle is the window as it always was.
enum WindowShape : int32_t {
    ShapeRectangle = 0,
    ShapeRounded = 1, // corners cut off by a 12-unit radius
    ShapeCircle = 2,  // a 1:1 window, the picture cropped to fill it
};

// The guide drawn over the picture, one at a time or none (view/guides.h).
enum GuideKind : int32_t {
    GuideNone = 0,
    GuideGrid = 1,      // two lines each way at the thirds
    GuideCrosshair = 2, // lines through the centre, two circles around it
    GuideCentre = 3,    // a small plus at the centre
};

struct Settings {
    char camera_id[camera_id_size];     // UTF-8 symbolic link, NUL-terminated
    char camera_name[camera_name_size]; // UTF-8 friendly name, NUL-terminated
    ViewState view;                     // the window's live view
    int32_t window_valid;               // 1 when the four window fields hold a rectangle
    int32_t window_x;
    int32_t window_y;
    int32_t window_w;
    int32_t window_h;
    int32_t on_top;      // zero off, anything else on
    int32_t mirror;      // zero off, anything else on; the picture shown left-right flipped
    int32_t compact;     // zero off, anything else on; the window is the picture alone
    int32_t rotation;    // clockwise quarter turns of the picture, 0..3
    int32_t shape;       // a WindowShape, shown in the compact view only
    CameraFormat format; // the native format picked for camera_id; all zero: the built-in choice
    int32_t opacity;     // percent, one of opacity_levels; 100 is opaque
    int32_t info;        // zero off, anything else on; the line of facts over the picture
    int32_t guides;      // a GuideKind, over the picture in every view
    // The audio input chosen for camera_id, its endpoint id in UTF-8; empty:
    // no sound plays.
    char sound[sound_endpoint_id_size];
};

// Bounded output: `length` counts every byte appended, even those that did
// not fit, and the last byte of `data` is always left for the terminator.
struct TextSink {
    char* data;
    size_t capacity;
    size_t length;
};

// Longest text settings_format produces for a normalised view, the mirror,
// rotation, compact, shape, opacity, info, guides, format and sound lines
// included.
inline constexpr size_t settings_text_max = 1347;
// settings_load reads at most this many bytes of the file.
inline constexpr size_t settings_file_max = 65536;

void settings_reset(Settings& settings);
// `text` is NUL-terminated, or null for the defaults.
void settings_parse(Settings& settings, const char* text);
// Returns the full length without the terminator; the text is complete
// exactly when the result is less than `capacity`.
size_t settings_format(const Settings& settings, char* buffer, size_t capacity);

bool parse_double_value(const char* value, size_t count, double* out);
bool parse_int_value(const char* value, size_t count, int32_t* out);

void text_sink_append(TextSink& sink, const char* bytes, size_t count);
void append_setting_line(TextSink& sink, const char* key, const char* value);

// Copies a NUL-terminated or counted value into a field of `field_size`
// bytes, cutting it so that the kept text never ends inside a UTF-8 sequence.
void copy_cut_utf8(char* field, size_t field_size, const char* value, size_t count);
