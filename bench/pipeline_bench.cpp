// The frame pipeline, measured on the real main window in this process with
// a synthetic camera whose frames carry their creation time. The window
// procedure is wrapped (subclassed) to count frame messages and paints; after
// every paint the time stamp is read back from the screen. Reports figures;
// asserts nothing.
//
//   tavisko_pipeline_bench --width W --height H --fps F --seconds S [--rotation 90]
//                          [--opacity 85|70|50]
//   tavisko_pipeline_bench ... --overlay-pairs N   N runs of S seconds each without and with
//                          the info line and a guide, interleaved
//   tavisko_pipeline_bench --idle S      wake-ups while waiting for a camera

#include <windows.h>

#include <mfapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"

#include "app/commands_win.h"
#include "app/startup.h"
#include "app/window_calls.h"
#include "base/command_ids.h"
#include "capture/capture.h"
#include "layout/see_through.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"
#include "layout/window_sizing.h"
#include "synthetic_camera/synthetic_camera.h"
#include "view/picture_turn.h"

namespace {

WNDPROC original_proc = nullptr;
long frame_messages = 0;
long paints = 0;
long frames_since_paint = 0;
long most_frames_between_paints = 0;
uint32_t last_screen_stamp = 0;
long distinct_on_screen = 0;
std::vector<double> latencies_ms;
std::vector<double> painted_ms; // creation to the end of the paint
std::vector<double> paint_ms;   // time inside WM_PAINT
uint32_t last_painted_stamp = 0;

// The time stamp of the frame in the store, or 0 while there is none.
uint32_t store_stamp() {
    const PeekedFrame peeked;
    if (!peeked.held) {
        return 0;
    }
    const FramePeek& frame = peeked.frame;
    const int row = int(synthetic_stamp_band(uint32_t(frame.height)) / 2);
    const uint32_t* pixels =
        reinterpret_cast<const uint32_t*>(frame.pixels) + size_t(row) * size_t(frame.width);
    return synthetic_read_stamp([&](int x, int) { return pixels[x]; }, 0, frame.width, 0);
}
int32_t frame_w = 0;
int32_t frame_h = 0;

uint32_t read_screen_stamp() {
    RECT area = video_area_rect();
    // The picture fills the area horizontally for these aspect ratios; the
    // stamp band is the top twelfth of the frame.
    const double scale = double(area.right - area.left) / frame_w;
    const int picture_h = int(frame_h * scale);
    const int top = area.top + ((area.bottom - area.top) - picture_h) / 2;
    const int row = top + int(synthetic_stamp_band(uint32_t(frame_h)) * scale / 2);
    POINT origin{0, row};
    ClientToScreen(main_window.handle, &origin);
    const int width = area.right - area.left;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, 1, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    const uint32_t stamp = synthetic_read_stamp([&](int x, int) { return pixels[x]; }, 0, width, 0);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return stamp;
}

LRESULT CALLBACK measuring_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP_FRAME) {
        ++frame_messages;
        most_frames_between_paints = std::max(most_frames_between_paints, ++frames_since_paint);
    }
    // The frame the paint is about to show (the worker may replace it while
    // the paint waits for the lock, so this is the oldest it can show).
    const uint32_t before_paint = message == WM_PAINT ? store_stamp() : 0;
    const uint32_t paint_start = synthetic_stamp_now();
    const LRESULT result = CallWindowProcW(original_proc, window, message, wparam, lparam);
    if (message == WM_PAINT) {
        const uint32_t paint_end = synthetic_stamp_now();
        paint_ms.push_back((paint_end - paint_start) / 1000.0);
        if (main_window.status == StatusStreaming && before_paint != last_painted_stamp &&
            paint_end - before_paint < 2000000) {
            last_painted_stamp = before_paint;
            painted_ms.push_back((paint_end - before_paint) / 1000.0);
        }
        ++paints;
        frames_since_paint = 0;
        if (main_window.status == StatusStreaming && settings.rotation == 0) {
            const uint32_t stamp = read_screen_stamp();
            const uint32_t now = synthetic_stamp_now();
            const uint32_t age = now - stamp;
            if (stamp != last_screen_stamp && age < 2000000) { // a decodable stamp
                last_screen_stamp = stamp;
                ++distinct_on_screen;
                latencies_ms.push_back(age / 1000.0);
            }
        }
    }
    return result;
}

