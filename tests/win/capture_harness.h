#pragma once
// A capture session for tests: Media Foundation and the capture lock up, a
// message-only window on the test thread that records every report the worker
// posts, and checks that every synthetic object is gone at the end.

#include <windows.h>

#include <functional>
#include <vector>

#include "capture/capture.h"
#include "capture/synthetic/synthetic_camera.h"

struct Report {
    UINT message; // WM_APP_FRAME or WM_APP_STATUS
    WPARAM code;
    int32_t hr;
};

struct CaptureSession {
    HWND window = nullptr;
    std::vector<Report> reports;

    CaptureSession();
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Dispatches the thread's messages until `done` holds or `timeout_ms`
    // passes; returns whether `done` held.
    bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000);
    void pump_for(DWORD ms);

    int count(UINT message) const;
    int status_count() const { return count(WM_APP_STATUS); }
    int frame_count() const { return count(WM_APP_FRAME); }
    bool has_status() const { return status_count() > 0; }
};

// A camera with one 640 x 480 RGB32 type at 30 fps, delivering as fast as it
// is read unless told otherwise.
SyntheticCamera test_camera(const wchar_t* link = L"\\\\?\\synthetic#cam0", uint32_t width = 640,
                            uint32_t height = 480);

// Whether the frame store holds a whole frame of the test pattern, of this
// size, all from one frame number.
bool store_holds_pattern(int32_t width, int32_t height);

// Every synthetic object released.
bool synthetic_all_released();
