// The compact view, full screen and the picture's menu on the real main
// window. The arithmetic (edges, least size, moving inside the work area,
// when a drag moves the window) is checked in the platform-free tests.

#include "app/context_menu_win.h"
#include "app/window_calls.h"
#include "app_fixture.h"
#include "layout/view_modes.h"

namespace {

struct ViewModesTest : AppWindowTest {
    static RECT on_screen(RECT r) {
        MapWindowPoints(main_window.handle, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static DWORD style() { return DWORD(GetWindowLongW(main_window.handle, GWL_STYLE)); }
    // The window region's box, and whether it holds window point (x, y);
    // an empty box without a region.
    static std::pair<std::array<LONG, 4>, bool> region(int32_t x, int32_t y) {
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        RECT box{};
        const bool set = GetWindowRgn(main_window.handle, r) != ERROR && GetRgnBox(r, &box);
        const bool holds = set && PtInRegion(r, x, y);
        DeleteObject(r);
        return {xywh(box), holds};
    }
};

TEST_F(ViewModesTest, CompactAndFullScreenAreThePictureAloneAndLeaveTheWindowAsItWas) {
    open({frozen_camera(640, 480)});
    ASSERT_TRUE(pump_until([] { return main_window.known_frame_width == 640; }));
    const RECT picture = on_screen(video_area_rect());

    command(IDC_COMPACT);
    EXPECT_EQ(style() & (WS_CAPTION | WS_POPUP), DWORD(WS_POPUP));
    EXPECT_FALSE(IsWindowVisible(main_window.toolbar.combo) ||
                 IsWindowVisible(main_window.toolbar.pin));
    RECT client;
    GetClientRect(main_window.handle, &client);
    EXPECT_EQ(xywh(on_screen(client)), xywh(outer())) << "no frame at all";
    EXPECT_EQ(xywh(on_screen(video_area_rect())), xywh(picture)) << "the picture stays put";

    // Resized with the 4:3 lock from the right edge; 160 x 120 at the least.
    RECT sizing{100, 100, 500, 200};
    SendMessageW(main_window.handle, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sizing));
    EXPECT_EQ(xywh(sizing), (std::array<LONG, 4>{100, 100, 400, 300}));
    MINMAXINFO info{};
    SendMessageW(main_window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::pair(info.ptMinTrackSize.x, info.ptMinTrackSize.y), std::pair(160L, 120L));
    const RECT r = outer();
    auto hit = [](LONG x, LONG y) {
        return SendMessageW(main_window.handle, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(hit(r.right - 2, r.bottom - 2), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(r.left + 50, r.top + 50), HTCLIENT);
    // At 144 DPI: a 240-pixel least width and a 9-pixel band.
    RECT suggested = outer();
    SendMessageW(main_window.handle, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    SendMessageW(main_window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::pair(info.ptMinTrackSize.x, info.ptMinTrackSize.y), std::pair(240L, 180L));
    EXPECT_EQ(hit(r.left + 8, r.top + 50), HTLEFT);
    SendMessageW(main_window.handle, WM_DPICHANGED, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&suggested));

    reopen({frozen_camera(640, 480)});
    EXPECT_EQ(settings.compact, 1);
    EXPECT_EQ(xywh(outer()), xywh(picture)) << "the compact window's own place";
    EXPECT_FALSE(IsWindowVisible(main_window.toolbar.combo));

    // A drag moves the compact window, unless it pans a zoomed picture.
    ASSERT_TRUE(wait_status(StatusStreaming));
    auto drag = [](WPARAM keys) {
        const RECT before = outer();
        SendMessageW(main_window.handle, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(100, 100));
        SendMessageW(main_window.handle, WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM(130, 110));
        SendMessageW(main_window.handle, WM_LBUTTONUP, keys, MAKELPARAM(130, 110));
        const RECT after = outer();
        return std::pair(after.left - before.left, after.top - before.top);
    };
    EXPECT_EQ(drag(0), std::pair(30L, 10L)) << "zoom 1: the window moves";
    command(IDC_ZOOM_IN);
    const ViewState zoomed = settings.view;
    EXPECT_EQ(drag(0), std::pair(0L, 0L)) << "zoomed: the picture pans";
    EXPECT_NE(settings.view.center_x, zoomed.center_x);
    EXPECT_EQ(drag(MK_CONTROL), std::pair(30L, 10L)) << "Ctrl: the window moves";
    SendMessageW(main_window.handle, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(settings.view.zoom, 1.0) << "a double-click is the whole picture";
    EXPECT_FALSE(IsZoomed(main_window.handle));

    const RECT moved = on_screen(video_area_rect());
    command(IDC_COMPACT);
    EXPECT_EQ(style() & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_TRUE(IsWindowVisible(main_window.toolbar.combo));
    EXPECT_EQ(xywh(on_screen(video_area_rect())), xywh(moved)) << "framed around it again";

    // Full screen covers the monitor, the test display's 1280 x 800, and
    // leaves to the window as it was.
    const std::array<LONG, 4> monitor{0, 0, 1280, 800};
    const RECT before = outer();
    const DWORD framed = style();

    SendMessageW(main_window.handle, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(main_window.full_screen.on) << "Esc means nothing outside full screen";
    command(IDC_FULL_SCREEN);
    EXPECT_EQ(xywh(outer()), monitor);
    EXPECT_EQ(xywh(video_area_rect()), monitor);
    EXPECT_FALSE(IsWindowVisible(main_window.toolbar.combo));
    {
        CaptureLockGuard lock; // a new frame size leaves the full-screen window alone
        frame_store.frame_width = frame_store.frame_height = 320;
    }
    SendMessageW(main_window.handle, WM_APP_FRAME, 0, 0);
    EXPECT_EQ(xywh(outer()), monitor);

    // The pointer over the picture hides when its timer runs out, and shows
    // again when the mouse moves.
    SetCursorPos(200, 200);
    SendMessageW(main_window.handle, WM_TIMER, TIMER_POINTER, 0);
    EXPECT_TRUE(main_window.full_screen.pointer_hidden);
    EXPECT_EQ(SendMessageW(main_window.handle, WM_SETCURSOR, WPARAM(main_window.handle), HTCLIENT),
              TRUE);
    SendMessageW(main_window.handle, WM_MOUSEMOVE, 0, MAKELPARAM(210, 200));
    EXPECT_FALSE(main_window.full_screen.pointer_hidden);

    SendMessageW(main_window.handle, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(main_window.full_screen.on);
    EXPECT_EQ(xywh(outer()), xywh(before));
    EXPECT_EQ(style(), framed);
    EXPECT_TRUE(IsWindowVisible(main_window.toolbar.combo));

    command(IDC_FULL_SCREEN); // closing while full screen saves the window before it
    reopen({frozen_camera(640, 480)});
    EXPECT_FALSE(main_window.full_screen.on);
    EXPECT_EQ(xywh(outer()), xywh(before));
}

TEST_F(ViewModesTest, TheCompactWindowTakesItsShapeAndTheFramedWindowNone) {
    open({frozen_camera(640, 480)});
    ASSERT_TRUE(wait_status(StatusStreaming));
    const RECT framed = outer();
    command(IDC_SHAPE_CIRCLE); // remembered, not shown in the framed window
    EXPECT_EQ(xywh(outer()), xywh(framed));
    EXPECT_EQ(region(5, 5).first, (std::array<LONG, 4>{}));
    command(IDC_COMPACT);
    const std::array<LONG, 4> square{400, 247, 480, 480};
    EXPECT_EQ(xywh(outer()), square) << "the picture's middle square, where it was";
    EXPECT_EQ(region(3, 3), std::pair(std::array<LONG, 4>{0, 0, 480, 480}, false));
    EXPECT_TRUE(region(240, 240).second);
    EXPECT_TRUE(pump_until([] { return window_pixel(10, 200) == pattern_colour(90, 200); }))
        << "cropped, not letter-boxed";
    // The wheel zooms about the point under the pointer; the pause sign keeps inside.
    SendMessageW(main_window.handle, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(800, 347));
    EXPECT_EQ(std::pair(settings.view.center_x, settings.view.center_y),
              std::pair(0.55, 53 / 120.0));
    command(IDC_FREEZE);
    EXPECT_TRUE(pump_until([] { return window_pixel(388, 85) == RGB(255, 255, 255); }));
    command(IDC_FREEZE);
    command(IDC_ZOOM_RESET);
    command(IDC_ROTATE_RIGHT); // a turn keeps the square
    EXPECT_EQ(xywh(outer()), square);
    command(IDC_ROTATE_LEFT);
    const RECT r = outer();
    auto hit = [&](LONG x, LONG y) {
        return SendMessageW(main_window.handle, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
    };
    EXPECT_EQ((std::array{hit(240, 3), hit(72, 72), hit(80, 80)}),
              (std::array<LRESULT, 3>{HTTOP, HTTOPLEFT, HTCLIENT}));
    RECT sizing{100, 100, 500, 200}; // the 1:1 lock, and 160 x 160 at the least
    SendMessageW(main_window.handle, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sizing));
    EXPECT_EQ(xywh(sizing), (std::array<LONG, 4>{100, 100, 400, 400}));
    MINMAXINFO info{};
    SendMessageW(main_window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::pair(info.ptMinTrackSize.x, info.ptMinTrackSize.y), std::pair(160L, 160L));

    command(IDC_SHAPE_NEXT); // the rectangle again, the whole picture
    EXPECT_EQ(xywh(outer()), (std::array<LONG, 4>{320, 247, 640, 480}));
    EXPECT_EQ(region(5, 5).first, (std::array<LONG, 4>{}));
    command(IDC_SHAPE_NEXT); // rounded: 12-pixel corners, 18 at 144 DPI
    EXPECT_EQ(region(4, 4), std::pair(std::array<LONG, 4>{0, 0, 640, 480}, true));
    RECT suggested = outer();
    SendMessageW(main_window.handle, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_FALSE(region(4, 4).second);
    SendMessageW(main_window.handle, WM_DPICHANGED, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&suggested));
    command(IDC_FULL_SCREEN); // full screen shows no shape
    EXPECT_EQ(region(5, 5).first, (std::array<LONG, 4>{}));
    command(IDC_FULL_SCREEN);
    EXPECT_TRUE(region(4, 4).second);
    command(IDC_SHAPE_CIRCLE);
    command(IDC_COMPACT);
    EXPECT_EQ(xywh(outer()), xywh(framed)) << "the framed window as it was";
    EXPECT_EQ(region(5, 5).first, (std::array<LONG, 4>{}));
    command(IDC_COMPACT);
    reopen({frozen_camera(640, 480)}); // remembered, and the region made with the window
    EXPECT_EQ(region(3, 3), std::pair(std::array<LONG, 4>{0, 0, 480, 480}, false));
    SetWindowPos(main_window.handle, nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(region(3, 3).first, (std::array<LONG, 4>{0, 0, 300, 300})) << "a new size";
}

TEST_F(ViewModesTest, MaximisedWindowsKeepToTheWorkAreaAndFullScreenToTheMonitor) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_EQ(xywh(work), (std::array<LONG, 4>{0, 0, 1280, 800})) << "the test display";
    // Compact and started maximised: the largest 4:3 picture, centred.
    open({frozen_camera(640, 480)}, "version=1\ncompact=1\n");
    ShowWindow(main_window.handle, SW_SHOWMAXIMIZED);
    const std::array<LONG, 4> largest{106, 0, 1067, 800};
    EXPECT_TRUE(pump_until([&] { return xywh(outer()) == largest; })) << xywh(outer())[2];
    command(IDC_COMPACT);

    // Full screen from a maximised window comes back maximised, and follows
    // a display change and a new DPI while it lasts.
    ShowWindow(main_window.handle, SW_SHOWMAXIMIZED);
    const RECT maximised = outer();
    command(IDC_FULL_SCREEN);
    SetWindowPos(main_window.handle, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    SendMessageW(main_window.handle, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    const std::array<LONG, 4> monitor{0, 0, 1280, 800};
    EXPECT_EQ(xywh(outer()), monitor);
    RECT suggested{10, 10, 500, 400};
    SendMessageW(main_window.handle, WM_DPICHANGED, MAKEWPARAM(120, 120),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(xywh(outer()), monitor);
    SendMessageW(main_window.handle, WM_DPICHANGED, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&suggested));
    SendMessageW(main_window.handle, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(IsZoomed(main_window.handle));
    EXPECT_EQ(xywh(outer()), xywh(maximised));
}

TEST_F(ViewModesTest, AHeldKeyTogglesOnceButZoomsOnEveryRepeat) {
    open({frozen_camera(640, 480)});
    ASSERT_TRUE(wait_status(StatusStreaming));
    // A press, three auto-repeats (bit 30: the key was down) and the release.
    auto hold = [](WPARAM key) {
        PostMessageW(main_window.handle, WM_KEYDOWN, key, 1);
        for (int i = 0; i < 3; ++i) {
            PostMessageW(main_window.handle, WM_KEYDOWN, key, 1 | (1 << 30));
        }
        PostMessageW(main_window.handle, WM_KEYUP, key, LPARAM(1 | (3u << 30)));
        pump_until([] { return true; }); // takes what is queued
    };
    hold(VK_SPACE);
    EXPECT_TRUE(main_window.frozen.on);
    hold(VK_F11);
    EXPECT_TRUE(main_window.full_screen.on);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80; // Ctrl held, as the accelerators read it
    SetKeyboardState(keys);
    hold(VK_ADD);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(settings.view.zoom, 5.0625) << "1.5 to the fourth";
}

// The menu as shown: a thread timer runs inside its modal loop, notes that it
// is open and closes it.
bool menu_seen = false;
void CALLBACK close_menu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const HWND menu = FindWindowW(L"#32768", nullptr);
    menu_seen = menu != nullptr && IsWindowVisible(menu);
    EndMenu();
}

TEST_F(ViewModesTest, TheMenuOpensOnTheVideoAreaAndRunsItsChoices) {
    SyntheticCamera two = app_camera(L"\\\\?\\cam#2", L"Two", 320, 240);
    open({frozen_camera(640, 480), two}, "version=1\nmirror=1\nopacity=70\nguides=centre\n");
    ASSERT_TRUE(pump_until([] { return main_window.status == StatusStreaming; }));
    // A right click on the picture and on the toolbar strip; Shift+F10 or the menu key.
    const std::tuple<UINT, LPARAM, bool> clicks[] = {{WM_RBUTTONUP, MAKELPARAM(300, 200), true},
                                                     {WM_RBUTTONUP, MAKELPARAM(300, 10), false},
                                                     {WM_CONTEXTMENU, -1, true}};
    for (const auto& [message, at, shown] : clicks) {
        menu_seen = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 300, close_menu);
        SendMessageW(main_window.handle, message, WPARAM(main_window.handle), at);
        KillTimer(nullptr, timer);
        EXPECT_EQ(menu_seen, shown) << message << " " << HIWORD(at);
    }

    HMENU menu = build_context_menu();
    EXPECT_EQ(menu_rows(menu),
              L"Camera|Format|Camera settings\u2026|Sound||Zoom in\tCtrl++|Zoom out\tCtrl+\u2212|"
              L"Whole picture\tCtrl+0||"
              L"Mirror\tCtrl+M [x]|Rotate right\tCtrl+R|Rotate left\tCtrl+Shift+R||"
              L"Freeze\tSpace|Copy picture\tCtrl+C|Save picture\tCtrl+S||"
              L"Info line\tCtrl+I|Guides||Always on top\tCtrl+T [x]|"
              L"Compact view\tCtrl+H|Shape|Full screen\tF11||"
              L"Opacity|Click through\tCtrl+Alt+Shift+T||Close\tAlt+F4|");
    EXPECT_EQ(menu_rows(GetSubMenu(menu, 22)),
              L"Rectangle [x]|Rounded corners|Circle||Next shape\tCtrl+B|");
    EXPECT_EQ(menu_rows(GetSubMenu(menu, 25)), L"100%|85%|70% [x]|50%|");
    EXPECT_EQ(menu_rows(GetSubMenu(menu, 18)), L"None|Thirds grid|Crosshair|Centre mark [x]|");
    HMENU cameras = GetSubMenu(menu, 0);
    EXPECT_EQ(menu_rows(cameras), L"One [x]|Two|");
    const int second_camera = int(GetMenuItemID(cameras, 1));
    const int close = int(GetMenuItemID(menu, GetMenuItemCount(menu) - 1));
    DestroyMenu(menu);

    // A command's row runs its key's command, and a camera's row picks the
    // camera it showed, though a scan while the menu was open put another in
    // its row; a camera that has left the list since is not picked.
    run_menu_choice(IDC_ZOOM_IN);
    EXPECT_EQ(settings.view.zoom, 1.5);
    const SyntheticCamera three = app_camera(L"\\\\?\\cam#3", L"Three", 320, 240);
    synthetic_set_cameras({frozen_camera(640, 480), three, two});
    rescan_cameras();
    run_menu_choice(second_camera);
    EXPECT_EQ(std::string(settings.camera_name), "Two");
    DestroyMenu(build_context_menu()); // One, Three, Two [x]
    synthetic_set_cameras(
        {frozen_camera(640, 480), app_camera(L"\\\\?\\cam#4", L"Four", 320, 240), two});
    rescan_cameras();
    run_menu_choice(second_camera);
    EXPECT_EQ(std::string(settings.camera_name), "Two");
    run_menu_choice(close);
    EXPECT_FALSE(IsWindow(main_window.handle));
    main_window.handle = nullptr;
}

} // namespace
