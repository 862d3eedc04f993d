#include "app/startup.h"

#include "app/camera_controls_win.h"
#include "app/commands_win.h"
#include "app/main_window.h"
#include "base/owned_win.h"
#include "capture/capture.h"
#include "layout/sizing_rules.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"
#include "layout/view_modes.h"
#include "settings/settings_file.h"

namespace {

void bring_first_copy_forward() {
    // The first copy holds the mutex from its start but shows its window only
    // once COM, capture and the settings are up; a second start in between
    // waits for that window, up to 2 s, rather than ending with nothing shown.
    const ULONGLONG deadline = GetTickCount64() + 2000;
    HWND existing = FindWindowW(window_class_name, nullptr);
    while ((existing == nullptr || !IsWindowVisible(existing)) && GetTickCount64() < deadline) {
        Sleep(50);
        existing = FindWindowW(window_class_name, nullptr);
    }
    if (existing == nullptr) {
        return;
    }
    if (IsIconic(existing)) {
        ShowWindow(existing, SW_RESTORE);
    }
    SetForegroundWindow(existing);
}

// The single-instance mutex: released and closed when app_run leaves, or
// before, so that the next start runs. Releasing fails harmlessly where
// another copy owns it.
void release_mutex(HANDLE mutex) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}
using InstanceMutex = Owned<HANDLE, release_mutex>;

// Capture, up since capture_startup succeeded; shut down when app_run leaves.
struct CaptureRun {
    CaptureRun() = default;
    ~CaptureRun() { capture_shutdown(); }
    CaptureRun(const CaptureRun&) = delete;
    CaptureRun& operator=(const CaptureRun&) = delete;
};

// The main window's record for app_run's time: made afresh when app_run
// leaves, so that the fonts the window made for itself and the accelerator
// table go on every way out.
struct WindowRecord {
    WindowRecord() = default;
    ~WindowRecord() { main_window = MainWindow{}; }
    WindowRecord(const WindowRecord&) = delete;
    WindowRecord& operator=(const WindowRecord&) = delete;
};

void run_message_loop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The settings window's own keys first: Space there ticks a box
        // rather than freezing the picture.
        if (camera_controls_dialog_message(&message)) {
            continue;
        }
        if (translate_command_key(&message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

InitialPlacement initial_window_rect() {
    InitialPlacement placement{};
    placement.ex_style = settings.on_top != 0 ? WS_EX_TOPMOST : 0;
    if (settings.window_valid != 0) {
        int32_t middle_x = 0;
        if (top_edge_middle(settings.window_x, settings.window_w, &middle_x) &&
            MonitorFromPoint(POINT{middle_x, settings.window_y}, MONITOR_DEFAULTTONULL) !=
                nullptr) {
            placement.x = settings.window_x;
            placement.y = settings.window_y;
            placement.width = settings.window_w;
            placement.height = settings.window_h;
            return placement;
        }
    }
    const UINT dpi = GetDpiForSystem();
    RECT r{0, 0, scale_units(640, dpi), scale_units(360, dpi)};
    if (settings.compact == 0) {
        r.bottom += toolbar_height(dpi);
        AdjustWindowRectExForDpi(&r, main_window_style, FALSE, placement.ex_style, dpi);
    }
    placement.width = r.right - r.left;
    placement.height = r.bottom - r.top;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    placement.x = work.left + (work.right - work.left - placement.width) / 2;
    placement.y = work.top + (work.bottom - work.top - placement.height) / 2;
    return placement;
}

bool register_main_window_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = main_window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = window_class_name;
    if (RegisterClassExW(&wc) != 0) {
        return true;
    }
    // Registered before in this process (the tests open the window again
    // and again): usable if it is this very class, not another of its name.
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
           GetClassInfoExW(instance, window_class_name, &existing) &&
           existing.lpfnWndProc == main_window_proc;
}

HWND create_main_window(HINSTANCE instance) {
    const InitialPlacement at = initial_window_rect();
    // WM_CREATE stores the window in the main window's record too.
    return CreateWindowExW(at.ex_style, window_class_name, window_title, initial_window_style(),
                           at.x, at.y, at.width, at.height, nullptr, nullptr, instance, nullptr);
}

int startup_show_command() {
    STARTUPINFOW info{};
    info.cb = sizeof info;
    GetStartupInfoW(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) != 0 ? info.wShowWindow : SW_SHOWDEFAULT;
}

int app_run(HINSTANCE instance, int show_command) {
    // What start-up sets up is undone in the reverse order when this
    // function leaves, early or at the end of the run.
    SetLastError(ERROR_SUCCESS);
    InstanceMutex mutex{CreateMutexW(nullptr, TRUE, L"Local\\Tavisko.SingleInstance")};
    // A first copy started elevated made a mutex this copy may not open: then
    // the call fails with access denied and no handle, but a copy runs.
    const DWORD mutex_error = GetLastError();
    if (mutex_error == ERROR_ALREADY_EXISTS || mutex_error == ERROR_ACCESS_DENIED) {
        bring_first_copy_forward();
        return 0;
    }
    ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (!capture_startup()) {
        MessageBoxW(nullptr, L"Media Foundation is not available on this PC.", window_title,
                    MB_ICONERROR | MB_OK);
        return 1;
    }
    const CaptureRun capture;
    settings_load(settings);
    // Without its window the program would wait unseen in its message loop,
    // holding the mutex, and every later start would wait for that window.
    if (!register_main_window_class(instance)) {
        return 1;
    }
    const WindowRecord record;
    main_window.accelerator_table.reset(create_accelerators());
    if (create_main_window(instance) == nullptr) {
        return 1;
    }
    ShowWindow(main_window.handle, show_command);
    run_message_loop();

    if (capture_worker_stuck() || main_window.sound.stuck) {
        // WM_DESTROY saved the settings and gave the capture's and the
        // sound's threads their bounded waits, and one is still inside a call
        // into its driver (the worker, the sound thread, or one given up on
        // earlier). Joining would wait for ever, and capture_shutdown would
        // free the frame buffer and the lock, and shut Media Foundation down,
        // under a thread that may still use them. So give the mutex up,
        // letting the next start run, and end the process here:
        // TerminateProcess, unlike ExitProcess, runs no DLL detach code that
        // could wait for a lock the stuck thread holds.
        mutex.reset();
        TerminateProcess(GetCurrentProcess(), 0);
        return 0; // not reached: the call ends this thread too
    }
    return 0;
}
