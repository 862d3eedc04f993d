#pragma once
// Files that another program holds for a moment. Antivirus scanners,
// indexers, backup and sync tools open a file as soon as it appears or
// changes; meanwhile creating, opening or renaming it can be refused with a
// sharing violation, access denied or a lock violation. Such a hold passes
// quickly, so the step is tried again for about half a second. The calling
// thread blocks that long, but only while the file is held, which is rare.

#include <windows.h>

#include <cstdint>

inline constexpr int32_t file_hold_tries = 10;
inline constexpr DWORD file_hold_pause_ms = 50;

inline bool is_file_hold_error(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

// Runs `step` (true on success, else the reason left in GetLastError) until it
// succeeds, fails with another error or has been tried file_hold_tries times,
// file_hold_pause_ms apart. ERROR_SUCCESS, or the last step's error.
template <typename Step> DWORD retry_while_held(Step step) {
    for (int32_t attempt = 1;; ++attempt) {
        if (step()) {
            return ERROR_SUCCESS;
        }
        const DWORD error = GetLastError();
        if (!is_file_hold_error(error) || attempt == file_hold_tries) {
            return error;
        }
        Sleep(file_hold_pause_ms);
    }
}