double cpu_seconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    double total = seconds(kernel) + seconds(user);
    if (total == 0) {
        // Wine 8 reports no process times; under Wine the process is a Unix
        // process, whose /proc entry has them (in ticks of 1/100 s).
        if (FILE* stat = _wfopen(L"Z:\\proc\\self\\stat", L"rb")) {
            char text[1024] = {};
            std::fread(text, 1, sizeof text - 1, stat);
            std::fclose(stat);
            const char* p = std::strrchr(text, ')');
            unsigned long utime = 0, stime = 0;
            if (p != nullptr &&
                std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime,
                            &stime) == 2) {
                total = (utime + stime) / 100.0;
            }
        }
    }
    return total;
}

void pump_for(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  DWORD(std::max<LONGLONG>(1, LONGLONG(end - GetTickCount64()))),
                                  QS_ALLINPUT);
    }
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

void open_window() {
    register_main_window_class(GetModuleHandleW(nullptr));
    main_window.accelerator_table.reset(create_accelerators());
    create_main_window(GetModuleHandleW(nullptr));
    ShowWindow(main_window.handle, SW_SHOWNORMAL);
}

void close_window() {
    DestroyWindow(main_window.handle);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    capture_shutdown();
    main_window = MainWindow{};
}

// What one stretch of streaming cost.
struct Phase {
    long delivered;
    double seconds;
    double paint_median_ms;
    double paint_99_ms;
    double painted_median_ms;
    double painted_99_ms;
    double cpu_ms_per_frame;    // the whole process
    double making_ms_per_frame; // of that, the synthetic camera drawing its frames
    double distinct_in_store;
};

void reset_counts() {
    frame_messages = paints = distinct_on_screen = most_frames_between_paints = 0;
    latencies_ms.clear();
    painted_ms.clear();
    paint_ms.clear();
    synthetic_reset_stats();
}

Phase measure_phase(int seconds) {
    reset_counts();
    // Frames copied into the store, as a third thread sees them change.
    std::atomic<bool> stop{false};
    std::atomic<long> distinct_in_store{0};
    std::thread watcher([&] {
        uint32_t last = 0;
        while (!stop) {
            const uint32_t stamp = store_stamp();
            if (stamp != 0 && stamp != last) {
                last = stamp;
                ++distinct_in_store;
            }
            Sleep(1);
        }
    });
    const double cpu_before = cpu_seconds();
    pump_for(DWORD(seconds) * 1000);
    const double cpu = cpu_seconds() - cpu_before;
    stop = true;
    watcher.join();
    const SyntheticStats stats = synthetic_stats();
    Phase phase{};
    phase.delivered = stats.samples_delivered;
    phase.seconds = seconds;
    phase.paint_median_ms = percentile(paint_ms, 0.5);
    phase.paint_99_ms = percentile(paint_ms, 0.99);
    phase.painted_median_ms = percentile(painted_ms, 0.5);
    phase.painted_99_ms = percentile(painted_ms, 0.99);
    const double frames = std::max(1.0, double(phase.delivered));
    phase.cpu_ms_per_frame = cpu * 1000 / frames;
    phase.making_ms_per_frame = double(stats.frame_making_100ns) / 1e4 / frames;
    phase.distinct_in_store = double(distinct_in_store);
    return phase;
}

