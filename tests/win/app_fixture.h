#pragma once
// The real main window, created in this process on the synthetic camera.

#include <windows.h>

#include <commctrl.h>
#include <mfapi.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>

#include "app/commands_win.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "base/command_ids.h"
#include "capture/camera_select.h"
#include "capture/capture.h"
#include "layout/window_sizing.h"
#include "synthetic_camera/synthetic_camera.h"
#include "test_support.h"

inline SyntheticCamera app_camera(const wchar_t* link, const wchar_t* name, uint32_t width,
                                  uint32_t height) {
    SyntheticCamera camera;
    camera.symbolic_link = link;
    camera.friendly_name = name;
    camera.types = {{MFVideoFormat_NV12, width, height, 30, 1}};
    camera.frame_interval_ms = 10;
    return camera;
}

// A camera that delivers the pattern's frame 0 and then hangs in its next
// read, so that the stored frame changes only when a test changes it.
inline SyntheticCamera frozen_camera(uint32_t width, uint32_t height) {
    SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"One", width, height);
    camera.block_at_read = 1;
    return camera;
}

// A pixel of the main window's client area as painted.
inline COLORREF window_pixel(int32_t x, int32_t y) {
    HDC dc = GetDC(main_window.handle);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(main_window.handle, dc);
    return colour;
}

// A window's text, and a child window's place in its parent's client area.
inline std::wstring text_of(HWND window) {
    wchar_t text[128] = L"";
    GetWindowTextW(window, text, 128);
    return text;
}
inline std::array<LONG, 4> place_in(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return xywh(r);
}

// A menu's rows as "text|", a checked row's text followed by " [x]".
inline std::wstring menu_rows(HMENU menu) {
    std::wstring rows;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[96] = L"";
        GetMenuStringW(menu, UINT(i), text, 96, MF_BYPOSITION);
        const bool checked = GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_CHECKED;
        rows += std::wstring(text) + (checked ? L" [x]|" : L"|");
    }
    return rows;
}

// The test pattern's pixel as GDI reads it back.
inline COLORREF pattern_colour(int32_t x, int32_t y, uint32_t frame = 0) {
    const uint32_t p = synthetic_pattern_pixel(uint32_t(x), uint32_t(y), frame);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

struct AppWindowTest : testing::Test {
    TempFolder appdata;

    void SetUp() override {
        SetEnvironmentVariableW(L"APPDATA", appdata.path.c_str());
        ASSERT_TRUE(capture_startup());
    }

    // Creates the main window as the program does, with these cameras.
    void open(const std::vector<SyntheticCamera>& attached, const char* settings_text = nullptr) {
        synthetic_set_cameras(attached);
        synthetic_reset_stats();
        settings_parse(settings, settings_text);
        main_window = MainWindow{};
        camera_list = CameraList{};
        register_main_window_class(GetModuleHandleW(nullptr));
        main_window.accelerator_table.reset(create_accelerators());
        ASSERT_NE(create_main_window(GetModuleHandleW(nullptr)), nullptr);
        ShowWindow(main_window.handle, SW_SHOWNORMAL);
        pump(50);
    }

    // Closes the window as the program does and opens it again on what it saved.
    void reopen(const std::vector<SyntheticCamera>& attached) {
        DestroyWindow(main_window.handle);
        main_window.handle = nullptr;
        std::string saved;
        ASSERT_TRUE(read_file_bytes(appdata.path + L"\\Tavisko\\settings.txt", saved));
        open(attached, saved.c_str());
    }

    void TearDown() override {
        if (main_window.handle != nullptr) {
            DestroyWindow(main_window.handle);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            }
            main_window.handle = nullptr;
        }
        capture_shutdown();
        main_window = MainWindow{};
        synthetic_set_cameras({});
        const SyntheticLiveCounts live = synthetic_live_counts();
        EXPECT_EQ(live.sources + live.readers + live.activates, 0);
    }

    static bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000) {
        return ::pump_until(done, timeout_ms, [](const MSG& m) {
            return translate_command_key(const_cast<MSG*>(&m));
        });
    }
    static void pump(DWORD ms) { pump_until(nullptr, ms); }
    static bool wait_status(StatusState wanted) {
        return pump_until([=] { return main_window.status == wanted; });
    }
    static long enumerations() { return synthetic_stats().enumerations; }
    static void command(int id) {
        SendMessageW(main_window.handle, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    // Picks this row of the camera combo box as the user does.
    static void pick_camera_row(int row) {
        SendMessageW(main_window.toolbar.combo, CB_SETCURSEL, WPARAM(row), 0);
        SendMessageW(main_window.handle, WM_COMMAND, MAKEWPARAM(IDC_CAMERA, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(main_window.toolbar.combo));
    }
    static RECT outer() {
        RECT r;
        GetWindowRect(main_window.handle, &r);
        return r;
    }
};
