// The real main window, created in this process on the synthetic camera, for
// what cannot be seen from outside: the frame flag after paints, the worker's
// reports and the scans they arm, the end of the session, the toolbar's
// texts, untrusted camera data, mirroring with the move cursor, and the
// clipboard.

#include "app/window_calls.h"
#include "app_fixture.h"
#include "view/picture_copy_win.h"

#include <future>
#include <string>
#include <thread>
#include <tuple>

namespace {

TEST_F(AppWindowTest, TheSessionsEndSavesReportsStopTheWorkerAndScansComeOncePerBurst) {
    open({app_camera(L"\\\\?\\cam#1", L"One", 640, 480)});
    ASSERT_TRUE(wait_status(StatusStreaming));
    // The end of the session saves, but leaves the worker running.
    const std::wstring file = appdata.path + L"\\Tavisko\\settings.txt";
    SendMessageW(main_window.handle, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(file_exists(file));
    SendMessageW(main_window.handle, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(file_exists(file));
    EXPECT_NE(capture_worker.worker_thread, nullptr);

    const std::pair<WPARAM, StatusState> cases[] = {{CaptureAccessDenied, StatusAccessDenied},
                                                    {CaptureBusy, StatusInUse},
                                                    {CaptureLost, StatusWaiting},
                                                    {CaptureFailed, StatusFailed}};
    for (const auto& [code, state] : cases) {
        SCOPED_TRACE(int(code));
        main_window.capture_active = 1;
        SendMessageW(main_window.handle, WM_APP_STATUS, code, LPARAM(int32_t(0x80004005)));
        EXPECT_EQ(main_window.status, state);
        EXPECT_EQ(main_window.capture_active, 0);
        EXPECT_EQ(capture_worker.worker_thread, nullptr) << "the worker was stopped and joined";
        EXPECT_EQ(uint32_t(main_window.last_capture_error), 0x80004005u);
    }
    // The rescan comes 3 s after the last report, not before, and restarts the camera.
    long before = enumerations();
    pump(2500);
    EXPECT_EQ(enumerations(), before);
    ASSERT_TRUE(pump_until([&] { return enumerations() == before + 1; }, 1500));
    EXPECT_EQ(main_window.capture_active, 1);
    ASSERT_TRUE(wait_status(StatusStreaming));

    // A burst of device changes collapses into one scan a second after the last.
    before = enumerations();
    ULONGLONG last = 0;
    for (int i = 0; i < 5; ++i) {
        SendMessageW(main_window.handle, WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0);
        last = GetTickCount64();
        pump(100);
    }
    ASSERT_TRUE(pump_until([&] { return enumerations() > before; }, 3000));
    EXPECT_GE(GetTickCount64() - last, 900u);
    pump(1200);
    EXPECT_EQ(enumerations(), before + 1) << "one scan for the whole burst";
}

TEST_F(AppWindowTest, AnOpenCameraListIsRefilledOnlyWhenItCloses) {
    // The remembered camera is missing, so every scan refills the list.
    open({app_camera(L"\\\\?\\cam#1", L"One", 640, 480)},
         "version=1\ncamera_id=gone\ncamera_name=Gone\n");
    ASSERT_EQ(SendMessageW(main_window.toolbar.combo, CB_GETCURSEL, 0, 0), 1)
        << "the (disconnected) row";
    wchar_t row[64] = L"";
    SendMessageW(main_window.toolbar.combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(row));
    EXPECT_STREQ(row, L"Gone (disconnected)");
    pick_camera_row(1);
    EXPECT_EQ(std::pair(main_window.status, main_window.capture_active),
              std::pair(StatusWaiting, 0))
        << "picked: nothing";
    SendMessageW(main_window.toolbar.combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_NE(SendMessageW(main_window.toolbar.combo, CB_GETDROPPEDSTATE, 0, 0), 0);
    SendMessageW(main_window.toolbar.combo, CB_SETCURSEL, 0, 0); // the user moves up the list
    const long before = enumerations();
    SendMessageW(main_window.handle, WM_TIMER, TIMER_RESCAN, 0);
    EXPECT_EQ(SendMessageW(main_window.toolbar.combo, CB_GETCURSEL, 0, 0), 0)
        << "left alone while open";
    SendMessageW(main_window.toolbar.combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_TRUE(pump_until([&] { return enumerations() == before + 1; }, 1000));
    EXPECT_EQ(SendMessageW(main_window.toolbar.combo, CB_GETCURSEL, 0, 0), 1)
        << "refilled once closed";
}

TEST_F(AppWindowTest, ToolbarControlsSitInTheirPlacesAndNameThemselves) {
    SyntheticCamera denied = app_camera(L"\\\\?\\cam#1", L"One", 640, 480);
    denied.open_result = E_ACCESSDENIED;
    open({denied});
    ASSERT_TRUE(pump_until([] { return main_window.status == StatusAccessDenied; }));
    // The settings button in the middle of the default 640 x 360 video area;
    // the toolbar's own places are the layout's, at any DPI.
    EXPECT_EQ(place_in(main_window.handle, main_window.toolbar.open_privacy),
              (std::array<LONG, 4>{225, 224, 190, 30}));
    EXPECT_EQ(text_of(main_window.toolbar.open_privacy), L"Open Camera Settings");
    EXPECT_TRUE(IsWindowVisible(main_window.toolbar.open_privacy));
    set_status(StatusStreaming);
    EXPECT_FALSE(IsWindowVisible(main_window.toolbar.open_privacy))
        << "shown only while access is off";

    const std::pair<HWND, const wchar_t*> tools[] = {
        {main_window.toolbar.zoom_out, L"Zoom out (Ctrl+\u2212)"},
        {main_window.toolbar.zoom_in, L"Zoom in (Ctrl++)"},
        {main_window.toolbar.reset, L"Reset zoom (Ctrl+0)"},
        {main_window.toolbar.pin, L"Always on top (Ctrl+T)"}};
    EXPECT_EQ(SendMessageW(main_window.toolbar.tooltip, TTM_GETTOOLCOUNT, 0, 0), 4);
    for (const auto& [button, tip] : tools) {
        wchar_t text[80] = L"";
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = main_window.handle;
        info.uId = reinterpret_cast<UINT_PTR>(button);
        info.lpszText = text;
        SendMessageW(main_window.toolbar.tooltip, TTM_GETTEXTW, 80,
                     reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, tip);
    }
}

TEST_F(AppWindowTest, UntrustedCameraNamesAndLinksAreCutOrSkipped) {
    SyntheticCamera nameless = app_camera(L"\\\\?\\ok#no-name", L"", 320, 240);
    nameless.has_friendly_name = false;
    std::vector<SyntheticCamera> attached = {
        app_camera(std::wstring(600, L'L').c_str(), L"Long link", 320, 240),
        app_camera(L"\\\\?\\ok#long-name", std::wstring(300, L'N').c_str(), 320, 240),
        nameless,
        app_camera(L"", L"Empty link", 320, 240),
        app_camera(L"\\\\?\\ok#surrogate", L"Bad \xD800 name", 320, 240),
        app_camera(L"\\\\?\\ok#exact", std::wstring(255, L'e').c_str(), 320, 240)};
    for (int i = 0; i < 16; ++i) {
        const std::wstring link = L"\\\\?\\ok#more-" + std::to_wstring(i);
        attached.push_back(app_camera(link.c_str(), L"More", 320, 240));
    }
    open(attached);
    ASSERT_EQ(camera_list.camera_count, 16) << "at most 16 listed";
    EXPECT_STREQ(camera_list.cameras[0].id, "\\\\?\\ok#long-name");
    EXPECT_STREQ(camera_list.cameras[0].name, "") << "a name over 255 bytes is listed empty";
    EXPECT_STREQ(camera_list.cameras[1].id, "\\\\?\\ok#surrogate");
    EXPECT_STREQ(camera_list.cameras[1].name, "Bad \xEF\xBF\xBD name")
        << "the broken character is replaced";
    EXPECT_EQ(std::strlen(camera_list.cameras[2].name), 255u);
    EXPECT_STREQ(camera_list.cameras[3].id, "\\\\?\\ok#more-0");
    EXPECT_STREQ(camera_list.cameras[15].id, "\\\\?\\ok#more-12");
    EXPECT_EQ(SendMessageW(main_window.toolbar.combo, CB_GETCOUNT, 0, 0), 16);
    EXPECT_STREQ(settings.camera_id, "\\\\?\\ok#long-name") << "the first listed camera runs";
    EXPECT_STREQ(settings.camera_name, "");
    // Every activation object, also those beyond the sixteenth, is released
    // by the end, as the fixture checks.
}

// Moves the window, not the pointer, so that the pointer lies over client
// point p: under Wine a pointer move lands some time later.
void put_pointer_over(POINT p) {
    POINT pointer;
    GetCursorPos(&pointer);
    ClientToScreen(main_window.handle, &p);
    const RECT outer = AppWindowTest::outer();
    SetWindowPos(main_window.handle, nullptr, outer.left + pointer.x - p.x,
                 outer.top + pointer.y - p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(AppWindowTest, PaintsClearTheFrameFlagAndMirrorThePictureWhichTheGesturesAndCursorFollow) {
    open({frozen_camera(640, 360)}); // fills the default video area one to one
    ASSERT_TRUE(pump_until([] {
        return main_window.status == StatusStreaming && main_window.known_frame_width == 640;
    }));
    const RECT area = video_area_rect();
    ASSERT_EQ(std::pair(area.right - area.left, area.bottom - area.top), std::pair(640L, 360L));
    for (const RECT* dirty : {static_cast<const RECT*>(nullptr), &area}) {
        frame_store.frame_pending = 1; // the frozen camera leaves the flag to the test
        InvalidateRect(main_window.handle, dirty, FALSE);
        UpdateWindow(main_window.handle);
        EXPECT_EQ(frame_store.frame_pending.load(), 0) << "every paint clears it";
    }
    for (int mirror : {0, 1}) {
        if (mirror != 0) {
            command(IDC_MIRROR);
        }
        ASSERT_EQ(settings.mirror, mirror);
        UpdateWindow(main_window.handle);
        for (int y : {1, 31, 359}) {
            int wrong = 0;
            for (int x = 0; x < 640; ++x) {
                wrong += window_pixel(x, area.top + y) != pattern_colour(mirror ? 639 - x : x, y);
            }
            EXPECT_EQ(wrong, 0) << "mirror " << mirror << " row " << y;
        }
    }
    // The move cursor: only over a zoomed picture, never over a child control.
    const HCURSOR move = LoadCursorW(nullptr, IDC_SIZEALL);
    auto sets_move_cursor = [&](HWND under) {
        put_pointer_over({300, area.top + 50});
        SetCursor(nullptr);
        return SendMessageW(main_window.handle, WM_SETCURSOR, WPARAM(under),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == TRUE &&
               GetCursor() == move;
    };
    EXPECT_FALSE(sets_move_cursor(main_window.handle)) << "at zoom 1";
    // A notch on the picture's top-left corner keeps the frame's top-right
    // corner there; a drag to the left then brings in more of the frame's right.
    POINT corner{0, area.top};
    ClientToScreen(main_window.handle, &corner);
    SendMessageW(main_window.handle, WM_MOUSEWHEEL, MAKEWPARAM(0, 120),
                 MAKELPARAM(corner.x, corner.y));
    EXPECT_EQ(std::tuple(settings.view.zoom, settings.view.center_x, settings.view.center_y),
              std::tuple(1.25, 0.6, 0.4));
    EXPECT_TRUE(sets_move_cursor(main_window.handle));
    EXPECT_FALSE(sets_move_cursor(main_window.toolbar.combo));
    SendMessageW(main_window.handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
    SendMessageW(main_window.handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(236, 200));
    SendMessageW(main_window.handle, WM_LBUTTONUP, 0, MAKELPARAM(236, 200));
    EXPECT_DOUBLE_EQ(settings.view.center_x, 0.52); // 64 px of 640 at zoom 1.25
}

// The clipboard's bitmap: its header's fields, then its first and last pixels.
std::array<uint32_t, 8> copied_bitmap() {
    ScopedClipboard clipboard(main_window.handle);
    HGLOBAL data = clipboard.opened ? GetClipboardData(CF_DIB) : nullptr;
    if (data == nullptr || GlobalSize(data) < 40u + 640 * 360 * 4 ||
        IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        return {};
    }
    ScopedGlobalLock locked(data);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(locked.data);
    const auto* pixels = reinterpret_cast<const uint32_t*>(header + 1);
    return {header->biSize,   uint32_t(header->biWidth), uint32_t(header->biHeight),
            header->biPlanes, header->biBitCount,        header->biCompression,
            pixels[0],        pixels[640 * 360 - 1]};
}

TEST_F(AppWindowTest, CopyPutsTheShownFrameOnABusyClipboardAndNothingWithoutOne) {
    open({frozen_camera(640, 360)}, "rotation=90");
    ASSERT_TRUE(wait_status(StatusStreaming));
    auto put_marker = [] {
        ScopedClipboard clipboard(main_window.handle);
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4));
    };
    auto copy_leaves_the_marker = [] {
        command(IDC_COPY_PICTURE);
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    };
    put_marker();
    set_status(StatusWaiting); // the old frame is still stored, but not shown
    copy_leaves_the_marker();

    set_status(StatusStreaming);
    {
        // Another program, here a window of another thread, has the clipboard
        // open for 100 ms, as clipboard history does for a moment. The window
        // goes when its thread ends.
        std::promise<bool> held;
        std::jthread holder([&held] {
            const ScopedClipboard clipboard(CreateWindowExW(
                0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
            held.set_value(clipboard.opened);
            Sleep(100);
        });
        ASSERT_TRUE(held.get_future().get());
        command(IDC_COPY_PICTURE);
    }
    // The rows' order and turn are the copy's own; here it is the shown
    // frame, a quarter turned and then also mirrored, bottom row first.
    const uint32_t opaque = 0xFF000000u;
    EXPECT_EQ(copied_bitmap(),
              (std::array<uint32_t, 8>{40, 360, 640, 1, 32, 0,
                                       synthetic_pattern_pixel(639, 359, 0) | opaque,
                                       synthetic_pattern_pixel(0, 0, 0) | opaque}));
    command(IDC_MIRROR);
    command(IDC_COPY_PICTURE);
    EXPECT_EQ(copied_bitmap(),
              (std::array<uint32_t, 8>{40, 360, 640, 1, 32, 0,
                                       synthetic_pattern_pixel(639, 0, 0) | opaque,
                                       synthetic_pattern_pixel(0, 359, 0) | opaque}));

    // A new worker has emptied the store and not yet delivered.
    put_marker();
    capture_start(main_window.handle, "\\\\?\\no-such-camera");
    copy_leaves_the_marker();
}

} // namespace
