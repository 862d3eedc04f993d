// The sound thread on the synthetic endpoints: what it plays, what it reports
// and how it stops, seen from a message-only window's queue.

#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/sound_win.h"
#include "base/messages_win.h"
#include "synthetic_audio/synthetic_audio.h"

namespace {

using Role = SyntheticAudioRole;

// Polls `done` every `step_ms`: reading what a speaker played holds up its
// clock, so the long waits look seldom.
template <typename Done> bool wait_for(Done done, DWORD ms = 5000, DWORD step_ms = 5) {
    for (const ULONGLONG end = GetTickCount64() + ms; !done();) {
        if (GetTickCount64() > end) {
            return false;
        }
        Sleep(step_ms);
    }
    return true;
}

// The left channel of what a speaker played from its first sound on.
std::vector<float> heard(const Microsoft::WRL::ComPtr<IAudioClient>& speaker) {
    const std::vector<float> played = synthetic_audio_played(speaker.Get());
    std::vector<float> left;
    for (size_t i = 0; i + 1 < played.size(); i += 2) {
        if (!left.empty() || played[i] != 0.0f) {
            left.push_back(played[i]);
        }
    }
    return left;
}

// A speaker other than `before` opened and played `frames` of sound.
bool hears(IAudioClient* before, size_t frames) {
    const auto speaker = synthetic_audio_last_opened(Role::render);
    return speaker && speaker.Get() != before && heard(speaker).size() >= frames;
}

struct Sound : testing::Test {
    SoundPlayer player{};
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~Sound() override {
        synthetic_audio_hang_capture(false);
        EXPECT_TRUE(sound_shutdown_within(player, 2000));
        synthetic_audio_deny_access(false);
        synthetic_audio_set_input_mix(synthetic_audio_mix);
        synthetic_audio_offer_low_latency(false);
        DestroyWindow(window);
    }
    std::vector<WPARAM> ends() const {
        std::vector<WPARAM> ends;
        for (MSG m; PeekMessageW(&m, window, WM_APP_SOUND, WM_APP_SOUND, PM_REMOVE);) {
            ends.push_back(m.wParam);
        }
        return ends;
    }
};

// Half a second of the tone, the first sound on, then the figures; the median of
// the delay figure read meanwhile.
struct Heard {
    std::vector<float> left;
    SoundFigures figures;
    int32_t delay_median;
};

Heard hear_half_a_second(SoundPlayer& player, HWND window) {
    const auto before = synthetic_audio_last_opened(Role::render);
    sound_start(player, window, synthetic_microphone_id);
    std::vector<int32_t> delays;
    wait_for(
        [&] {
            delays.push_back(sound_figures(player).delay_us);
            return hears(before.Get(), 24000);
        },
        5000, 50);
    std::sort(delays.begin(), delays.end());
    Heard heard_now{
        heard(synthetic_audio_last_opened(Role::render)), {}, delays[delays.size() / 2]};
    heard_now.left.resize(24000);
    // The figures once 50 ms more have played: the thread counts a glitch at
    // its next wake.
    wait_for([&] { return hears(before.Get(), 24000 + 2400); });
    heard_now.figures = sound_figures(player);
    return heard_now;
}

// The engine period a client runs at; 0 without IAudioClient3.
UINT32 engine_period(Role role) {
    Microsoft::WRL::ComPtr<IAudioClient3> client;
    UINT32 frames = 0;
    WAVEFORMATEX* format = nullptr;
    if (SUCCEEDED(synthetic_audio_last_opened(role).As(&client)) &&
        SUCCEEDED(client->GetCurrentSharedModeEnginePeriod(&format, &frames))) {
        CoTaskMemFree(format);
    }
    return frames;
}

TEST_F(Sound, PlaysTheToneSmoothlyAtOneKilohertzWithinItsPeriodsDelay) {
    const struct {
        SyntheticMix input;
        bool low_latency;
        UINT32 period; // of both endpoints
        int32_t delay_low, delay_high;
    } rows[] = {
        {{48000, 2, 32}, false, 0, 10000, 40000},
        {{44100, 1, 16}, false, 0, 10000, 40000},
        // 3 ms periods are more than Wine keeps up with on a busy machine:
        // here only the periods are checked; their delay is the benchmark's.
        {{48000, 2, 32}, true, 144, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.low_latency ? 3 : row.input.rate);
        synthetic_audio_set_input_mix(row.input);
        synthetic_audio_offer_low_latency(row.low_latency);
        // A busy machine may starve the threads for longer than the flow
        // holds: half a second the thread counts a glitch in is tried again.
        Heard heard_now = hear_half_a_second(player, window);
        for (int tries = 1; tries < 8 && !row.low_latency && heard_now.figures.glitches != 0;
             ++tries) {
            sound_stop(player);
            heard_now = hear_half_a_second(player, window);
        }
        const std::vector<float>& left = heard_now.left;
        float largest_step = 0;
        int rises = 0;
        for (size_t i = 1; i < left.size(); ++i) {
            largest_step = std::max(largest_step, std::abs(left[i] - left[i - 1]));
            rises += left[i - 1] < 0 && left[i] >= 0;
        }
        EXPECT_EQ(engine_period(Role::capture), row.period);
        EXPECT_EQ(engine_period(Role::render), row.period);
        EXPECT_TRUE(heard_now.figures.playing);
        if (!row.low_latency) {
            // 0.5 * 2 pi * 1000 / 48000 is the tone's own largest step.
            EXPECT_LE(largest_step, 0.1308 + 0.005);
            EXPECT_NEAR(rises, 500, 4);
            EXPECT_EQ(heard_now.figures.glitches, 0);
            EXPECT_GT(heard_now.delay_median, row.delay_low);
            EXPECT_LE(heard_now.delay_median, row.delay_high);
            // Not the most against the bound: the synthetic clocks are
            // threads, which a busy machine may wake periods late, and a
            // device's clock is not.
            EXPECT_GE(heard_now.figures.delay_max_us, heard_now.delay_median);
        }
        EXPECT_TRUE(sound_stop(player));
        EXPECT_TRUE(ends().empty());
    }
}

TEST_F(Sound, AnEndingIsPostedOnce) {
    const struct {
        const wchar_t* id;
        bool denied;
        bool unplugged;
        WPARAM end;
    } rows[] = {
        {synthetic_microphone_id, false, true, SoundEndInputGone},
        {synthetic_microphone_id, true, false, SoundEndAccessDenied},
        {L"{0.0.1.00000000}.{gone}", false, false, SoundEndInputGone},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.end);
        synthetic_audio_deny_access(row.denied);
        sound_start(player, window, row.id);
        if (row.unplugged) {
            ASSERT_TRUE(wait_for([&] { return sound_figures(player).playing; }));
            synthetic_audio_unplug(synthetic_audio_last_opened(Role::capture).Get());
        }
        ASSERT_TRUE(wait_for([&] { return !sound_running(player); }));
        EXPECT_EQ(ends(), std::vector<WPARAM>{row.end});
        EXPECT_TRUE(sound_stop(player));
    }
}

