#include "capture/camera_controls.h"

#include <algorithm>

const ControlKind control_kinds[control_kind_count] = {
    {L"Brightness", L"brightness", ControlInterface::VideoProcAmp, 0},
    {L"Contrast", L"contrast", ControlInterface::VideoProcAmp, 1},
    {L"Hue", L"hue", ControlInterface::VideoProcAmp, 2},
    {L"Saturation", L"saturation", ControlInterface::VideoProcAmp, 3},
    {L"Sharpness", L"sharpness", ControlInterface::VideoProcAmp, 4},
    {L"Gamma", L"gamma", ControlInterface::VideoProcAmp, 5},
    {L"White balance", L"whitebalance", ControlInterface::VideoProcAmp, 7},
    {L"Backlight compensation", L"backlight", ControlInterface::VideoProcAmp, 8},
    {L"Gain", L"gain", ControlInterface::VideoProcAmp, 9},
    {L"Pan", L"pan", ControlInterface::CameraControl, 0},
    {L"Tilt", L"tilt", ControlInterface::CameraControl, 1},
    {L"Roll", L"roll", ControlInterface::CameraControl, 2},
    {L"Zoom", L"zoom", ControlInterface::CameraControl, 3},
    {L"Exposure", L"exposure", ControlInterface::CameraControl, 4},
    {L"Iris", L"iris", ControlInterface::CameraControl, 5},
    {L"Focus", L"focus", ControlInterface::CameraControl, 6},
};

bool control_range_usable(const ControlRange& range) {
    return range.min <= range.max;
}

ControlRow control_row(int32_t kind, const ControlRange& range, int32_t value, int32_t flags) {
    ControlRow row{kind, range, 1, 0, value, (flags & control_flag_auto) != 0};
    const int64_t span = control_range_usable(range) ? int64_t{range.max} - range.min : 0;
    int64_t step = std::max(range.step, 1);
    // Ceiling division: a step that does not divide the span adds max as a
    // last, shorter step.
    step = std::max(step, (span + control_max_positions - 1) / control_max_positions);
    row.slider_step = int32_t(step);
    row.last_position = int32_t((span + step - 1) / step);
    return row;
}

int32_t control_value_at(const ControlRow& row, int32_t position) {
    const int64_t p = std::clamp(position, 0, row.last_position);
    return int32_t(std::min(int64_t{row.range.min} + p * row.slider_step, int64_t{row.range.max}));
}

int32_t control_position_of(const ControlRow& row, int32_t value) {
    if (!control_range_usable(row.range)) {
        return 0;
    }
    const int64_t v = std::clamp(value, row.range.min, row.range.max);
    const auto below = int32_t((v - row.range.min) / row.slider_step);
    const int32_t above = std::min(below + 1, row.last_position);
    // The nearer of the two positions around the value; halfway goes up.
    return v - control_value_at(row, below) < control_value_at(row, above) - v ? below : above;
}

bool control_has_auto(const ControlRange& range) {
    return (range.caps & control_flag_auto) != 0;
}

int32_t control_default_flags(const ControlRange& range) {
    return control_has_auto(range) ? control_flag_auto : control_flag_manual;
}

namespace {

// An optionally signed decimal number that fits 32 bits, at the front of
// `text`; consumed from it.
bool take_number(std::wstring_view& text, int32_t& number) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == L'-';
    i += negative ? 1 : 0;
    int64_t magnitude = 0;
    const size_t first_digit = i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > int64_t{INT32_MAX} + 1) {
            return false;
        }
        ++i;
    }
    const int64_t signed_value = negative ? -magnitude : magnitude;
    if (i == first_digit || signed_value > INT32_MAX) {
        return false;
    }
    number = int32_t(signed_value);
    text.remove_prefix(i);
    return true;
}

bool take(std::wstring_view& text, std::wstring_view expected) {
    if (!text.starts_with(expected)) {
        return false;
    }
    text.remove_prefix(expected.size());
    return true;
}

bool parse_control(std::wstring_view text, ControlOffer& offer) {
    const size_t colon = text.find(L':');
    if (colon == std::wstring_view::npos) {
        return false;
    }
    const std::wstring_view name = text.substr(0, colon);
    const auto* kind = std::find_if(std::begin(control_kinds), std::end(control_kinds),
                                    [&](const ControlKind& k) { return name == k.key; });
    if (kind == std::end(control_kinds)) {
        return false;
    }
    offer.kind = int32_t(kind - std::begin(control_kinds));
    text.remove_prefix(colon + 1);
    ControlRange& r = offer.range;
    if (!take_number(text, r.min) || !take(text, L"..") || !take_number(text, r.max) ||
        !take(text, L"/") || !take_number(text, r.step) || !take(text, L"=") ||
        !take_number(text, r.default_value)) {
        return false;
    }
    r.caps = control_flag_manual;
    if (take(text, L"auto")) {
        r.caps |= control_flag_auto;
    }
    return text.empty();
}

} // namespace

int32_t parse_control_list(std::wstring_view text, ControlOffer* out) {
    int32_t count = 0;
    bool seen[control_kind_count] = {};
    while (!text.empty()) {
        const size_t comma = text.find(L',');
        ControlOffer offer{};
        if (parse_control(text.substr(0, comma), offer) && !seen[offer.kind]) {
            seen[offer.kind] = true;
            out[count++] = offer;
        }
        text.remove_prefix(comma == std::wstring_view::npos ? text.size() : comma + 1);
    }
    return count;
}

void control_request_set(ControlRequests& requests, const ControlSet& set) {
    if (set.kind >= 0 && set.kind < control_kind_count) {
        requests.sets[set.kind] = set;
        requests.set_waiting[set.kind] = true;
    }
}

bool control_take_set(ControlRequests& requests, ControlSet* set) {
    for (int32_t kind = 0; kind < control_kind_count; ++kind) {
        if (requests.set_waiting[kind]) {
            requests.set_waiting[kind] = false;
            *set = requests.sets[kind];
            return true;
        }
    }
    return false;
}
