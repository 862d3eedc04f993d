#include "e2e_fixture.h"

#include <sddl.h>

#include <memory>

namespace {

using StartupE2e = E2eTest;

// The window of a 640 x 396 client area (at 96 DPI) centred in the work area,
// with the style the program gives it.
std::array<LONG, 4> expected_default_window(UINT dpi) {
    RECT r{0, 0, MulDiv(640, int(dpi), 96), MulDiv(396, int(dpi), 96)};
    AdjustWindowRectExForDpi(&r, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE, WS_EX_TOPMOST, dpi);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const LONG w = r.right - r.left, h = r.bottom - r.top;
    return {work.left + (work.right - work.left - w) / 2,
            work.top + (work.bottom - work.top - h) / 2, w, h};
}

TEST_F(StartupE2e, OpensCentredAndPinnedUnlessLeftElsewhereOnAMonitor) {
    const std::pair<const char*, bool> cases[] = {
        {"", false}, // nothing remembered
        {"version=1\non_top=0\nwindow_x=100\nwindow_y=80\nwindow_w=700\nwindow_h=500\n", true},
        {"version=1\nwindow_x=-30000\nwindow_y=-30000\nwindow_w=700\nwindow_h=500\n", false},
    };
    for (const auto& [text, kept] : cases) {
        write_settings_file(appdata.path, L"settings.txt", text);
        ASSERT_TRUE(start(no_cameras)) << text;
        EXPECT_EQ(window_text(run.window), L"Tavisko");
        EXPECT_EQ(DWORD(GetWindowLongW(run.window, GWL_STYLE)) & 0x02CF0000u, 0x02CF0000u);
        EXPECT_EQ(xywh(window_rect(run.window)),
                  kept ? (std::array<LONG, 4>{100, 80, 700, 500}) : expected_default_window(dpi));
        EXPECT_EQ(GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST,
                  kept ? 0 : WS_EX_TOPMOST);
        EXPECT_EQ(SendMessageW(run.control(105), BM_GETCHECK, 0, 0),
                  kept ? BST_UNCHECKED : BST_CHECKED);
        const ToolbarGlyphs& glyphs = installed_glyphs();
        EXPECT_EQ(window_text(run.control(105)), kept ? glyphs.pin : glyphs.pinned);
        EXPECT_EQ(run.close(), 0u);
        run.reset();
    }
}

// A top-level window shown without taking the focus, destroyed with the pointer.
using TestWindow = std::unique_ptr<HWND__, decltype(&DestroyWindow)>;
TestWindow show_test_window(const wchar_t* window_class) {
    HWND window = CreateWindowExW(0, window_class, L"", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return TestWindow(window, &DestroyWindow);
}

// That it brings a first copy's window forward is checked below.
TEST_F(StartupE2e, ASecondCopyRestoresAMinimisedFirstAndExits) {
    ASSERT_TRUE(start(no_cameras));
    ShowWindow(run.window, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(run.window) != 0; }, 3000));
    DemoRun second;
    ASSERT_TRUE(launch_demo(appdata.path, SW_SHOWNORMAL, second.process));
    EXPECT_EQ(wait_for_exit(second.process.hProcess), 0u);
    EXPECT_TRUE(wait_until([&] { return IsIconic(run.window) == 0; }, 3000));
}

TEST_F(StartupE2e, ASecondCopyWaitsForTheFirstCopysWindowAlsoWhenDeniedItsMutex) {
    // The test plays the first copy: it holds the mutex, made as usual or as
    // an elevated copy's (the empty DACL "D:" lets this user open nothing),
    // and shows a window of the program's class at once, 500 ms after the
    // second copy starts, or never.
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"TaviskoWnd";
    ASSERT_NE(RegisterClassW(&window_class), 0);
    const TestWindow other = show_test_window(L"Static");
    const std::pair<const wchar_t*, int> cases[] = {{L"D:", 0}, {nullptr, 500}, {nullptr, -1}};
    for (const auto& [dacl, window_after_ms] : cases) {
        SCOPED_TRACE(window_after_ms);
        PSECURITY_DESCRIPTOR raw = nullptr;
        ASSERT_TRUE(!dacl || ConvertStringSecurityDescriptorToSecurityDescriptorW(
                                 dacl, SDDL_REVISION_1, &raw, nullptr));
        const std::unique_ptr<void, decltype(&LocalFree)> descriptor(raw, &LocalFree);
        SECURITY_ATTRIBUTES security{sizeof security, descriptor.get(), FALSE};
        const OwnedHandle mutex(CreateMutexW(&security, FALSE, L"Local\\Tavisko.SingleInstance"));
        ASSERT_TRUE(mutex);
        TestWindow first(window_after_ms == 0 ? show_test_window(L"TaviskoWnd")
                                              : TestWindow(nullptr, &DestroyWindow));
        SetForegroundWindow(other.get());
        ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == other.get(); }, 2000));
        const ULONGLONG started = GetTickCount64();
        DemoRun second;
        ASSERT_TRUE(launch_demo(appdata.path, SW_SHOWNORMAL, second.process));
        if (window_after_ms > 0) {
            EXPECT_EQ(WaitForSingleObject(second.process.hProcess, 500), DWORD(WAIT_TIMEOUT));
            first = show_test_window(L"TaviskoWnd");
        }
        EXPECT_EQ(wait_for_exit(second.process.hProcess), 0u);
        const ULONGLONG ran = GetTickCount64() - started;
        EXPECT_TRUE(first ? wait_until([&] { return GetForegroundWindow() == first.get(); }, 3000)
                          : ran >= 1900 && ran < 6000)
            << ran << " ms";
    }
}

