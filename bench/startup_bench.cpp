// Start-up: from process creation to the first painted camera frame of the
// demo build, side by side with a minimal window program (to its first
// painted window), each started several times in turn. Reports figures.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace {

double now_ms() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

// Milliseconds until the baseline's window shows its colour.
double baseline_once() {
    std::wstring command = L"\"" + executable_folder() + L"\\tavisko_baseline_window.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = now_ms();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    HWND window = nullptr;
    double shown = -1;
    wait_until(
        [&] {
            if (window == nullptr) {
                window = FindWindowW(L"TaviskoBaseline", nullptr);
                window = IsWindowVisible(window) ? window : nullptr;
            }
            if (window != nullptr) {
                const RECT client = client_on_screen(window);
                const Pixels pixels = capture_screen(
                    {client.left + 100, client.top + 100, client.left + 101, client.top + 101});
                if (pixels.width == 1 && pixels.data[0] == 0x336699) {
                    shown = now_ms() - start;
                    return true;
                }
            }
            return false;
        },
        10000);
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shown;
}

// Milliseconds until the demo's first camera frame is on the screen.
double demo_once() {
    TempFolder appdata;
    write_settings_file(appdata.path, L"demo-cameras.txt",
                        "\\\\?\\synthetic#start|Start Camera|640x480@30|interval=1\n");
    const UINT dpi = GetDpiForSystem();
    DemoRun run;
    const double start = now_ms();
    if (!run.start(appdata.path)) {
        return -1;
    }
    double shown = -1;
    wait_until(
        [&] {
            if (shows_picture(run.window, dpi)) {
                shown = now_ms() - start;
                return true;
            }
            return false;
        },
        10000);
    run.close();
    return shown;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main() {
    std::vector<double> demo;
    std::vector<double> baseline;
    for (int i = 0; i < 7; ++i) {
        baseline.push_back(baseline_once());
        demo.push_back(demo_once());
    }
    std::printf("start-up to first painted frame, median of 7 (ms):\n");
    std::printf("  minimal window program   %.0f (to its painted window)\n", median(baseline));
    std::printf("  tavisko-demo.exe         %.0f (to the first camera frame on screen)\n",
                median(demo));
    std::printf("  ratio                    %.2f\n", median(demo) / median(baseline));
    return 0;
}