void start_stream(int width, int height, int fps) {
    frame_w = width;
    frame_h = height;
    SyntheticCamera camera;
    camera.symbolic_link = L"\\\\?\\synthetic#bench";
    camera.friendly_name = L"Bench Camera";
    camera.types = {{MFVideoFormat_RGB32, uint32_t(width), uint32_t(height), uint32_t(fps), 1}};
    camera.frame_interval_ms = uint32_t(1000 / fps);
    camera.stamp_time = true;
    synthetic_set_cameras({camera});
    open_window();
    original_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        main_window.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(measuring_proc)));
    pump_for(1500); // start-up, first frames, the window takes the picture's shape
}

void print_cpu(const Phase& phase) {
    std::printf("  CPU time per delivered frame     %.2f ms: the synthetic camera drawing it "
                "%.2f ms, the program %.2f ms\n",
                phase.cpu_ms_per_frame, phase.making_ms_per_frame,
                phase.cpu_ms_per_frame - phase.making_ms_per_frame);
}

int run_pipeline(int width, int height, int fps, int seconds) {
    start_stream(width, height, fps);
    if ((settings.rotation & 1) != 0) {
        // The turned picture in a 360 x 640 video area: as many pixels to
        // paint as the upright one's 640 x 360.
        int32_t nw = 0, nh = 0;
        nonclient_size(&nw, &nh);
        SetWindowPos(main_window.handle, nullptr, 0, 0, 360 + nw,
                     640 + toolbar_height(main_window.dpi) + nh, SWP_NOZORDER | SWP_NOACTIVATE);
        pump_for(500);
    }
    const Phase phase = measure_phase(seconds);
    std::printf("pipeline %dx%d at %d fps for %d s, turned %d degrees, opacity %d%%\n", width,
                height, fps, seconds, degrees_of_quarter(settings.rotation), settings.opacity);
    std::printf("  frames delivered by the reader   %ld (%.1f/s)\n", phase.delivered,
                double(phase.delivered) / seconds);
    std::printf("  frames seen in the frame store   %.0f (sampled every ms)\n",
                phase.distinct_in_store);
    std::printf("  frame messages                   %ld\n", frame_messages);
    std::printf("  paints                           %ld, %ld with a new frame on screen\n", paints,
                distinct_on_screen);
    std::printf("  most frame messages per paint    %ld (1 means nothing queued up)\n",
                most_frames_between_paints);
    std::printf("  paint (WM_PAINT handler)         median %.1f ms, 99th percentile %.1f ms\n",
                phase.paint_median_ms, phase.paint_99_ms);
    std::printf("  latency, creation to painted     median %.1f ms, 99th percentile %.1f ms\n",
                phase.painted_median_ms, phase.painted_99_ms);
    if (settings.rotation == 0) {
        std::printf("  latency, creation to screen      median %.1f ms, 99th percentile %.1f ms "
                    "(frame interval %.1f ms)\n",
                    percentile(latencies_ms, 0.5), percentile(latencies_ms, 0.99), 1000.0 / fps);
    } else {
        std::printf("  latency, creation to screen      not read: the time stamps are turned\n");
    }
    print_cpu(phase);
    close_window();
    return 0;
}

// The median of the runs, and their spread (the lowest and the highest).
void print_spread(const char* what, std::vector<double> plain, std::vector<double> drawn) {
    std::sort(plain.begin(), plain.end());
    std::sort(drawn.begin(), drawn.end());
    std::printf("  %-30s without: median %.2f (%.2f..%.2f); with: median %.2f (%.2f..%.2f); "
                "difference %+.2f\n",
                what, percentile(plain, 0.5), plain.front(), plain.back(), percentile(drawn, 0.5),
                drawn.front(), drawn.back(), percentile(drawn, 0.5) - percentile(plain, 0.5));
}

