#pragma once
// One native camera format as the user picks it and the settings remember
// it, the text of its settings line, and the list the format menu shows.
// Platform-free: the Windows side reads the numbers out of IMFMediaType.

#include <cstddef>
#include <cstdint>

#include "capture/format_rules.h"

// The subtype is the first field of its Media Foundation GUID: a FOURCC, or
// the Direct3D format number for the RGB types. The other fields are the
// same for every video subtype.
inline constexpr uint32_t subtype_code_nv12 = 0x3231564E;
inline constexpr uint32_t subtype_code_yuy2 = 0x32595559;
inline constexpr uint32_t subtype_code_rgb32 = 22;
inline constexpr uint32_t subtype_code_mjpg = 0x47504A4D;
inline constexpr uint32_t subtype_code_h264 = 0x34363248;
inline constexpr uint32_t subtype_code_hevc = 0x43564548;

// All zero: none chosen, the built-in choice runs. A rate of n/0 is a type
// without one.
struct CameraFormat {
    uint32_t width;
    uint32_t height;
    uint32_t rate_numerator;
    uint32_t rate_denominator;
    uint32_t subtype;
};

bool camera_format_is_set(const CameraFormat& format);
// The same native type: sizes and subtype equal, and the same rate however
// the fraction is written.
bool same_camera_format(const CameraFormat& a, const CameraFormat& b);
SubtypeKind subtype_kind_of_code(uint32_t code);
FormatTraits camera_format_traits(const CameraFormat& format);

// "NV12", "YUY2", "RGB32", "MJPG", "H264", "HEVC", or else the code as 8
// upper-case hex digits; `name` holds at least 9 bytes.
void subtype_name(uint32_t code, char* name);

// Reads one of those names, or 8 hex digits of either case.
bool parse_subtype_name(const char* text, size_t count, uint32_t* code);

// The settings value "3840x2160@30000/1001,MJPG". Returns the full length;
// the text is complete when it is less than `capacity`.
size_t camera_format_text(const CameraFormat& format, char* buffer, size_t capacity);
// Reads such a value (not NUL-terminated, `count` bytes); false, leaving
// `out` alone, for anything else, sizes or a rate of zero included.
bool parse_camera_format(const char* value, size_t count, CameraFormat* out);

// The distinct native formats of a camera in menu order: the largest picture
// first, then the higher rate, then the preferred subtype. A camera with
// more than fit keeps the first ones in that order.
inline constexpr int32_t format_list_max = 96;
struct FormatList {
    CameraFormat formats[format_list_max];
    int32_t count;
};
void format_list_add(FormatList& list, const CameraFormat& format);
// The row of `format`, or -1.
int32_t format_list_find(const FormatList& list, const CameraFormat& format);

// A menu row, "3840 × 2160, 29.97 fps, MJPG", and the first row,
// "Automatic (1280 × 720, 30 fps, NV12)" or "Automatic" when nothing is
// known. Cut to fit `capacity` (at least 1) units.
void format_row_text(const CameraFormat& format, wchar_t* text, size_t capacity);
void automatic_row_text(const CameraFormat& chosen, wchar_t* text, size_t capacity);
