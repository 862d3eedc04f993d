#pragma once
// The texts the video area shows for each status. Platform-free; wide
// characters are UTF-16 on Windows.

#include <cstddef>
#include <cstdint>

#include "app/status.h"

inline constexpr size_t status_text_units = 512;

// Whether the video area shows a message in `status`, rather than the picture.
inline bool status_shows_text(StatusState status) {
    return status >= StatusNoCamera && status <= StatusFailed;
}

// Formats the text for `status` into `out` (always terminated, cut at
// capacity - 1 units). `name` is the remembered camera's name. Returns false,
// with an empty text, for the states that show the picture instead.
bool format_status_text(StatusState status, const wchar_t* name, int32_t error, wchar_t* out,
                        size_t capacity);