// The info line and a guide, on and off in turn in one window, so that both
// halves see the same machine.
int run_overlays(int width, int height, int fps, int seconds, int pairs) {
    start_stream(width, height, fps);
    std::vector<double> paint[2], own[2], painted[2];
    for (int run = 0; run < 2 * pairs; ++run) {
        const int drawn = run % 2;
        if ((settings.info != 0) != (drawn != 0)) {
            run_command(IDC_INFO_LINE);
        }
        settings.guides = drawn ? GuideCrosshair : GuideNone;
        pump_for(1500); // the info line's first figures
        const Phase phase = measure_phase(seconds);
        paint[drawn].push_back(phase.paint_median_ms);
        painted[drawn].push_back(phase.painted_median_ms);
        own[drawn].push_back(phase.cpu_ms_per_frame - phase.making_ms_per_frame);
    }
    std::printf("info line and crosshair, %dx%d at %d fps: %d runs of %d s each without and "
                "with, interleaved (ms)\n",
                width, height, fps, pairs, seconds);
    print_spread("paint (WM_PAINT), median", paint[0], paint[1]);
    print_spread("creation to painted, median", painted[0], painted[1]);
    print_spread("program's CPU per frame", own[0], own[1]);
    close_window();
    return 0;
}

long wake_ups = 0;
long timer_wake_ups = 0;
long paint_wake_ups = 0;
LRESULT CALLBACK count_wake_ups(int code, WPARAM wparam, LPARAM lparam) {
    if (code >= 0 && wparam == PM_REMOVE) {
        ++wake_ups;
        const UINT message = reinterpret_cast<const MSG*>(lparam)->message;
        timer_wake_ups += message == WM_TIMER;
        paint_wake_ups += message == WM_PAINT;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

int run_idle(int seconds) {
    synthetic_set_cameras({});
    settings_parse(settings, "camera_id=\\\\?\\absent\ncamera_name=Absent Camera\n");
    open_window();
    pump_for(1500);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, count_wake_ups, nullptr, GetCurrentThreadId());
    // A plain message loop, as the program runs it, until the time is up.
    const UINT_PTR done = SetTimer(nullptr, 0, UINT(seconds) * 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == done) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    UnhookWindowsHookEx(hook);
    KillTimer(nullptr, done);
    // The last timer message is the benchmark's own.
    std::printf("idle, waiting for a missing camera, %d s: %ld messages retrieved by the window "
                "thread, %.1f per minute (%ld timer, %ld paint, %ld other; status %d)\n",
                seconds, wake_ups - 1, (wake_ups - 1) * 60.0 / seconds, timer_wake_ups - 1,
                paint_wake_ups, wake_ups - timer_wake_ups - paint_wake_ups,
                int(main_window.status));
    close_window();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int width = 1920, height = 1080, fps = 60, seconds = 10, idle = 0, rotation = 0, pairs = 0;
    int opacity = opacity_opaque;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (key == "--width") {
            width = value;
        } else if (key == "--height") {
            height = value;
        } else if (key == "--fps") {
            fps = value;
        } else if (key == "--seconds") {
            seconds = value;
        } else if (key == "--idle") {
            idle = value;
        } else if (key == "--rotation") {
            rotation = value;
        } else if (key == "--opacity") {
            opacity = value;
        } else if (key == "--overlay-pairs") {
            pairs = value;
        }
    }
    // Settings of the benchmark go to a folder of its own.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring appdata = std::wstring(temp) + L"tavisko-bench";
    CreateDirectoryW(appdata.c_str(), nullptr);
    SetEnvironmentVariableW(L"APPDATA", appdata.c_str());
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!capture_startup()) {
        return 1;
    }
    settings_reset(settings);
    settings.rotation = quarter_of_degrees(rotation);
    // The window is created layered, with this alpha, as after a restart.
    settings.opacity = opacity_offered(opacity) ? opacity : opacity_opaque;
    const int code = idle > 0    ? run_idle(idle)
                     : pairs > 0 ? run_overlays(width, height, fps, seconds, pairs)
                                 : run_pipeline(width, height, fps, seconds);
    CoUninitialize();
    return code;
}
