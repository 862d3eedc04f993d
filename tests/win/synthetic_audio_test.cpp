// The synthetic sound endpoints answer as Microsoft documents the real ones:
// the sound thread's tests will stand on them.

#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "audio/audio_device_layer.h"
#include "base/owned_win.h"
#include "synthetic_audio/synthetic_audio.h"

using Microsoft::WRL::ComPtr;

namespace {

// A client of that role, initialised shared and event-driven on the mix
// format, with its event and its service.
struct Stream {
    ComPtr<IAudioClient> client;
    OwnedHandle event{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    ComPtr<IAudioRenderClient> render;
    ComPtr<IAudioCaptureClient> capture;

    explicit Stream(SyntheticAudioRole role) {
        EXPECT_EQ(synthetic_audio_new_client(role, &client), S_OK);
        TaskMemory<WAVEFORMATEX> mix;
        EXPECT_EQ(client->GetMixFormat(mix.put()), S_OK);
        EXPECT_EQ(client->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK, 0,
                                     0, mix.get(), nullptr),
                  S_OK);
        EXPECT_EQ(client->SetEventHandle(event.get()), S_OK);
        client->GetService(IID_PPV_ARGS(&render));
        client->GetService(IID_PPV_ARGS(&capture));
    }
    bool next_period() const { return WaitForSingleObject(event.get(), 2000) == WAIT_OBJECT_0; }
};

TEST(SyntheticAudio, TheLayerOffersTheMicrophoneAndASpeaker) {
    const auto list = std::make_unique<AudioEndpointList>();
    ASSERT_EQ(audio_enum_capture_endpoints(*list), S_OK);
    ASSERT_EQ(list->count, 1);
    EXPECT_STREQ(list->endpoints[0].name, L"Microphone (Tavisko Synthetic Camera)");
    EXPECT_EQ(list->endpoints[0].container_id, synthetic_microphone_container);
    ComPtr<IAudioClient> client;
    EXPECT_EQ(audio_open_capture(list->endpoints[0].id, &client), S_OK);
    EXPECT_EQ(audio_open_capture(L"{0.0.1.00000000}.{gone}", &client), E_NOTFOUND);
    EXPECT_EQ(client, nullptr);
    EXPECT_EQ(audio_open_default_render(&client), S_OK);
}

TEST(SyntheticAudio, CallsOutOfTurnAreRefusedAsDocumented) {
    using Role = SyntheticAudioRole;
    BYTE* data = nullptr;
    UINT32 frames = 0;
    DWORD flags = 0;
    const WAVEFORMATEX cd_audio = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    const struct {
        const char* what;
        Role role;
        std::function<HRESULT(Stream&)> call;
        HRESULT expected;
    } rows[] = {
        {"second Initialize", Role::render,
         [&](Stream& s) {
             return s.client->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, 0, 0, &cd_audio, nullptr);
         },
         AUDCLNT_E_ALREADY_INITIALIZED},
        {"started twice", Role::render,
         [](Stream& s) {
             s.client->Start();
             return s.client->Start();
         },
         AUDCLNT_E_NOT_STOPPED},
        {"stopped when not running", Role::render, [](Stream& s) { return s.client->Stop(); },
         S_FALSE},
        {"more than the room", Role::render,
         [&](Stream& s) { return s.render->GetBuffer(961, &data); }, AUDCLNT_E_BUFFER_TOO_LARGE},
        {"a second packet before the first is released", Role::render,
         [&](Stream& s) {
             s.render->GetBuffer(10, &data);
             return s.render->GetBuffer(10, &data);
         },
         AUDCLNT_E_OUT_OF_ORDER},
        {"a packet of no frames needs no release", Role::render,
         [&](Stream& s) {
             s.render->GetBuffer(0, &data);
             return s.render->GetBuffer(10, &data);
         },
         S_OK},
        {"released more than was lent", Role::render,
         [&](Stream& s) {
             s.render->GetBuffer(10, &data);
             return s.render->ReleaseBuffer(11, 0);
         },
         AUDCLNT_E_INVALID_SIZE},
        {"released with nothing lent", Role::render,
         [](Stream& s) { return s.render->ReleaseBuffer(0, 0); }, AUDCLNT_E_OUT_OF_ORDER},
        {"the capture service of a speaker", Role::render,
         [](Stream& s) {
             ComPtr<IAudioCaptureClient> c;
             return s.client->GetService(IID_PPV_ARGS(&c));
         },
         AUDCLNT_E_WRONG_ENDPOINT_TYPE},
        {"nothing recorded yet", Role::capture,
         [&](Stream& s) { return s.capture->GetBuffer(&data, &frames, &flags, nullptr, nullptr); },
         AUDCLNT_S_BUFFER_EMPTY},
        {"unplugged", Role::capture,
         [&](Stream& s) {
             synthetic_audio_unplug(s.client.Get());
             return s.client->GetCurrentPadding(&frames);
         },
         AUDCLNT_E_DEVICE_INVALIDATED},
        {"unplugged while lent", Role::render,
         [&](Stream& s) {
             s.render->GetBuffer(10, &data);
             synthetic_audio_unplug(s.client.Get());
             return s.render->ReleaseBuffer(10, 0);
         },
         AUDCLNT_E_DEVICE_INVALIDATED},
    };
    for (const auto& row : rows) {
        Stream stream(row.role);
        EXPECT_EQ(row.call(stream), row.expected) << row.what;
        stream.client->Stop();
    }
    ComPtr<IAudioClient> fresh;
    ASSERT_EQ(synthetic_audio_new_client(Role::capture, &fresh), S_OK);
    EXPECT_EQ(fresh->Start(), AUDCLNT_E_NOT_INITIALIZED);
    EXPECT_EQ(fresh->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, 0, 0, &cd_audio, nullptr),
              AUDCLNT_E_UNSUPPORTED_FORMAT);
}