TEST_F(Sound, AHungInputIsLetGoWithinTheStopsBound) {
    synthetic_audio_hang_capture(true);
    sound_start(player, window, synthetic_microphone_id);
    // Packets pile up while the thread waits in the hung call.
    ASSERT_TRUE(wait_for([&] {
        const auto microphone = synthetic_audio_last_opened(Role::capture);
        UINT32 frames = 0;
        return microphone && SUCCEEDED(microphone->GetCurrentPadding(&frames)) && frames >= 960;
    }));
    const ULONGLONG before = GetTickCount64();
    EXPECT_FALSE(sound_stop(player));
    EXPECT_LE(GetTickCount64() - before, 500u + 250u);
    EXPECT_FALSE(sound_shutdown_within(player, 50));
    synthetic_audio_hang_capture(false);
    EXPECT_TRUE(sound_shutdown_within(player, 2000));
}

TEST_F(Sound, FollowsTheDefaultOutputToANewSpeaker) {
    for (const bool notify : {true, false}) {
        SCOPED_TRACE(notify);
        const auto before = synthetic_audio_last_opened(Role::render);
        sound_start(player, window, synthetic_microphone_id);
        ASSERT_TRUE(wait_for([&] { return hears(before.Get(), 4800); }));
        const auto first = synthetic_audio_last_opened(Role::render);
        synthetic_audio_change_default_output(notify);
        ASSERT_TRUE(wait_for([&] { return hears(first.Get(), 4800); }));
        EXPECT_TRUE(sound_running(player));
        EXPECT_TRUE(sound_stop(player));
        EXPECT_TRUE(ends().empty());
    }
}

} // namespace
