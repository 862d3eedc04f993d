#pragma once
// A capture session for tests: Media Foundation and the capture lock up, a
// message-only window on the test thread for the worker's reports, which
// pump_until records, and a check that every synthetic object is gone at the
// end.

#include <windows.h>

#include <functional>
#include <vector>

#include "capture/capture.h"
#include "capture/synthetic/synthetic_camera.h"

struct Report {
    UINT message; // WM_APP_FRAME or WM_APP_STATUS
    WPARAM code;
    int32_t hr;
    bool operator==(const Report&) const = default;
};

struct CaptureSession {
    HWND window = nullptr;
    std::vector<Report> reports;

    CaptureSession();
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Attaches this camera alone and starts a worker on it, or on `link`.
    void start(const SyntheticCamera& camera, const char* link = nullptr);
    // Stops the worker and forgets what it reported.
    void stop();

    // Records the reports and dispatches the thread's other messages until
    // `done` holds or `timeout_ms` passes; returns whether `done` held.
    bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000);
    void pump_for(DWORD ms) { pump_until(nullptr, ms); }
    bool wait_frames(int n) {
        return pump_until([&] { return count(WM_APP_FRAME) >= n; });
    }

    int count(UINT message) const;
    // The first status report other than streaming, or null.
    const Report* end_report() const;
    // Whether a report waits in the window's queue, not yet recorded.
    bool report_queued() const;
};

// A camera with one 640 x 480 RGB32 type at 30 fps, delivering as fast as it
// is read unless told otherwise.
SyntheticCamera test_camera(uint32_t width = 640, uint32_t height = 480,
                            const wchar_t* link = L"\\\\?\\synthetic#cam0");

// Whether frame_lock_peek reports a frame; the lock is not kept.
bool store_has_frame();

// Which frame of the test pattern (0..255) the frame store holds whole, at
// this size; -1 for none.
int pattern_frame_in_store(int32_t width, int32_t height);

// Every synthetic object released.
bool synthetic_all_released();