TEST(SyntheticAudio, LowLatencyStreamsTakeTheEnginesPeriodsWhereOffered) {
    ComPtr<IAudioClient> client;
    ComPtr<IAudioClient3> low;
    ASSERT_EQ(synthetic_audio_new_client(SyntheticAudioRole::render, &client), S_OK);
    EXPECT_EQ(client.As(&low), E_NOINTERFACE);
    synthetic_audio_offer_low_latency(true);
    const struct {
        UINT32 frames;
        HRESULT expected;
        UINT32 buffer, current;
    } rows[] = {{96, AUDCLNT_E_INVALID_DEVICE_PERIOD, 0, 480},
                {150, AUDCLNT_E_INVALID_DEVICE_PERIOD, 0, 480},
                {528, AUDCLNT_E_INVALID_DEVICE_PERIOD, 0, 480},
                {144, S_OK, 288, 144},
                {432, S_OK, 864, 432}};
    for (const auto& row : rows) {
        ASSERT_EQ(synthetic_audio_new_client(SyntheticAudioRole::render, &client), S_OK);
        ASSERT_EQ(client.As(&low), S_OK);
        TaskMemory<WAVEFORMATEX> mix;
        ASSERT_EQ(client->GetMixFormat(mix.put()), S_OK);
        UINT32 period[4] = {};
        EXPECT_EQ(low->GetSharedModeEnginePeriod(mix.get(), &period[0], &period[1], &period[2],
                                                 &period[3]),
                  S_OK);
        EXPECT_EQ(std::vector<UINT32>(period, period + 4),
                  (std::vector<UINT32>{480, 48, 144, 480}));
        EXPECT_EQ(low->InitializeSharedAudioStream(0, row.frames, mix.get(), nullptr),
                  row.expected);
        UINT32 buffer = 0;
        low->GetBufferSize(&buffer);
        TaskMemory<WAVEFORMATEX> format;
        EXPECT_EQ(low->GetCurrentSharedModeEnginePeriod(format.put(), &period[0]), S_OK);
        EXPECT_EQ(std::vector<UINT32>({buffer, period[0]}),
                  (std::vector<UINT32>{row.buffer, row.current}));
    }
    synthetic_audio_offer_low_latency(false);
}

