#pragma once
// Which audio input belongs to the camera. Windows gives every physical
// device a container id shared by all its functions, so an HDMI dongle's or
// a webcam's microphone carries the same id as its video. Platform-free; the
// user-interface thread fills the list and orders its menu with it.

#include <cstddef>
#include <cstdint>

inline constexpr size_t sound_endpoint_id_size = 257; // 256 bytes and the terminator
inline constexpr size_t sound_name_size = 256;

// A GUID's 16 bytes as a GUID lies in memory on Windows: the first three
// fields little-endian, the last eight bytes in order. All zero: not known.
struct ContainerId {
    uint8_t bytes[16];
};

struct SoundInput {
    char id[sound_endpoint_id_size]; // endpoint id, UTF-8; never empty in a listed input
    char name[sound_name_size];      // friendly name, UTF-8
    ContainerId container;
};

// Reads "{00112233-4455-6677-8899-aabbccddeeff}", braces optional, hex digits
// in either case, `count` bytes long. False, `out` untouched, for anything else.
bool parse_container_id(const char* text, size_t count, ContainerId* out);

// Writes the menu's order of `inputs` to `order` (`count` indices): the
// camera's own input first, then every other in the given order. An input is
// the camera's own only if it alone shares the camera's container and that
// container is known and not the computer's own, which built-in devices all
// share. Returns the own input's index, or -1 (then the order is as given).
int32_t sound_menu_order(const SoundInput* inputs, int32_t count, const ContainerId& camera,
                         const ContainerId& computer, int32_t* order);
