// The camera settings window on the real main window, over the synthetic
// camera's IAMVideoProcAmp and IAMCameraControl. The slider arithmetic, the
// control list and the layout numbers are checked in the platform-free
// tables.

#include "app/camera_controls_win.h"
#include "app/context_menu_win.h"
#include "app_fixture.h"

namespace {

using Set = std::array<int32_t, 3>; // kind, value, flags

struct CameraControlsTest : AppWindowTest {
    // Brightness set to 200 elsewhere, a gain whose step does not divide its
    // range, exposure and focus in automatic mode, and an inverted zoom
    // range no slider can show.
    static SyntheticCamera camera(bool running_on) {
        SyntheticCamera c = app_camera(L"\\\\?\\cam#1", L"One", 320, 240);
        c.block_at_read = running_on ? -1 : 1;
        c.controls =
            synthetic_controls_from_list(L"brightness:0..255/1=128,gain:0..10/3=4,zoom:10..0/1=5,"
                                         L"exposure:-13..-1/1=-6auto,focus:0..250/5=0auto");
        c.controls[0].value = 200;
        return c;
    }
    // Each row as "name last-position position value auto enabled|", auto
    // being - (none), o or x.
    static std::wstring rows() {
        std::wstring all;
        for (int32_t i = 0; i < main_window.camera_controls.row_count; ++i) {
            const ControlsRowWindows& w = main_window.camera_controls.row_windows[i];
            const bool ticked = SendMessageW(w.auto_box, BM_GETCHECK, 0, 0) == BST_CHECKED;
            const wchar_t mode = w.auto_box == nullptr ? L'-' : (ticked ? L'x' : L'o');
            wchar_t row[128];
            swprintf(row, 128, L"%ls %d %d %ls %lc %d|", text_of(w.name).c_str(),
                     int(SendMessageW(w.slider, TBM_GETRANGEMAX, 0, 0)),
                     int(SendMessageW(w.slider, TBM_GETPOS, 0, 0)), text_of(w.value).c_str(), mode,
                     IsWindowEnabled(w.slider));
            all += row;
        }
        return all;
    }
    static std::vector<Set> sets() {
        std::vector<Set> all;
        for (const SyntheticControlSet& s : synthetic_control_sets()) {
            all.push_back({s.kind, s.value, s.flags});
        }
        return all;
    }
    // Opens the window and waits until its controls have been read.
    static HWND open_window() {
        command(IDC_CAMERA_CONTROLS);
        pump_until([] { return IsWindowVisible(main_window.camera_controls.window) != FALSE; });
        return main_window.camera_controls.window;
    }
    // Until the control thread's answers show: the rows as `wanted`.
    static bool rows_become(const std::wstring& wanted) {
        return pump_until([&] { return rows() == wanted; });
    }
    // A key as the message loop sees it: to the focused control, through
    // the settings window's keyboard handling.
    static void key(WPARAM vk) {
        PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
        PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
        ::pump_until(nullptr, 30, [](const MSG& m) {
            return camera_controls_dialog_message(const_cast<MSG*>(&m));
        });
    }
};

// The worker stays in its read throughout, so that after the unplug the
// source is still current: only the device is gone.
TEST_F(CameraControlsTest, TheRowsAreTheCamerasControlsTheKeyboardSetsThemAndAnUnplugNothing) {
    SyntheticCamera slow = camera(false);
    slow.open_delay_ms = 300;
    open({slow});
    HMENU menu = build_context_menu();
    EXPECT_EQ(GetMenuState(menu, IDC_CAMERA_CONTROLS, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
    DestroyMenu(menu);
    command(IDC_CAMERA_CONTROLS);
    EXPECT_EQ(main_window.camera_controls.window, nullptr) << "no camera streams yet";

    ASSERT_TRUE(wait_status(StatusStreaming));
    menu = build_context_menu();
    EXPECT_EQ(GetMenuState(menu, IDC_CAMERA_CONTROLS, MF_BYCOMMAND) & MF_GRAYED, 0u);
    DestroyMenu(menu);
    const HWND window = open_window();
    ASSERT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetFocus(), main_window.camera_controls.row_windows[0].slider);
    EXPECT_EQ(text_of(window), L"Camera settings \u2013 One");
    EXPECT_EQ(GetWindow(window, GW_OWNER), main_window.handle);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(rows(), L"Brightness 255 200 200 - 1|Gain 4 1 4 - 1|Exposure 12 7 -6 x 0|"
                      L"Focus 50 0 0 x 0|");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(xywh(client), (std::array<LONG, 4>{0, 0, 502, 170}));
    EXPECT_EQ(place_in(window, main_window.camera_controls.defaults),
              (std::array<LONG, 4>{402, 132, 88, 26}));
    command(IDC_CAMERA_CONTROLS);
    EXPECT_EQ(main_window.camera_controls.window, window) << "the same window, brought forward";
    EXPECT_EQ(sets(), std::vector<Set>{}) << "opening sets nothing";

    key(VK_RIGHT); // brightness one step up
    key(VK_TAB);
    key(VK_RIGHT); // gain: 3 -> 6, the next position
    key(VK_TAB);   // past exposure's greyed slider to its Auto
    EXPECT_EQ(GetFocus(), main_window.camera_controls.row_windows[2].auto_box);
    key(VK_SPACE); // exposure back to manual
    EXPECT_TRUE(rows_become(L"Brightness 255 201 201 - 1|Gain 4 2 6 - 1|Exposure 12 7 -6 o 1|"
                            L"Focus 50 0 0 x 0|"))
        << rows();
    SendMessageW(main_window.camera_controls.defaults, BM_CLICK, 0, 0);
    const std::wstring defaults = L"Brightness 255 128 128 - 1|Gain 4 1 4 - 1|"
                                  L"Exposure 12 7 -6 x 0|Focus 50 0 0 x 0|";
    EXPECT_TRUE(rows_become(defaults)) << rows();
    const std::vector<Set> taken{{0, 201, 2}, {8, 6, 2},   {13, -6, 2}, {0, 128, 2},
                                 {8, 4, 2},   {13, -6, 1}, {15, 0, 1}};
    EXPECT_EQ(sets(), taken);
    const std::vector<SyntheticControl> kept = synthetic_controls(L"\\\\?\\cam#1");
    ASSERT_EQ(kept.size(), 5u);
    EXPECT_EQ((std::array{kept[0].value, kept[0].flags, kept[3].flags}), (std::array{128, 2, 1}));

    // Calls that fail after an unplug leave the rows as they were.
    synthetic_unplug(L"\\\\?\\cam#1");
    const HWND slider = main_window.camera_controls.row_windows[0].slider;
    SendMessageW(slider, TBM_SETPOS, TRUE, 50);
    SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 50),
                 reinterpret_cast<LPARAM>(slider));
    SendMessageW(main_window.camera_controls.row_windows[3].auto_box, BM_CLICK, 0, 0);
    SendMessageW(main_window.camera_controls.defaults, BM_CLICK, 0, 0);
    EXPECT_TRUE(rows_become(defaults)) << rows();
    EXPECT_EQ(sets(), taken);
    EXPECT_EQ(synthetic_controls(L"\\\\?\\cam#1")[0].value, 128);
    EXPECT_EQ(main_window.camera_controls.window, window);

