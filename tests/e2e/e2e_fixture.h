#pragma once
// One demo run per test, in a settings folder of its own.

#include <gtest/gtest.h>

#include "e2e_support.h"

inline const char* const camera_a = "\\\\?\\synthetic#camera-a|Camera A|640x480@30|interval=20\n";
inline const char* const no_cameras = "# no camera attached\n";

struct E2eTest : testing::Test {
    TempFolder appdata;
    DemoRun run;
    UINT dpi = GetDpiForSystem();

    bool start(const std::string& cameras, int show = SW_SHOWNORMAL) {
        write_settings_file(appdata.path, L"demo-cameras.txt", cameras);
        return run.start(appdata.path, show);
    }
    // Until the window shows a frame it has taken, not merely a coloured area.
    bool wait_picture(DWORD timeout_ms = 5000) {
        return wait_until([&] { return shows_picture(run.window, dpi, true); }, timeout_ms);
    }
    std::wstring zoom_label() const { return window_text(GetDlgItem(run.window, 0)); }
    void TearDown() override {
        if (run.window != nullptr && IsWindow(run.window)) {
            EXPECT_EQ(run.close(), 0u);
        }
    }
};
