#include "capture/format_rules.h"

int subtype_kind_preference(SubtypeKind kind) {
    switch (kind) {
    case SubtypeKind::NV12:
        return 0;
    case SubtypeKind::YUY2:
    case SubtypeKind::RGB32:
        return 1;
    case SubtypeKind::MJPG:
        return 2;
    case SubtypeKind::Other:
        break;
    }
    return 3;
}

double frame_rate_from_ratio(uint32_t numerator, uint32_t denominator) {
    if (denominator == 0) {
        return 0.0;
    }
    return double(numerator) / double(denominator);
}

bool format_within_limits(const FormatTraits& format) {
    return format.width >= 1 && format.width <= format_max_width && format.height >= 1 &&
           format.height <= format_max_height;
}

bool meets_rate(double fps) {
    return fps >= format_min_smooth_fps;
}

bool format_beats(const FormatTraits& candidate, const FormatTraits& best) {
    const bool candidate_smooth = meets_rate(candidate.fps);
    if (candidate_smooth != meets_rate(best.fps)) {
        return candidate_smooth;
    }
    const uint64_t candidate_area = uint64_t{candidate.width} * candidate.height;
    const uint64_t best_area = uint64_t{best.width} * best.height;
    if (candidate_area > best_area) {
        return true;
    }
    if (candidate_area < best_area) {
        return false;
    }
    if (candidate.fps > best.fps) {
        return true;
    }
    if (candidate.fps < best.fps) {
        return false;
    }
    return candidate.preference < best.preference;
}

bool format_is_refused(const FormatRefusals& refusals, uint32_t index) {
    for (int32_t i = 0; i < refusals.count; ++i) {
        if (refusals.index[i] == index) {
            return true;
        }
    }
    return false;
}

bool format_refuse(FormatRefusals& refusals, uint32_t index) {
    if (refusals.count >= format_max_refusals) {
        return false;
    }
    refusals.index[refusals.count++] = index;
    return true;
}
