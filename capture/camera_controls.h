#pragma once
// A camera's own controls (brightness, focus, exposure, ...) as the driver
// reports them through IAMVideoProcAmp and IAMCameraControl, and the rules
// that turn a reported range into a slider. Platform-free: property ids and
// flags are the plain values of the VideoProcAmp_* and CameraControl_*
// enumerations of strmif.h.

#include <cstdint>
#include <string_view>

enum class ControlInterface : int32_t { VideoProcAmp = 0, CameraControl = 1 };

struct ControlKind {
    const wchar_t* label; // as the settings window shows it
    const wchar_t* key;   // as the demo's control file spells it
    ControlInterface interface_id;
    int32_t property; // the VideoProcAmp_* or CameraControl_* value
};

inline constexpr int32_t control_kind_count = 16;
// In the order the settings window lists them: the picture's controls
// first, then the lens's.
extern const ControlKind control_kinds[control_kind_count];

// The flags of GetRange's capabilities and of Get and Set.
inline constexpr int32_t control_flag_auto = 1;
inline constexpr int32_t control_flag_manual = 2;

// What GetRange reports.
struct ControlRange {
    int32_t min;
    int32_t max;
    int32_t step;
    int32_t default_value;
    int32_t caps; // control_flag_auto and/or control_flag_manual
};

// A control the driver reports, as the window shows it: the slider's
// positions 0 .. last_position stand for min, min + slider_step, ..., max.
struct ControlRow {
    int32_t kind; // index into control_kinds
    ControlRange range;
    int32_t slider_step; // the reported step, or coarser when it makes too many positions
    int32_t last_position;
    int32_t value; // as last read from or set on the camera
    bool automatic;
};

// A range a slider can show: not inverted. A step of 0 or less counts as 1,
// and a step that does not divide the span still ends on max; a single value
// (min == max) is one position. More than control_max_positions steps are
// shown in coarser ones.
inline constexpr int32_t control_max_positions = 65536;
bool control_range_usable(const ControlRange& range);
ControlRow control_row(int32_t kind, const ControlRange& range, int32_t value, int32_t flags);
// The value a position stands for, the position clamped to the slider.
int32_t control_value_at(const ControlRow& row, int32_t position);
// The position nearest to a value, the value clamped to the range.
int32_t control_position_of(const ControlRow& row, int32_t value);
bool control_has_auto(const ControlRange& range);
// The mode a control returns to with Defaults: automatic where it can be,
// which is how cameras leave the factory; manual otherwise.
int32_t control_default_flags(const ControlRange& range);

// One control of the demo's control file: NAME:MIN..MAX/STEP=DEFAULT, with
// `auto` at the end when it can be automatic (and starts so).
struct ControlOffer {
    int32_t kind;
    ControlRange range;
};
// Parses a comma-separated list of such controls into `out` (room for
// control_kind_count); returns how many were read. Malformed entries, unknown
// names and a name given again are left out. The numbers are taken as they
// are, so that a camera can report a range no slider can show.
int32_t parse_control_list(std::wstring_view text, ControlOffer* out);

// A Set the settings window asks of the camera.
struct ControlSet {
    int32_t kind;
    int32_t value;
    int32_t flags;
};
// What the settings window has asked of the camera and not yet had made:
// whether every control is to be read, and each control's latest Set. A
// Set replaces one of the same control still waiting, so that while a
// slider is dragged only where it is now is sent.
struct ControlRequests {
    bool read_all;
    bool set_waiting[control_kind_count];
    ControlSet sets[control_kind_count]; // by kind, where set_waiting
};
void control_request_set(ControlRequests& requests, const ControlSet& set);
// Takes the next Set to make, in the window's row order; false when none waits.
bool control_take_set(ControlRequests& requests, ControlSet* set);
