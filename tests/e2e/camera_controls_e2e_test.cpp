// The camera settings window in the demo, driven from outside with a real
// key: the control file's controls= option, and the program's own message
// loop handing the window its keyboard. What the window does with its keys
// is checked in process (tests/win/camera_controls_test.cpp).

#include "e2e_fixture.h"

namespace {

// The texts of the window's labels, values and buttons, in order.
std::wstring texts_of(HWND window) {
    std::wstring texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM all) {
            wchar_t text[64] = L"";
            if (GetWindowTextW(child, text, 64) > 0) {
                *reinterpret_cast<std::wstring*>(all) += std::wstring(text) + L"|";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

struct CameraControlsE2e : E2eTest {};

TEST_F(CameraControlsE2e, TheControlFilesControlsAnswerTheKeyboard) {
    ASSERT_TRUE(start("\\\\?\\synthetic#camera-a|Camera A|640x480@30|interval=20 "
                      "controls=brightness:0..255/1=128,focus:0..250/5=0auto\n"));
    ASSERT_TRUE(wait_picture());
    click_command(run.window, 115);
    const HWND settings = run.wait_for_window(L"TaviskoCameraSettings");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(texts_of(settings), L"Brightness|128|Focus|0|Auto|Defaults|");

    SetForegroundWindow(settings);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == settings; }, 3000));
    press_keys({VK_RIGHT}); // the brightness slider has the focus
    EXPECT_TRUE(wait_until(
        [&] { return texts_of(settings) == L"Brightness|129|Focus|0|Auto|Defaults|"; }, 2000))
        << texts_of(settings);
}

} // namespace
