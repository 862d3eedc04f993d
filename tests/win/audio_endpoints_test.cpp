// The product's sound device layer on the endpoints Wine really offers: the
// null sink scripts/test starts (docs/audio-under-wine.md), or none, when the
// tests skip and say what is missing.

#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <span>
#include <string_view>

#include "audio/audio_device_layer.h"
#include "audio/sound_win.h"
#include "base/messages_win.h"
#include "base/owned_win.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr char no_sound_server[] =
    "Wine offers no sound endpoint: no PulseAudio server (PULSE_SERVER unset or pulseaudio "
    "not installed); scripts/lib/null-audio.sh starts one with a null sink";

TEST(AudioEndpoints, ListsCaptureEndpointsThatOpenByTheirIds) {
    ComApartment com(COINIT_MULTITHREADED);
    const auto list = std::make_unique<AudioEndpointList>();
    list->count = 1; // a stale entry, which the call must forget
    ASSERT_EQ(audio_enum_capture_endpoints(*list), S_OK);
    if (list->count == 0) {
        GTEST_SKIP() << no_sound_server;
    }
    for (const AudioEndpoint& endpoint : std::span(list->endpoints, size_t(list->count))) {
        EXPECT_EQ(std::wstring_view(endpoint.id).substr(0, 7), L"{0.0.1.") << "a capture id";
        EXPECT_NE(endpoint.name[0], L'\0');
        ComPtr<IAudioClient> client;
        EXPECT_EQ(audio_open_capture(endpoint.id, &client), S_OK);
        EXPECT_NE(client, nullptr);
    }
    // Windows answers E_NOTFOUND, Wine 8 E_INVALIDARG (docs/audio-under-wine.md).
    ComPtr<IAudioClient> gone;
    EXPECT_TRUE(FAILED(
        audio_open_capture(L"{0.0.1.00000000}.{00000000-0000-0000-0000-000000000000}", &gone)));
    EXPECT_EQ(gone, nullptr);
}

TEST(AudioEndpoints, TheDefaultOutputPlaysSharedAndEventDriven) {
    ComApartment com(COINIT_MULTITHREADED);
    ComPtr<IAudioClient> client;
    const HRESULT opened = audio_open_default_render(&client);
    if (opened == E_NOTFOUND) {
        GTEST_SKIP() << no_sound_server;
    }
    ASSERT_EQ(opened, S_OK);
    REFERENCE_TIME period = 0;
    REFERENCE_TIME minimum = 0;
    ASSERT_EQ(client->GetDevicePeriod(&period, &minimum), S_OK);
    EXPECT_GT(period, 0);
    EXPECT_GT(minimum, 0);
    EXPECT_LE(minimum, period);
    TaskMemory<WAVEFORMATEX> mix;
    ASSERT_EQ(client->GetMixFormat(mix.put()), S_OK);
    ASSERT_EQ(client->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK, 0, 0,
                                 mix.get(), nullptr),
              S_OK);
    OwnedHandle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    ASSERT_EQ(client->SetEventHandle(event.get()), S_OK);
    UINT32 frames = 0;
    ASSERT_EQ(client->GetBufferSize(&frames), S_OK);
    const auto period_frames = static_cast<UINT32>(period * mix.get()->nSamplesPerSec / 10000000);
    EXPECT_GE(frames, period_frames);
    ComPtr<IAudioRenderClient> render;
    ASSERT_EQ(client->GetService(IID_PPV_ARGS(&render)), S_OK);
    BYTE* data = nullptr;
    ASSERT_EQ(render->GetBuffer(frames, &data), S_OK);
    ASSERT_EQ(render->ReleaseBuffer(frames, AUDCLNT_BUFFERFLAGS_SILENT), S_OK);

    ASSERT_EQ(client->Start(), S_OK);
    // The engine asks for more as it plays: an event, and room in the buffer.
    UINT32 padding = frames;
    for (int i = 0; i < 20 && padding == frames; ++i) {
        ASSERT_EQ(WaitForSingleObject(event.get(), 2000), WAIT_OBJECT_0) << "no event in 2 s";
        ASSERT_EQ(client->GetCurrentPadding(&padding), S_OK);
    }
    EXPECT_LT(padding, frames);
    EXPECT_EQ(client->Stop(), S_OK);
}

// The sound thread on Wine's endpoints: the null sink's monitor played into
// the null sink, on the product's layer, goes on without ending.
TEST(AudioEndpoints, TheSoundThreadPlaysTheMonitorIntoTheSink) {
    const auto list = std::make_unique<AudioEndpointList>();
    {
        ComApartment com(COINIT_MULTITHREADED);
        ASSERT_EQ(audio_enum_capture_endpoints(*list), S_OK);
    }
    const auto listed = std::span(list->endpoints, size_t(list->count));
    const auto monitor = std::ranges::find_if(listed, [](const AudioEndpoint& e) {
        return std::wstring_view(e.name).find(L"Monitor of Tavisko-Null") != std::wstring::npos;
    });
    if (monitor == listed.end()) {
        GTEST_SKIP() << no_sound_server;
    }
    SoundPlayer player{};
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    sound_start(player, window, monitor->id);
    ULONGLONG end = GetTickCount64() + 5000;
    while (!sound_figures(player).playing && sound_running(player) && GetTickCount64() < end) {
        Sleep(10);
    }
    EXPECT_TRUE(sound_figures(player).playing);
    // A second on, the flow still runs and has posted nothing.
    for (end = GetTickCount64() + 1000; sound_running(player) && GetTickCount64() < end;) {
        Sleep(10);
    }
    EXPECT_TRUE(sound_running(player));
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, window, WM_APP_SOUND, WM_APP_SOUND, PM_REMOVE));
    EXPECT_TRUE(sound_shutdown_within(player, 2000));
    DestroyWindow(window);
}

} // namespace
