#include "e2e_fixture.h"

namespace {

using StartupE2e = E2eTest;

RECT expected_default_window(UINT dpi, bool topmost) {
    RECT r{0, 0, MulDiv(640, int(dpi), 96), MulDiv(396, int(dpi), 96)};
    AdjustWindowRectExForDpi(&r, 0x02CF0000, FALSE, topmost ? WS_EX_TOPMOST : 0, dpi);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - w) / 2;
    const int y = work.top + (work.bottom - work.top - h) / 2;
    return {x, y, x + w, y + h};
}

TEST_F(StartupE2e, OpensCentredTopmostAtTheDefaultSize) {
    ASSERT_TRUE(start(no_cameras));
    EXPECT_EQ(class_name(run.window), L"TaviskoWnd");
    EXPECT_EQ(window_text(run.window), L"Tavisko");
    const auto style = DWORD(GetWindowLongW(run.window, GWL_STYLE));
    EXPECT_EQ(style & 0x02CF0000u, 0x02CF0000u);
    EXPECT_NE(GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT client;
    GetClientRect(run.window, &client);
    EXPECT_EQ(client.right, MulDiv(640, int(dpi), 96));
    EXPECT_EQ(client.bottom, MulDiv(360, int(dpi), 96) + MulDiv(36, int(dpi), 96));
    EXPECT_EQ(xywh(window_rect(run.window)), xywh(expected_default_window(dpi, true)));
    EXPECT_EQ(SendMessageW(run.control(105), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(window_text(run.control(105)), L"\uE840");
    save_screenshot(run.window, dpi == 96 ? L"no-camera-96dpi" : L"no-camera-144dpi");
}

TEST_F(StartupE2e, RemembersPlacementAndPinState) {
    write_settings("version=1\non_top=0\nwindow_x=100\nwindow_y=80\nwindow_w=700\nwindow_h=500\n");
    ASSERT_TRUE(start(no_cameras));
    EXPECT_EQ(GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(SendMessageW(run.control(105), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(window_text(run.control(105)), L"\uE718");
    EXPECT_EQ(xywh(window_rect(run.window)), (std::array<LONG, 4>{100, 80, 700, 500}));
}

TEST_F(StartupE2e, ARectangleOnNoMonitorOpensCentred) {
    write_settings("version=1\nwindow_x=-30000\nwindow_y=-30000\nwindow_w=700\nwindow_h=500\n");
    ASSERT_TRUE(start(no_cameras));
    EXPECT_EQ(xywh(window_rect(run.window)), xywh(expected_default_window(dpi, true)));
}

TEST_F(StartupE2e, ASecondCopyBringsTheFirstForwardAndExits) {
    ASSERT_TRUE(start(no_cameras));
    // Another window takes the foreground first.
    HWND other = CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    wait_until([&] { return GetForegroundWindow() == other; }, 2000);
    EXPECT_EQ(DemoRun::run_to_exit(appdata.path), 0u);
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == run.window; }, 3000));

    ShowWindow(run.window, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(run.window) != 0; }, 3000));
    EXPECT_EQ(DemoRun::run_to_exit(appdata.path), 0u);
    EXPECT_TRUE(wait_until([&] { return IsIconic(run.window) == 0; }, 3000));
    DestroyWindow(other);
    EXPECT_EQ(run.close(), 0u);
    run.window = nullptr;
}

TEST_F(StartupE2e, ClosingWithAHungCameraStillEndsTheRun) {
    // The second read never returns, not even when the source is shut down.
    ASSERT_TRUE(start("\\\\?\\synthetic#hung|Hung|640x480@30|interval=20 hang=1\n"));
    ASSERT_TRUE(wait_picture());
    EXPECT_EQ(run.close(), 0u) << "the process ends within the close's bounded wait";
    run.reset();
    EXPECT_TRUE(start(no_cameras)) << "and the next start opens its own window";
}

TEST_F(StartupE2e, ShowCommandsAreHonoured) {
    ASSERT_TRUE(start(no_cameras, SW_SHOWMAXIMIZED));
    EXPECT_TRUE(IsZoomed(run.window));
}

} // namespace
