#include "capture_harness.h"

#include "test_support.h"

#include <mfapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

CaptureSession::CaptureSession() {
    EXPECT_TRUE(capture_startup());
    // Any class will do: pump_until takes the reports out of the queue itself.
    window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    synthetic_reset_stats();
}

CaptureSession::~CaptureSession() {
    capture_shutdown();
    DestroyWindow(window);
    synthetic_set_cameras({});
    EXPECT_TRUE(synthetic_all_released());
}

void CaptureSession::start(const SyntheticCamera& camera, const char* link) {
    synthetic_set_cameras({camera});
    const std::string id(camera.symbolic_link.begin(), camera.symbolic_link.end()); // ASCII
    capture_start(window, link != nullptr ? link : id.c_str());
}

void CaptureSession::stop() {
    capture_stop();
    reports.clear();
}

bool CaptureSession::pump_until(const std::function<bool()>& done, DWORD timeout_ms) {
    return ::pump_until(done, timeout_ms, [&](const MSG& m) {
        const bool report =
            m.hwnd == window && (m.message == WM_APP_FRAME || m.message == WM_APP_STATUS);
        if (report) {
            reports.push_back({m.message, m.wParam, int32_t(m.lParam)});
        }
        return report;
    });
}

int CaptureSession::count(UINT message) const {
    return int(std::count_if(reports.begin(), reports.end(),
                             [&](const Report& r) { return r.message == message; }));
}

const Report* CaptureSession::end_report() const {
    const auto end = std::find_if(reports.begin(), reports.end(), [](const Report& r) {
        return r.message == WM_APP_STATUS && r.code != CaptureStreaming;
    });
    return end == reports.end() ? nullptr : &*end;
}

bool CaptureSession::report_queued() const {
    MSG message;
    return PeekMessageW(&message, window, WM_APP_FRAME, WM_APP_STATUS, PM_NOREMOVE);
}

SyntheticCamera test_camera(uint32_t width, uint32_t height, const wchar_t* link) {
    SyntheticCamera camera;
    camera.symbolic_link = link;
    camera.friendly_name = L"Synthetic Camera";
    camera.types = {{MFVideoFormat_RGB32, width, height, 30, 1}};
    return camera;
}

bool store_has_frame() {
    return PeekedFrame().held;
}

int pattern_frame_in_store(int32_t width, int32_t height) {
    const PeekedFrame peeked;
    if (!peeked.held) {
        return -1;
    }
    const FramePeek& frame = peeked.frame;
    // A wrong frame number fails within a few pixels.
    const auto* pixels = reinterpret_cast<const uint32_t*>(frame.pixels);
    int found = -1;
    for (uint32_t f = 0; found < 0 && f < 256 && frame.width == width && frame.height == height;
         ++f) {
        bool same = true;
        for (int32_t i = 0; same && i < width * height; ++i) {
            same =
                pixels[i] == synthetic_pattern_pixel(uint32_t(i % width), uint32_t(i / width), f);
        }
        found = same ? int(f) : -1;
    }
    return found;
}

bool synthetic_all_released() {
    const SyntheticLiveCounts live = synthetic_live_counts();
    return live.activates == 0 && live.sources == 0 && live.readers == 0 && live.buffers == 0;
}
