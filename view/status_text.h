#pragma once
// The texts the video area shows for each status. Platform-free; wide
// characters are UTF-16 on Windows.

#include <cstddef>
#include <cstdint>

#include "base/status.h"

inline constexpr size_t status_text_units = 512;

// Whether the video area shows a message in `state`, rather than the picture.
inline bool status_shows_text(StatusState state) {
    return state >= StatusNoCamera && state <= StatusFailed;
}

// Formats the text for `state` into `out` (always terminated, cut at
// capacity - 1 units). `name` is the remembered camera's name. Returns false,
// with an empty text, for the states that show the picture instead.
bool format_status_text(StatusState state, const wchar_t* name, int32_t error, wchar_t* out,
                        size_t capacity);
