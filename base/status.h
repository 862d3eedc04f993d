#pragma once
// What the video area shows. Changed only through the set-status step of the
// main window (and once directly while the user switches cameras).

#include <cstdint>

enum StatusState : int32_t {
    StatusNone = 0,
    StatusStarting = 1,
    StatusStreaming = 2,
    StatusNoCamera = 3,
    StatusWaiting = 4,
    StatusAccessDenied = 5,
    StatusInUse = 6,
    StatusFailed = 7,
};
