#pragma once
// Saving the shown picture as a file: its name from the local time of the
// key press, and the tip the video area shows afterwards. Platform-free; wide
// characters are UTF-16 on Windows.

#include <cstddef>
#include <cstdint>

// The local time of the key press, as the clock shows it.
struct LocalTime {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
};

// "Tavisko 2026-12-07 14.45.39 (999).png" and its end fit with room to spare.
inline constexpr size_t picture_name_units = 64;
// Names tried for one picture before the save gives up: a folder with a
// thousand pictures of the same second is not one to keep counting in.
inline constexpr int32_t picture_name_tries = 999;
inline constexpr size_t save_tip_units = 128;
inline constexpr uint32_t save_tip_ms = 3000;

// The file name for `time`, "Tavisko 2026-12-07 14.45.39.png" for `counter`
// 1 and "Tavisko 2026-12-07 14.45.39 (n).png" for counter n from 2 up to
// picture_name_tries. False, with an empty text, for another counter or when
// it does not fit into `capacity` units.
bool format_picture_name(const LocalTime& time, int32_t counter, wchar_t* out, size_t capacity);

// The tip after a save: "Saved <name>" when `error` is 0 (success), else
// "Could not save the picture (0x%08lX)" with the failing code. Cut to fit.
void format_save_tip(const wchar_t* name, int32_t error, wchar_t* out, size_t capacity);
