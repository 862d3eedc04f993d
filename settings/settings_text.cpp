#include "settings/settings.h"

#include "layout/see_through.h"
#include "view/picture_turn.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool key_is(const char* key, size_t key_length, const char* name) {
    return key_length == std::strlen(name) && std::memcmp(key, name, key_length) == 0;
}

constexpr const char* window_keys[4] = {"window_x", "window_y", "window_w", "window_h"};

// One "%s%.6f\n" or "%s%d\n" line through a 64-byte scratch buffer. A line
// that did not fit is cut to 63 bytes but still ends with its line feed, so a
// cut value can never run into the next key.
void append_scratch_line(TextSink& sink, const char* scratch, int written) {
    if (written < 0) {
        return;
    }
    size_t count = std::strlen(scratch);
    text_sink_append(sink, scratch, count);
    if (static_cast<size_t>(written) > count && count > 0 && scratch[count - 1] != '\n') {
        text_sink_append(sink, "\n", 1);
    }
}

void append_double_line(TextSink& sink, const char* key, double value) {
    char scratch[64];
    const int written = std::snprintf(scratch, sizeof scratch, "%s%.6f\n", key, value);
    append_scratch_line(sink, scratch, written);
}

void append_int_line(TextSink& sink, const char* key, int32_t value) {
    char scratch[64];
    const int written =
        std::snprintf(scratch, sizeof scratch, "%s%d\n", key, static_cast<int>(value));
    append_scratch_line(sink, scratch, written);
}

// A switch: only 0 and 1 count, anything else leaves the field alone.
void parse_flag_value(const char* value, size_t count, int32_t* field) {
    int32_t flag = 0;
    if (parse_int_value(value, count, &flag) && (flag == 0 || flag == 1)) {
        *field = flag;
    }
}

struct WindowKeys {
    bool seen[4];
    int32_t value[4];
};

void parse_line(Settings& settings, WindowKeys& window, const char* line, size_t length) {
    const char* equals = static_cast<const char*>(std::memchr(line, '=', length));
    if (equals == nullptr || equals == line) {
        return;
    }
    const size_t key_length = static_cast<size_t>(equals - line);
    const char* value = equals + 1;
    const size_t value_length = length - key_length - 1;

    if (key_is(line, key_length, "camera_id")) {
        copy_cut_utf8(settings.camera_id, sizeof settings.camera_id, value, value_length);
    } else if (key_is(line, key_length, "camera_name")) {
        copy_cut_utf8(settings.camera_name, sizeof settings.camera_name, value, value_length);
    } else if (key_is(line, key_length, "zoom")) {
        parse_double_value(value, value_length, &settings.view.zoom);
    } else if (key_is(line, key_length, "center_x")) {
        parse_double_value(value, value_length, &settings.view.center_x);
    } else if (key_is(line, key_length, "center_y")) {
        parse_double_value(value, value_length, &settings.view.center_y);
    } else if (key_is(line, key_length, "on_top")) {
        parse_flag_value(value, value_length, &settings.on_top);
    } else if (key_is(line, key_length, "mirror")) {
        parse_flag_value(value, value_length, &settings.mirror);
    } else if (key_is(line, key_length, "rotation")) {
        int32_t degrees = 0;
        parse_int_value(value, value_length, &degrees);
        settings.rotation = quarter_of_degrees(degrees);
    } else if (key_is(line, key_length, "compact")) {
        parse_flag_value(value, value_length, &settings.compact);
    } else if (key_is(line, key_length, "shape")) {
        // Any other value is the rectangle.
        settings.shape = key_is(value, value_length, "rounded")  ? ShapeRounded
                         : key_is(value, value_length, "circle") ? ShapeCircle
                                                                 : ShapeRectangle;
    } else if (key_is(line, key_length, "opacity")) {
        // Only the offered opacities; any other value is the opaque default.
        int32_t percent = 0;
        const bool read = parse_int_value(value, value_length, &percent);
        settings.opacity = read && opacity_offered(percent) ? percent : opacity_opaque;
    } else if (key_is(line, key_length, "info")) {
        // Any number but zero is on; anything else leaves it as it was.
        int32_t on = 0;
        if (parse_int_value(value, value_length, &on)) {
            settings.info = on != 0 ? 1 : 0;
        }
    } else if (key_is(line, key_length, "guides")) {
        // Any other value is no guide, which writes no line.
        settings.guides = key_is(value, value_length, "grid")        ? GuideGrid
                          : key_is(value, value_length, "crosshair") ? GuideCrosshair
                          : key_is(value, value_length, "centre")    ? GuideCentre
                                                                     : GuideNone;
    } else if (key_is(line, key_length, "format")) {
        // Anything but a whole format reads as the built-in choice.
        settings.format = CameraFormat{};
        parse_camera_format(value, value_length, &settings.format);
    } else if (key_is(line, key_length, "sound")) {
        // A value that is no id of ours leaves the choice as it was.
        parse_sound_setting(value, value_length, settings.sound);
    } else {
        for (int i = 0; i < 4; ++i) {
            if (key_is(line, key_length, window_keys[i])) {
                if (parse_int_value(value, value_length, &window.value[i])) {
                    window.seen[i] = true;
                }
                break;
            }
        }
    }
}

} // namespace

void settings_reset(Settings& settings) {
    std::memset(&settings, 0, sizeof settings);
    view_reset(settings.view);
    settings.on_top = 1;
    settings.opacity = opacity_opaque;
}

