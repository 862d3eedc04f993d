#pragma once
// The end-to-end driver's tools: start tavisko-demo.exe in its own APPDATA,
// find its window, read its controls and its pixels from the screen as a user
// would see them.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "../win/test_support.h"
#include "layout/toolbar_layout.h"

// A running demo process with its own settings folder.
struct DemoRun {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;

    DemoRun() = default;
    DemoRun(const DemoRun&) = delete;
    DemoRun& operator=(const DemoRun&) = delete;
    ~DemoRun() { reset(); }
    // Ends the process if it still runs and forgets it.
    void reset();

    // Starts the demo with APPDATA set to `appdata`; returns once its main
    // window is visible (false if it never appeared).
    bool start(const std::wstring& appdata, int show_command = SW_SHOWNORMAL);
    // Starts another copy and waits for it to end; returns its exit code.
    static DWORD run_to_exit(const std::wstring& appdata, int show_command = SW_SHOWNORMAL);
    // Closes the window as a user would and returns the exit code.
    DWORD close();
    HWND control(int id) const { return GetDlgItem(window, id); }
};

// The folder of the running test program; the demo sits beside it.
std::wstring executable_folder();

// Checks `done` every 50 ms, dispatching messages in between. Not more
// often: a check may read the settings file, and under Wine the program's
// rename of its new file fails while another handle has it open.
bool wait_until(const std::function<bool()>& done, DWORD timeout_ms = 5000);

std::wstring window_text(HWND window);
RECT window_rect(HWND window);
RECT client_on_screen(HWND window);

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data; // 0x00RRGGBB, top row first
};
Pixels capture_screen(const RECT& screen_rect);

// The video area of the window, on the screen.
RECT video_area_on_screen(HWND window, UINT dpi);
// True when the video area shows exactly `text` as the status text (rendered
// here the same way and compared pixel by pixel).
bool shows_status_text(HWND window, UINT dpi, const std::wstring& text);
// True when the video area shows a picture: many colours, no text.
bool shows_picture(HWND window, UINT dpi);

std::wstring settings_folder(const std::wstring& appdata);
// Writes the demo's camera control file (see the demo build).
void write_camera_control(const std::wstring& appdata, const std::string& lines);
std::string read_settings(const std::wstring& appdata);

// Whether this platform sets WS_EX_TOPMOST again on a window that owns a
// topmost popup (the tooltip). Windows does; Wine 8 does not.
bool platform_restores_topmost_with_owned_popup();

// Sends keys through the input system to the foreground window.
void press_keys(std::initializer_list<WORD> keys);
// Mouse input through the input system, at screen pixel (x, y).
void send_mouse(DWORD flags, int x, int y, int data = 0);
inline void mouse_move_to(int x, int y) {
    send_mouse(0, x, y);
}
void click_at(int x, int y);
// The value of a "key=" line of the settings text, or "".
std::string settings_value(const std::string& text, const char* key);

// Posts a button click from the toolbar, as the control itself would.
void click_command(HWND window, int id);
