#pragma once
// A capture session for tests: Media Foundation and the capture lock up, a
// message-only window on the test thread for the worker's reports, which
// pump_until records, and a check that every synthetic object is gone at the
// end.

#include <windows.h>

#include <mfapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "synthetic_camera/synthetic_camera.h"
#include "test_support.h"

struct Report {
    UINT message; // WM_APP_FRAME or WM_APP_STATUS
    WPARAM code;
    int32_t hr;
    bool operator==(const Report&) const = default;
};

// Every synthetic object released.
inline bool synthetic_all_released() {
    const SyntheticLiveCounts live = synthetic_live_counts();
    return live.activates == 0 && live.sources == 0 && live.readers == 0 && live.buffers == 0;
}

struct CaptureSession {
    // Any class will do: pump_until takes the reports out of the queue itself.
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<Report> reports;

    CaptureSession() {
        EXPECT_TRUE(capture_startup());
        EXPECT_NE(window, nullptr);
        synthetic_reset_stats();
    }
    ~CaptureSession() {
        capture_measure_delivery(false);
        capture_shutdown();
        DestroyWindow(window);
        synthetic_set_cameras({});
        EXPECT_TRUE(synthetic_all_released());
    }
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Attaches this camera alone and starts a worker on it, or on `link`.
    void start(const SyntheticCamera& camera, const char* link = nullptr) {
        synthetic_set_cameras({camera});
        const std::string id(camera.symbolic_link.begin(), camera.symbolic_link.end()); // ASCII
        capture_start(window, link != nullptr ? link : id.c_str());
    }
    // Stops the worker and forgets what it reported.
    void stop() {
        capture_stop();
        reports.clear();
    }

    // Records the reports and dispatches the thread's other messages until
    // `done` holds or `timeout_ms` passes; returns whether `done` held.
    bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000) {
        return ::pump_until(done, timeout_ms, [&](const MSG& m) {
            const bool report =
                m.hwnd == window && (m.message == WM_APP_FRAME || m.message == WM_APP_STATUS);
            if (report) {
                reports.push_back({m.message, m.wParam, int32_t(m.lParam)});
            }
            return report;
        });
    }
    void pump_for(DWORD ms) { pump_until(nullptr, ms); }
    bool wait_frames(int n) {
        return pump_until([&] { return count(WM_APP_FRAME) >= n; });
    }

    int count(UINT message) const {
        return int(std::count_if(reports.begin(), reports.end(),
                                 [&](const Report& r) { return r.message == message; }));
    }
    // The first status report other than streaming, or null.
    const Report* end_report() const {
        const auto end = std::find_if(reports.begin(), reports.end(), [](const Report& r) {
            return r.message == WM_APP_STATUS && r.code != CaptureStreaming;
        });
        return end == reports.end() ? nullptr : &*end;
    }
    // Whether a report waits in the window's queue, not yet recorded.
    bool report_queued() const {
        MSG message;
        return PeekMessageW(&message, window, WM_APP_FRAME, WM_APP_STATUS, PM_NOREMOVE);
    }
};

// A camera with one 640 x 480 RGB32 type at 30 fps, delivering as fast as it
// is read unless told otherwise.
inline SyntheticCamera test_camera(uint32_t width = 640, uint32_t height = 480,
                                   const wchar_t* link = L"\\\\?\\synthetic#cam0") {
    SyntheticCamera camera;
    camera.symbolic_link = link;
    camera.friendly_name = L"Synthetic Camera";
    camera.types = {{MFVideoFormat_RGB32, width, height, 30, 1}};
    return camera;
}

// Which frame of the test pattern (0..255) the frame store holds whole, at
// this size; -1 for none. A wrong frame number fails within a few pixels.
inline int pattern_frame_in_store(int32_t width, int32_t height) {
    const PeekedFrame peeked;
    const FramePeek& frame = peeked.frame;
    if (!peeked.held || frame.width != width || frame.height != height) {
        return -1;
    }
    const auto* pixels = reinterpret_cast<const uint32_t*>(frame.pixels);
    for (uint32_t f = 0; f < 256; ++f) {
        int32_t i = 0;
        while (i < width * height &&
               pixels[i] == synthetic_pattern_pixel(uint32_t(i % width), uint32_t(i / width), f)) {
            ++i;
        }
        if (i == width * height) {
            return int(f);
        }
    }
    return -1;
}