TEST_F(StartupE2e, ClosingWithAHungCameraStillEndsTheRun) {
    // The second read never returns, not even when the source is shut down.
    ASSERT_TRUE(start("\\\\?\\synthetic#hung|Hung|640x480@30|interval=20 hang=1\n"));
    ASSERT_TRUE(wait_picture());
    EXPECT_EQ(run.close(), 0u) << "the process ends within the close's bounded wait";
    run.reset();
    EXPECT_TRUE(start(no_cameras)) << "and the next start opens its own window";
}

// The settings the test leaves behind, with this zoom and pin.
std::string saved_text(const char* zoom, char on_top) {
    return std::string(
               "version=1\ncamera_id=\\\\?\\synthetic#camera-a\ncamera_name=Camera A\nzoom=") +
           zoom + "\ncenter_x=0.500000\ncenter_y=0.500000\nwindow_x=120\nwindow_y=90\n" +
           "window_w=700\nwindow_h=460\non_top=" + on_top + "\n";
}

TEST_F(StartupE2e, SettingsAreSavedASecondAfterAChangeAndOnCloseReadBackAndTheCameraCanLeave) {
    ASSERT_TRUE(start(camera_a, SW_SHOWMAXIMIZED));
    EXPECT_TRUE(IsZoomed(run.window)) << "the show command is honoured";
    ASSERT_TRUE(wait_picture());
    ShowWindow(run.window, SW_RESTORE);
    SetWindowPos(run.window, nullptr, 120, 90, 700, 460, SWP_NOZORDER | SWP_NOACTIVATE);
    // The saves after the camera was chosen and the window moved.
    std::string saved;
    ASSERT_TRUE(wait_until([&] {
        saved = read_settings(appdata.path);
        return saved == saved_text("1.000000", '1');
    })) << saved;
    // Three changes, each once the window has taken the one before; the
    // settings must be written once, a second after the last of them.
    ULONGLONG last_change = 0;
    for (const wchar_t* label : {L"150%", L"225%", L"338%"}) {
        last_change = GetTickCount64();
        click_command(run.window, 103);
        ASSERT_TRUE(wait_until([&] { return zoom_label() == label; })) << zoom_label();
    }
    ASSERT_TRUE(wait_until([&] { return read_settings(appdata.path) != saved; }, 3000));
    // Loose by a tenth of a second: the clock and the timer move in ticks.
    EXPECT_GE(GetTickCount64() - last_change, 900u) << "saved a second after the last change";
    EXPECT_EQ(read_settings(appdata.path), saved_text("3.375000", '1'))
        << "no save before the last change";
    click_command(run.window, 105);      // pin off
    ShowWindow(run.window, SW_MAXIMIZE); // the normal rectangle is the one kept
    ASSERT_TRUE(wait_until([&] { return IsZoomed(run.window) != 0; }));
    ASSERT_EQ(run.close(), 0u);
    EXPECT_EQ(read_settings(appdata.path), saved_text("3.375000", '0'));

    // The camera holds its frames back while the hold file exists, so the
    // window is seen as it was restored before its first frame refits it.
    // Its only type names a subtype and a fractional rate: unread, there
    // would be no type and no picture.
    run.reset();
    write_settings_file(appdata.path, L"hold", "");
    write_settings_file(appdata.path, L"demo-cameras.txt",
                        "\\\\?\\synthetic#camera-a|Camera A|640x480@30000/1001:MJPG|interval=20 "
                        "hold=hold\n");
    ASSERT_TRUE(run.start(appdata.path));
    EXPECT_FALSE(IsZoomed(run.window));
    EXPECT_EQ(xywh(window_rect(run.window)), (std::array<LONG, 4>{120, 90, 700, 460}));
    EXPECT_EQ(zoom_label(), L"338%");
    EXPECT_EQ(window_text(run.control(101)), L"Camera A") << "the selected row";
    ASSERT_TRUE(DeleteFileW((appdata.path + L"\\Tavisko\\hold").c_str()));
    EXPECT_TRUE(wait_picture());
    // The first frame fits the window to the 4:3 picture: a 692-pixel-wide
    // video area 519 high, under the toolbar.
    const std::array<LONG, 4> fitted{120, 90, 700, 582};
    EXPECT_TRUE(wait_until([&] { return xywh(window_rect(run.window)) == fitted; }));
    // A camera that leaves the control file is lost.
    write_settings_file(appdata.path, L"demo-cameras.txt", no_cameras);
    EXPECT_TRUE(wait_until([&] { return !shows_picture(run.window, dpi); }, 3000));
}

} // namespace
