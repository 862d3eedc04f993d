// The sound thread on the synthetic pair (a 48 kHz float stereo microphone
// playing a tone into a 48 kHz float stereo speaker, 10 ms periods each, or
// with --low-latency offering IAudioClient3, whose shortest period is 3 ms)
// for a number of seconds: the program's own delay, read every 10 ms once the
// flow plays, as its median and its most, the glitches the flow counted, and
// the rate the speaker's clock thread kept. Reports figures; asserts nothing.
//   tavisko_sound_bench [--seconds N] [--low-latency]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "audio/sound_win.h"
#include "base/messages_win.h"
#include "synthetic_audio/synthetic_audio.h"

namespace {

// The speaker's period in frames: its engine's, else its device period.
UINT32 speaker_period(IAudioClient* speaker) {
    Microsoft::WRL::ComPtr<IAudioClient3> low_latency;
    UINT32 frames = 0;
    WAVEFORMATEX* format = nullptr;
    if (SUCCEEDED(speaker->QueryInterface(IID_PPV_ARGS(&low_latency))) &&
        SUCCEEDED(low_latency->GetCurrentSharedModeEnginePeriod(&format, &frames))) {
        CoTaskMemFree(format);
        return frames;
    }
    REFERENCE_TIME period = 0;
    speaker->GetDevicePeriod(&period, nullptr);
    return UINT32(period * synthetic_audio_rate / 10000000);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int seconds = 10;
    bool low_latency = false;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--seconds") == 0 && i + 1 < argc) {
            seconds = std::max(1, _wtoi(argv[i + 1]));
        }
        low_latency = low_latency || std::wcscmp(argv[i], L"--low-latency") == 0;
    }
    synthetic_audio_offer_low_latency(low_latency);
    SoundPlayer player{};
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    sound_start(player, window, synthetic_microphone_id);
    const ULONGLONG started = GetTickCount64();
    while (!sound_figures(player).playing && GetTickCount64() - started < 5000) {
        Sleep(10);
    }
    std::vector<int32_t> delays;
    const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds) * 1000;
    while (GetTickCount64() < end && sound_running(player)) {
        delays.push_back(sound_figures(player).delay_us);
        Sleep(10);
    }
    const SoundFigures figures = sound_figures(player);
    const auto speaker = synthetic_audio_last_opened(SyntheticAudioRole::render);
    const double clock_seconds = double(GetTickCount64() - started) / 1000;
    const size_t played = speaker ? synthetic_audio_played(speaker.Get()).size() / 2 : 0;
    const UINT32 period = speaker ? speaker_period(speaker.Get()) : 0;
    MSG message;
    const bool ended = PeekMessageW(&message, window, WM_APP_SOUND, WM_APP_SOUND, PM_REMOVE);
    sound_shutdown_within(player, 2000);
    DestroyWindow(window);
    if (delays.empty() || ended) {
        std::printf("sound: the flow did not play (ended: %s)\n", ended ? "yes" : "no");
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("sound (synthetic 48 kHz float stereo, %s, %u-frame %.1f ms periods), %d s: "
                "program's own delay median %.1f ms, 99%% within %.1f ms, max %.1f ms (%zu "
                "readings); glitches %lld; speaker clock %.0f frames/s\n",
                low_latency ? "IAudioClient3 low-latency" : "IAudioClient", period,
                period * 1000.0 / synthetic_audio_rate, seconds, delays[delays.size() / 2] / 1000.0,
                delays[delays.size() * 99 / 100] / 1000.0, figures.delay_max_us / 1000.0,
                delays.size(), static_cast<long long>(figures.glitches), played / clock_seconds);
    return 0;
}
