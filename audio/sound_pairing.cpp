#include "audio/sound_pairing.h"

#include <cstring>

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool same(const ContainerId& a, const ContainerId& b) {
    return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
}

} // namespace

bool parse_container_id(const char* text, size_t count, ContainerId* out) {
    if (count == 38 && text[0] == '{' && text[37] == '}') {
        ++text;
        count = 36;
    }
    if (count != 36) {
        return false;
    }
    // The text's digit pairs in order, and where each lands in memory.
    static constexpr uint8_t place[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    ContainerId id{};
    int32_t pair = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-') {
                return false;
            }
            continue;
        }
        const int high = hex_digit(text[i]);
        const int low = hex_digit(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        id.bytes[place[pair++]] = uint8_t(high << 4 | low);
        ++i;
    }
    *out = id;
    return true;
}

int32_t sound_menu_order(const SoundInput* inputs, int32_t count, const ContainerId& camera,
                         const ContainerId& computer, int32_t* order) {
    int32_t own = -1;
    if (!same(camera, ContainerId{}) && !same(camera, computer)) {
        for (int32_t i = 0; i < count; ++i) {
            if (same(inputs[i].container, camera)) {
                if (own >= 0) {
                    own = -1; // two share it: neither is surely the camera's
                    break;
                }
                own = i;
            }
        }
    }
    int32_t n = 0;
    if (own >= 0) {
        order[n++] = own;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (i != own) {
            order[n++] = i;
        }
    }
    return own;
}