    // At 144 DPI: the third row's slider and the whole client.
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(place_in(window, main_window.camera_controls.row_windows[2].slider),
              (std::array<LONG, 4>{255, 103, 300, 39}));
    GetClientRect(window, &client);
    EXPECT_EQ(xywh(client), (std::array<LONG, 4>{0, 0, 753, 255}));
    key(VK_ESCAPE);
    EXPECT_EQ(main_window.camera_controls.window, nullptr);
}

// The e2e test sees the program go on without the stalled thread; here it
// comes back, makes its one call and nothing more, and lets go of the source.
TEST_F(CameraControlsTest, AThreadGivenUpOnComesBackQuietly) {
    SyntheticCamera stalling = camera(true);
    stalling.stall_set_file = appdata.path + L"\\stalled";
    open({stalling});
    ASSERT_TRUE(wait_status(StatusStreaming));
    ASSERT_NE(open_window(), nullptr);
    write_file_bytes(stalling.stall_set_file, "");
    SendMessageW(main_window.camera_controls.defaults, BM_CLICK, 0, 0);
    ASSERT_TRUE(pump_until([] { return main_window.camera_controls.silent; }, 5000));
    EXPECT_EQ(text_of(main_window.camera_controls.note), L"The camera does not answer.");
    EXPECT_FALSE(IsWindowEnabled(main_window.camera_controls.defaults));

    DeleteFileW(stalling.stall_set_file.c_str());
    EXPECT_TRUE(pump_until([] { return !sets().empty(); }));
    EXPECT_TRUE(capture_stop_all_within(5000)) << "the thread has ended";
    EXPECT_EQ(sets(), (std::vector<Set>{{0, 128, 2}})) << "of four asked";
    EXPECT_EQ(text_of(main_window.camera_controls.note), L"The camera does not answer.");
}

// The second camera offers no controls.
TEST_F(CameraControlsTest, TheWindowClosesOnACameraSwitchAndWhenTheCaptureEnds) {
    open({camera(true), app_camera(L"\\\\?\\cam#2", L"Two", 320, 240)});
    ASSERT_TRUE(wait_status(StatusStreaming));
    const HWND first = open_window();
    ASSERT_NE(first, nullptr);
    pick_camera_row(1);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(main_window.camera_controls.window, nullptr);

    ASSERT_TRUE(wait_status(StatusStreaming));
    const HWND second = open_window();
    ASSERT_TRUE(IsWindowVisible(second));
    EXPECT_EQ(text_of(second), L"Camera settings \u2013 Two");
    EXPECT_EQ(main_window.camera_controls.row_count, 0);
    EXPECT_EQ(main_window.camera_controls.defaults, nullptr);
    EXPECT_EQ(text_of(main_window.camera_controls.note), L"This camera offers no settings.");
    RECT client;
    GetClientRect(second, &client);
    EXPECT_EQ(xywh(client), (std::array<LONG, 4>{0, 0, 502, 52}));
    synthetic_unplug(L"\\\\?\\cam#2");
    ASSERT_TRUE(pump_until([] { return main_window.status != StatusStreaming; }));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(main_window.camera_controls.window, nullptr);
}

} // namespace
