// The sound thread on the synthetic pair (a 48 kHz float stereo microphone
// playing a tone into a 48 kHz float stereo speaker, 10 ms periods each) for
// a number of seconds: the program's own delay, read every 10 ms once the
// flow plays, as its median and its most, and the glitches the flow counted.
// Reports figures; asserts nothing.
//   tavisko_sound_bench [--seconds N]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "audio/sound_win.h"
#include "base/messages_win.h"
#include "synthetic_audio/synthetic_audio.h"

int wmain(int argc, wchar_t** argv) {
    int seconds = 10;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wcscmp(argv[i], L"--seconds") == 0) {
            seconds = std::max(1, _wtoi(argv[i + 1]));
        }
    }
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    sound_start(window, synthetic_microphone_id);
    const ULONGLONG started = GetTickCount64();
    while (!sound_figures().playing && GetTickCount64() - started < 5000) {
        Sleep(10);
    }
    std::vector<int32_t> delays;
    const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds) * 1000;
    while (GetTickCount64() < end && sound_running()) {
        delays.push_back(sound_figures().delay_us);
        Sleep(10);
    }
    const SoundFigures figures = sound_figures();
    MSG message;
    const bool ended = PeekMessageW(&message, window, WM_APP_SOUND, WM_APP_SOUND, PM_REMOVE);
    sound_shutdown_within(2000);
    DestroyWindow(window);
    if (delays.empty() || ended) {
        std::printf("sound: the flow did not play (ended: %s)\n", ended ? "yes" : "no");
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("sound (synthetic 48 kHz float stereo, 10 ms periods), %d s: program's own delay "
                "median %.1f ms, 99%% within %.1f ms, max %.1f ms (%zu readings); glitches %lld\n",
                seconds, delays[delays.size() / 2] / 1000.0,
                delays[delays.size() * 99 / 100] / 1000.0, figures.delay_max_us / 1000.0,
                delays.size(), static_cast<long long>(figures.glitches));
    return 0;
}