void copy_cut_utf8(char* field, size_t field_size, const char* value, size_t count) {
    const size_t limit = field_size - 1;
    size_t n = count;
    if (count > limit) {
        n = limit;
        while (n > 0 && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80) {
            --n;
        }
    }
    std::memcpy(field, value, n);
    field[n] = '\0';
}

bool parse_double_value(const char* value, size_t count, double* out) {
    if (count < 1 || count > 63) {
        return false;
    }
    char scratch[64];
    std::memcpy(scratch, value, count);
    scratch[count] = '\0';
    char* end = nullptr;
    const double result = std::strtod(scratch, &end);
    if (end != scratch + count) {
        return false;
    }
    if (!std::isfinite(result)) {
        return false;
    }
    *out = result;
    return true;
}

bool parse_int_value(const char* value, size_t count, int32_t* out) {
    if (count < 1 || count > 31) {
        return false;
    }
    char scratch[32];
    std::memcpy(scratch, value, count);
    scratch[count] = '\0';
    char* end = nullptr;
    errno = 0;
    const long long result = std::strtoll(scratch, &end, 10);
    if (end != scratch + count || errno == ERANGE) {
        return false;
    }
    if (result < INT32_MIN || result > INT32_MAX) {
        return false;
    }
    *out = static_cast<int32_t>(result);
    return true;
}

void settings_parse(Settings& settings, const char* text) {
    settings_reset(settings);
    WindowKeys window{};
    if (text != nullptr) {
        const char* line = text;
        while (*line != '\0') {
            const char* end = line;
            while (*end != '\0' && *end != '\n') {
                ++end;
            }
            size_t length = static_cast<size_t>(end - line);
            if (length > 0 && line[length - 1] == '\r') {
                --length;
            }
            if (length > 0) {
                parse_line(settings, window, line, length);
            }
            if (*end == '\0') {
                break;
            }
            line = end + 1;
        }
    }
    view_normalize(settings.view);
    if (window.seen[0] && window.seen[1] && window.seen[2] && window.seen[3] &&
        window.value[2] > 0 && window.value[3] > 0) {
        settings.window_x = window.value[0];
        settings.window_y = window.value[1];
        settings.window_w = window.value[2];
        settings.window_h = window.value[3];
        settings.window_valid = 1;
    }
}

void text_sink_append(TextSink& sink, const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (sink.length + 1 < sink.capacity) {
            sink.data[sink.length] = bytes[i];
        }
        ++sink.length;
    }
}

void append_setting_line(TextSink& sink, const char* key, const char* value) {
    text_sink_append(sink, key, std::strlen(key));
    for (const char* p = value; *p != '\0'; ++p) {
        if (*p != '\r' && *p != '\n') {
            text_sink_append(sink, p, 1);
        }
    }
    text_sink_append(sink, "\n", 1);
}

size_t settings_format(const Settings& settings, char* buffer, size_t capacity) {
    TextSink sink{buffer, capacity, 0};
    text_sink_append(sink, "version=1\n", 10);
    append_setting_line(sink, "camera_id=", settings.camera_id);
    append_setting_line(sink, "camera_name=", settings.camera_name);
    append_double_line(sink, "zoom=", settings.view.zoom);
    append_double_line(sink, "center_x=", settings.view.center_x);
    append_double_line(sink, "center_y=", settings.view.center_y);
    if (settings.window_valid != 0) {
        append_int_line(sink, "window_x=", settings.window_x);
        append_int_line(sink, "window_y=", settings.window_y);
        append_int_line(sink, "window_w=", settings.window_w);
        append_int_line(sink, "window_h=", settings.window_h);
    }
    append_int_line(sink, "on_top=", settings.on_top != 0 ? 1 : 0);
    // Last, and only while on: a file without mirroring stays as it always was,
    // and a reader that does not know the key skips the line.
    if (settings.mirror != 0) {
        append_int_line(sink, "mirror=", 1);
    }
    if ((settings.rotation & 3) != 0) {
        append_int_line(sink, "rotation=", degrees_of_quarter(settings.rotation));
    }
    if (settings.compact != 0) {
        append_int_line(sink, "compact=", 1);
    }
    if (settings.shape == ShapeRounded || settings.shape == ShapeCircle) {
        append_setting_line(sink, "shape=", settings.shape == ShapeRounded ? "rounded" : "circle");
    }
    if (settings.opacity != opacity_opaque) {
        append_int_line(sink, "opacity=", settings.opacity);
    }
    if (settings.info != 0) {
        append_int_line(sink, "info=", 1);
    }
    if (settings.guides == GuideGrid || settings.guides == GuideCrosshair ||
        settings.guides == GuideCentre) {
        const char* names[] = {"", "grid", "crosshair", "centre"};
        append_setting_line(sink, "guides=", names[settings.guides]);
    }
    if (camera_format_is_set(settings.format)) {
        char value[64];
        camera_format_text(settings.format, value, sizeof value);
        append_setting_line(sink, "format=", value);
    }
    // Only while an input is chosen: a file without sound stays as it was.
    char sound[sound_endpoint_id_size];
    if (format_sound_setting(settings.sound, sound, sizeof sound) > 0) {
        append_setting_line(sink, "sound=", sound);
    }
    if (capacity > 0) {
        buffer[sink.length < capacity - 1 ? sink.length : capacity - 1] = '\0';
    }
    return sink.length;
}
