#include "capture_harness.h"

#include <mfapi.h>

#include <gtest/gtest.h>

namespace {

CaptureSession* current_session = nullptr;

LRESULT CALLBACK record_reports(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if ((message == WM_APP_FRAME || message == WM_APP_STATUS) && current_session != nullptr) {
        current_session->reports.push_back({message, wparam, static_cast<int32_t>(lparam)});
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

const wchar_t* report_class() {
    static ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = record_reports;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TaviskoTestReports";
        return RegisterClassExW(&wc);
    }();
    return atom != 0 ? L"TaviskoTestReports" : nullptr;
}

} // namespace

CaptureSession::CaptureSession() {
    EXPECT_TRUE(capture_startup());
    window = CreateWindowExW(0, report_class(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    current_session = this;
    synthetic_reset_stats();
}

CaptureSession::~CaptureSession() {
    capture_shutdown();
    current_session = nullptr;
    DestroyWindow(window);
    synthetic_set_cameras({});
    EXPECT_TRUE(synthetic_all_released());
}

bool CaptureSession::pump_until(const std::function<bool()>& done, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
            if (done && done()) {
                return true;
            }
        }
        if (done && done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        // Short slices: some conditions change without a message arriving.
        const DWORD slice = DWORD(deadline - now < 5 ? deadline - now : 5);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

void CaptureSession::pump_for(DWORD ms) {
    pump_until(nullptr, ms);
}

int CaptureSession::count(UINT message) const {
    int n = 0;
    for (const Report& r : reports) {
        n += r.message == message;
    }
    return n;
}

SyntheticCamera test_camera(const wchar_t* link, uint32_t width, uint32_t height) {
    SyntheticCamera camera;
    camera.symbolic_link = link;
    camera.friendly_name = L"Synthetic Camera";
    camera.types = {{MFVideoFormat_RGB32, width, height, 30, 1}};
    return camera;
}

bool store_holds_pattern(int32_t width, int32_t height) {
    FramePeek frame;
    if (!frame_lock_peek(&frame)) {
        return false;
    }
    bool same = frame.width == width && frame.height == height && width > 3 && height > 2;
    // Which frame of the pattern (it repeats every 256) the first row holds.
    const auto* pixels = reinterpret_cast<const uint32_t*>(frame.pixels);
    uint32_t number = 256;
    for (uint32_t f = 0; same && f < 256; ++f) {
        if (pixels[width + 1] == synthetic_pattern_pixel(1, 1, f) &&
            pixels[width + 2] == synthetic_pattern_pixel(2, 1, f) &&
            pixels[width + 3] == synthetic_pattern_pixel(3, 1, f)) {
            number = f;
            break;
        }
    }
    same = same && number < 256;
    for (int32_t y = 0; same && y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (pixels[size_t(y) * size_t(width) + size_t(x)] !=
                synthetic_pattern_pixel(uint32_t(x), uint32_t(y), number)) {
                same = false;
                break;
            }
        }
    }
    frame_unlock();
    return same;
}

bool synthetic_all_released() {
    const SyntheticLiveCounts live = synthetic_live_counts();
    return live.activates == 0 && live.sources == 0 && live.readers == 0 && live.buffers == 0;
}