TEST(SyntheticAudio, TheMicrophoneDeliversTheToneInPeriodsAndReportsLostData) {
    Stream stream(SyntheticAudioRole::capture);
    ASSERT_EQ(stream.client->Start(), S_OK);
    // Four periods unread: the two-period buffer is full and two are lost.
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(stream.next_period());
    }
    BYTE* data = nullptr;
    UINT32 frames = 0;
    DWORD flags = 0;
    UINT64 position = 0;
    UINT64 stamps[2] = {};
    for (UINT64 expected_position : {0, 480}) {
        ASSERT_EQ(stream.capture->GetBuffer(&data, &frames, &flags, &position, &stamps[0]), S_OK);
        EXPECT_EQ(stream.capture->ReleaseBuffer(100), AUDCLNT_E_INVALID_SIZE);
        EXPECT_EQ(stream.capture->ReleaseBuffer(0), S_OK) << "unread: the same packet again";
        ASSERT_EQ(stream.capture->GetBuffer(&data, &frames, &flags, &position, &stamps[1]), S_OK);
        EXPECT_EQ(position, expected_position);
        EXPECT_EQ(frames, 480u);
        EXPECT_EQ(flags, 0u);
        const auto* samples = reinterpret_cast<const float*>(data);
        // Frames 4, 12 and 36 of each 48-frame cycle, both channels.
        EXPECT_NEAR(samples[8], 0.25f, 1e-5f);
        EXPECT_NEAR(samples[9], 0.25f, 1e-5f);
        EXPECT_NEAR(samples[24], 0.5f, 1e-5f);
        EXPECT_NEAR(samples[72], -0.5f, 1e-5f);
        EXPECT_EQ(stamps[0], stamps[1]);
        EXPECT_EQ(stream.capture->ReleaseBuffer(frames), S_OK);
    }
    UINT64 first_stamp = stamps[0];
    UINT32 next = 0;
    for (int i = 0; i < 20 && next == 0; ++i) {
        ASSERT_TRUE(stream.next_period());
        ASSERT_EQ(stream.capture->GetNextPacketSize(&next), S_OK);
    }
    ASSERT_EQ(stream.capture->GetBuffer(&data, &frames, &flags, &position, &stamps[0]), S_OK);
    EXPECT_EQ(flags, static_cast<DWORD>(AUDCLNT_BUFFERFLAGS_DATA_DISCONTINUITY));
    EXPECT_GE(position, 1920u);
    EXPECT_GT(stamps[0], first_stamp);
    EXPECT_EQ(stream.capture->ReleaseBuffer(frames), S_OK);
}

TEST(SyntheticAudio, TheSpeakerPlaysWhatItIsGivenAndSilenceAsZeros) {
    Stream stream(SyntheticAudioRole::render);
    BYTE* data = nullptr;
    ASSERT_EQ(stream.render->GetBuffer(480, &data), S_OK);
    auto* samples = reinterpret_cast<float*>(data);
    for (int i = 0; i < 960; ++i) {
        samples[i] = 0.25f;
    }
    ASSERT_EQ(stream.render->ReleaseBuffer(480, 0), S_OK);
    ASSERT_EQ(stream.render->GetBuffer(480, &data), S_OK);
    reinterpret_cast<float*>(data)[0] = 0.75f; // not played: the packet is released silent
    ASSERT_EQ(stream.render->ReleaseBuffer(240, AUDCLNT_BUFFERFLAGS_SILENT), S_OK);
    UINT32 padding = 0;
    ASSERT_EQ(stream.client->GetCurrentPadding(&padding), S_OK);
    EXPECT_EQ(padding, 720u);
    ASSERT_EQ(stream.client->Start(), S_OK);
    for (int i = 0; i < 20 && padding > 0; ++i) {
        ASSERT_TRUE(stream.next_period());
        ASSERT_EQ(stream.client->GetCurrentPadding(&padding), S_OK);
    }
    const std::vector<float> played = synthetic_audio_played(stream.client.Get());
    ASSERT_GE(played.size(), 1920u); // and silence on, once nothing is queued
    EXPECT_EQ(played[0], 0.25f);
    EXPECT_EQ(played[959], 0.25f);
    EXPECT_EQ(played[960], 0.0f);
    EXPECT_EQ(played[1919], 0.0f);
    EXPECT_EQ(stream.client->Stop(), S_OK);
}

} // namespace
