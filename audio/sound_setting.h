#pragma once
// The value of the settings line `sound=<endpoint id>`: the audio input the
// user chose, remembered by its endpoint id, which reads like
// `{0.0.1.00000000}.{f3a1c2d4-...}`. An empty value is no choice made.
// Platform-free; the settings reader and writer call these on the
// user-interface thread.

#include <cstddef>

#include "audio/sound_pairing.h"

// The longest id kept; a longer value is no id of ours, and cut short it would
// name another endpoint or none.
inline constexpr size_t sound_endpoint_id_max = sound_endpoint_id_size - 1;

// True when the `count` bytes of `value` are an id to remember: at most
// sound_endpoint_id_max bytes, none of them a control character. Then `id`
// (sound_endpoint_id_size bytes) holds it, NUL-terminated; otherwise it is
// left alone.
bool parse_sound_setting(const char* value, size_t count, char* id);
// Writes the value for a NUL-terminated `id` into `buffer`, NUL-terminated
// and cut to `capacity`; an id that would not parse back writes the empty
// value. Returns the value's full length, so the text is whole exactly when
// the result is less than `capacity`.
size_t format_sound_setting(const char* id, char* buffer, size_t capacity);
