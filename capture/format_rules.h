#pragma once
// How one native camera format is compared with another. Platform-free: the
// Windows side reads the numbers out of IMFMediaType and asks these rules.

#include <cstdint>

// What the choice keeps of one native type.
struct FormatTraits {
    uint32_t width;
    uint32_t height;
    double fps;
    int preference; // subtype preference, lower is better (0..3)
};

enum class SubtypeKind { NV12, YUY2, RGB32, MJPG, Other };

inline constexpr uint32_t format_max_width = 1920;
inline constexpr uint32_t format_max_height = 1080;
inline constexpr double format_min_smooth_fps = 24.9;

int subtype_kind_preference(SubtypeKind kind);

// MF_MT_FRAME_RATE packs the numerator in the high and the denominator in the
// low 32 bits; a zero denominator counts as 0 fps.
double frame_rate_from_ratio(uint32_t numerator, uint32_t denominator);

bool format_within_limits(const FormatTraits& format);
bool meets_rate(double fps);

// True when `candidate` should replace `best`: the first rule that tells them
// apart decides (smooth rate, then area, then rate, then subtype); on a full
// tie the earlier format stays.
bool format_beats(const FormatTraits& candidate, const FormatTraits& best);

// The native types a source reader refused to turn into RGB32 in one run, by
// index, so the next choice leaves them out. Bounded: a camera that offers
// more refusals than this is given up on.
inline constexpr int32_t format_max_refusals = 32;
struct FormatRefusals {
    uint32_t index[format_max_refusals];
    int32_t count;
};
bool format_is_refused(const FormatRefusals& refusals, uint32_t index);
// Adds `index`; false when the list is full.
bool format_refuse(FormatRefusals& refusals, uint32_t index);
