#include "audio/sound_setting.h"

#include <cstring>

namespace {

bool usable(const char* value, size_t count) {
    if (count > sound_endpoint_id_max) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7F) {
            return false; // a line break would end the line; a NUL, the id
        }
    }
    return true;
}

} // namespace

bool parse_sound_setting(const char* value, size_t count, char* id) {
    if (!usable(value, count)) {
        return false;
    }
    std::memcpy(id, value, count);
    id[count] = '\0';
    return true;
}

size_t format_sound_setting(const char* id, char* buffer, size_t capacity) {
    size_t length = 0; // bounded: an unterminated id is too long, not a crash
    while (length < sound_endpoint_id_size && id[length] != '\0') {
        ++length;
    }
    const size_t full = usable(id, length) ? length : 0;
    if (capacity > 0) {
        const size_t kept = full < capacity ? full : capacity - 1;
        std::memcpy(buffer, id, kept);
        buffer[kept] = '\0';
    }
    return full;
}
