#include "capture/camera_format.h"

#include "base/wide_text.h"

#include <cstdio>
#include <cstring>

namespace {

struct SubtypeName {
    uint32_t code;
    const char* name;
};
constexpr SubtypeName subtype_names[] = {
    {subtype_code_nv12, "NV12"}, {subtype_code_yuy2, "YUY2"}, {subtype_code_rgb32, "RGB32"},
    {subtype_code_mjpg, "MJPG"}, {subtype_code_h264, "H264"}, {subtype_code_hevc, "HEVC"},
};

bool rate_missing(const CameraFormat& f) {
    return f.rate_numerator == 0 || f.rate_denominator == 0;
}

// -1, 0 or 1 as a's rate is below, equal to or above b's; no rate is lowest.
int compare_rates(const CameraFormat& a, const CameraFormat& b) {
    if (rate_missing(a) || rate_missing(b)) {
        return int(!rate_missing(a)) - int(!rate_missing(b));
    }
    const uint64_t left = uint64_t{a.rate_numerator} * b.rate_denominator;
    const uint64_t right = uint64_t{b.rate_numerator} * a.rate_denominator;
    return left < right ? -1 : left > right ? 1 : 0;
}

// Menu order: true when `a` comes before `b`.
bool listed_before(const CameraFormat& a, const CameraFormat& b) {
    const uint64_t area_a = uint64_t{a.width} * a.height;
    const uint64_t area_b = uint64_t{b.width} * b.height;
    if (area_a != area_b) {
        return area_a > area_b;
    }
    if (const int rate = compare_rates(a, b); rate != 0) {
        return rate > 0;
    }
    const int preference_a = subtype_kind_preference(subtype_kind_of_code(a.subtype));
    const int preference_b = subtype_kind_preference(subtype_kind_of_code(b.subtype));
    if (preference_a != preference_b) {
        return preference_a < preference_b;
    }
    if (a.width != b.width) {
        return a.width > b.width;
    }
    return a.subtype < b.subtype;
}

// Reads 1 to 10 decimal digits up to `stop`; false on anything else or a
// value above 32 bits.
bool read_number(const char*& at, const char* end, char stop, uint32_t* out) {
    uint64_t value = 0;
    int digits = 0;
    while (at < end && *at >= '0' && *at <= '9' && digits <= 10) {
        value = value * 10 + uint64_t(*at - '0');
        ++at;
        ++digits;
    }
    if (digits == 0 || digits > 10 || value > UINT32_MAX ||
        (stop != '\0' && (at == end || *at != stop))) {
        return false;
    }
    if (stop != '\0') {
        ++at;
    }
    *out = uint32_t(value);
    return true;
}

} // namespace

bool parse_subtype_name(const char* text, size_t count, uint32_t* code) {
    for (const SubtypeName& known : subtype_names) {
        if (count == std::strlen(known.name) && std::memcmp(text, known.name, count) == 0) {
            *code = known.code;
            return true;
        }
    }
    if (count != 8) {
        return false;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : -1;
        if (digit < 0) {
            return false;
        }
        value = value << 4 | uint32_t(digit);
    }
    *code = value;
    return true;
}

namespace {

void append_row(WideText& sink, const CameraFormat& format) {
    sink.number(format.width, 1);
    sink.text(L" \u00D7 ");
    sink.number(format.height, 1);
    sink.text(L", ");
    if (!rate_missing(format)) {
        char number[32];
        // Two decimals at most, without trailing zeros: 30, 29.97, 7.5.
        std::snprintf(number, sizeof number, "%.2f",
                      double(format.rate_numerator) / double(format.rate_denominator));
        size_t end = std::strlen(number);
        while (number[end - 1] == '0') {
            --end;
        }
        end -= number[end - 1] == '.' ? 1 : 0;
        number[end] = '\0';
        sink.ascii(number);
        sink.ascii(" fps, ");
    }
    char name[9];
    subtype_name(format.subtype, name);
    sink.ascii(name);
}

} // namespace

bool camera_format_is_set(const CameraFormat& format) {
    return format.width != 0 && format.height != 0;
}

bool same_camera_format(const CameraFormat& a, const CameraFormat& b) {
    return a.width == b.width && a.height == b.height && a.subtype == b.subtype &&
           compare_rates(a, b) == 0;
}

SubtypeKind subtype_kind_of_code(uint32_t code) {
    switch (code) {
    case subtype_code_nv12:
        return SubtypeKind::NV12;
    case subtype_code_yuy2:
        return SubtypeKind::YUY2;
    case subtype_code_rgb32:
        return SubtypeKind::RGB32;
    case subtype_code_mjpg:
        return SubtypeKind::MJPG;
    default:
        return SubtypeKind::Other;
    }
}

FormatTraits camera_format_traits(const CameraFormat& format) {
    return {format.width, format.height,
            frame_rate_from_ratio(format.rate_numerator, format.rate_denominator),
            subtype_kind_preference(subtype_kind_of_code(format.subtype))};
}

void subtype_name(uint32_t code, char* name) {
    for (const SubtypeName& known : subtype_names) {
        if (known.code == code) {
            std::memcpy(name, known.name, std::strlen(known.name) + 1);
            return;
        }
    }
    std::snprintf(name, 9, "%08X", unsigned(code));
}

size_t camera_format_text(const CameraFormat& format, char* buffer, size_t capacity) {
    char name[9];
    subtype_name(format.subtype, name);
    const int written = std::snprintf(buffer, capacity, "%ux%u@%u/%u,%s", unsigned(format.width),
                                      unsigned(format.height), unsigned(format.rate_numerator),
                                      unsigned(format.rate_denominator), name);
    return written < 0 ? 0 : size_t(written);
}

bool parse_camera_format(const char* value, size_t count, CameraFormat* out) {
    const char* at = value;
    const char* end = value + count;
    CameraFormat format{};
    if (!read_number(at, end, 'x', &format.width) || !read_number(at, end, '@', &format.height) ||
        !read_number(at, end, '/', &format.rate_numerator) ||
        !read_number(at, end, ',', &format.rate_denominator) ||
        !parse_subtype_name(at, size_t(end - at), &format.subtype) ||
        !camera_format_is_set(format)) {
        return false;
    }
    *out = format;
    return true;
}

void format_list_add(FormatList& list, const CameraFormat& format) {
    if (!camera_format_is_set(format) || format_list_find(list, format) >= 0) {
        return;
    }
    int32_t at = 0;
    while (at < list.count && !listed_before(format, list.formats[at])) {
        ++at;
    }
    if (at >= format_list_max) {
        return;
    }
    const int32_t kept = list.count < format_list_max ? list.count : format_list_max - 1;
    for (int32_t i = kept; i > at; --i) {
        list.formats[i] = list.formats[i - 1];
    }
    list.formats[at] = format;
    list.count = kept + 1;
}

int32_t format_list_find(const FormatList& list, const CameraFormat& format) {
    for (int32_t i = 0; i < list.count; ++i) {
        if (same_camera_format(list.formats[i], format)) {
            return i;
        }
    }
    return -1;
}

void format_row_text(const CameraFormat& format, wchar_t* text, size_t capacity) {
    WideText sink{text, capacity};
    text[0] = L'\0';
    append_row(sink, format);
}

void automatic_row_text(const CameraFormat& chosen, wchar_t* text, size_t capacity) {
    WideText sink{text, capacity};
    text[0] = L'\0';
    sink.ascii("Automatic");
    if (camera_format_is_set(chosen)) {
        sink.ascii(" (");
        append_row(sink, chosen);
        sink.ascii(")");
    }
}
