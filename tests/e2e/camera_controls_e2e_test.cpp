// The camera settings window in the demo, driven from outside with a real
// key: the control file's controls= option, the program's own message loop
// handing the window its keyboard, and a camera that stops answering. What
// the window does with its keys is checked in process
// (tests/win/camera_controls_test.cpp).

#include <utility>

#include "e2e_fixture.h"

namespace {

// The texts of the window's labels, values and buttons, in order; a greyed
// child's after "~", and a greyed slider as "~" alone.
std::wstring texts_of(HWND window) {
    std::wstring texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM all) {
            wchar_t text[64] = L"";
            const bool greyed = !IsWindowEnabled(child);
            if (GetWindowTextW(child, text, 64) > 0 || greyed) {
                *reinterpret_cast<std::wstring*>(all) +=
                    (greyed ? L"~" : L"") + std::wstring(text) + L"|";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Until `wanted` new frames have been shown: a strip of the picture, which
// moves with every frame, seen to change that often.
bool shows_new_frames(HWND window, UINT dpi, int wanted) {
    RECT strip = video_area_on_screen(window, dpi);
    strip.bottom = strip.top + 8;
    Pixels last = capture_screen(strip);
    int seen = 0;
    return wait_until([&] {
        Pixels now = capture_screen(strip);
        seen += now.data != last.data ? 1 : 0;
        last = std::move(now);
        return seen >= wanted;
    });
}

struct CameraControlsE2e : E2eTest {};

// Once the keyboard has been seen to work, the camera stalls in every Set
// for the rest of the test.
TEST_F(CameraControlsE2e, TheKeyboardSetsAControlAndACameraThatStopsAnsweringHangsNothing) {
    ASSERT_TRUE(start("\\\\?\\synthetic#camera-a|Camera A|640x480@30|interval=20 "
                      "controls=brightness:0..255/1=128,focus:0..250/5=0auto stall-set=stalled\n"));
    ASSERT_TRUE(wait_picture());
    click_command(run.window, 115);
    const HWND settings = run.wait_for_window(L"TaviskoCameraSettings");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(texts_of(settings), L"Brightness|128|Focus|~|0|Auto|Defaults|");

    SetForegroundWindow(settings);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == settings; }, 3000));
    press_keys({VK_RIGHT}); // the brightness slider has the focus
    EXPECT_TRUE(wait_until(
        [&] { return texts_of(settings) == L"Brightness|129|Focus|~|0|Auto|Defaults|"; }, 2000))
        << texts_of(settings);

    write_settings_file(appdata.path, L"stalled", "");
    press_keys({VK_RIGHT});
    EXPECT_TRUE(shows_new_frames(run.window, dpi, 10));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(run.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer), 0);
    // Given up on after the stop's 3 s.
    EXPECT_TRUE(wait_until(
        [&] {
            return texts_of(settings) == L"~Brightness|~|~129|~Focus|~|~0|~Auto|~Defaults|"
                                         L"The camera does not answer.|";
        },
        6000))
        << texts_of(settings);
    // Closing waits the 3 s of its bound for the stalled thread, then leaves.
    const ULONGLONG begun = GetTickCount64();
    EXPECT_EQ(run.close(), 0u);
    EXPECT_LT(GetTickCount64() - begun, 4500u);
}

} // namespace
