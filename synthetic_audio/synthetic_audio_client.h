#pragma once
// The synthetic endpoints' IAudioClient, shared by the files that make it up:
// its surface (synthetic_audio_client.cpp), its clock
// (synthetic_audio_clock.cpp) and its two services
// (synthetic_audio_services.cpp); not for the endpoints' users.
//
// Threading: the client's calls come from any thread; the endpoint's clock
// is a thread of its own, started by Start and joined by Stop, unplugging or
// the last Release. `mutex` guards everything the two share.

#include <windows.h>

#include <audioclient.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "synthetic_audio/synthetic_audio.h"
#include "synthetic_camera/com_object.h"

inline constexpr UINT32 no_packet = UINT32_MAX;

struct CapturedPacket {
    std::vector<BYTE> bytes;
    UINT32 frames;
    UINT64 position;
    UINT64 qpc_position;
    DWORD flags;
};

struct SyntheticAudioClient final : ComObject<SyntheticAudioClient, IAudioClient3> {
    const SyntheticAudioRole role;
    const SyntheticMix mix;
    const bool low_latency; // offers IAudioClient2 and IAudioClient3
    UINT32 period_frames;   // the engine's; set by InitializeSharedAudioStream
    std::mutex mutex;
    std::condition_variable clock_wake;
    std::thread clock;
    bool initialized = false;
    bool running = false;
    bool invalidated = false;
    DWORD stream_flags = 0;
    HANDLE event = nullptr; // the client's; not owned
    UINT32 buffer_frames = 0;
    UINT64 device_position = 0;
    // Render: queued frames, the packet lent out, what has been played.
    std::deque<float> queued;
    std::vector<float> lent;
    UINT32 lent_frames = no_packet;
    std::vector<float> played;
    // Capture: packets waiting, whether one is lent out, a lost packet to report.
    std::deque<CapturedPacket> packets;
    bool packet_lent = false;
    bool lost_data = false;

    SyntheticAudioClient(SyntheticAudioRole r, const SyntheticMix& m);
    ~SyntheticAudioClient() { stop_clock(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    // The stream's state (synthetic_audio_client.cpp).
    HRESULT usable() const;
    HRESULT initializable(const WAVEFORMATEX* format) const;
    REFERENCE_TIME period() const;
    UINT32 padding() const;

    // The clock (synthetic_audio_clock.cpp).
    void tick();
    void run_clock();
    void stop_clock();

    // IAudioClient.
    HRESULT STDMETHODCALLTYPE Initialize(AUDCLNT_SHAREMODE mode, DWORD flags,
                                         REFERENCE_TIME duration, REFERENCE_TIME periodicity,
                                         const WAVEFORMATEX* format, LPCGUID) override;
    HRESULT STDMETHODCALLTYPE GetBufferSize(UINT32* frames) override;
    HRESULT STDMETHODCALLTYPE GetStreamLatency(REFERENCE_TIME* latency) override;
    HRESULT STDMETHODCALLTYPE GetCurrentPadding(UINT32* frames) override;
    HRESULT STDMETHODCALLTYPE IsFormatSupported(AUDCLNT_SHAREMODE mode, const WAVEFORMATEX* format,
                                                WAVEFORMATEX** closest) override;
    HRESULT STDMETHODCALLTYPE GetMixFormat(WAVEFORMATEX** format) override;
    HRESULT STDMETHODCALLTYPE GetDevicePeriod(REFERENCE_TIME* default_period,
                                              REFERENCE_TIME* minimum_period) override;
    HRESULT STDMETHODCALLTYPE Start() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE SetEventHandle(HANDLE handle) override;
    // In synthetic_audio_services.cpp, beside the services it makes.
    HRESULT STDMETHODCALLTYPE GetService(REFIID iid, void** service) override;

    // IAudioClient2.
    HRESULT STDMETHODCALLTYPE IsOffloadCapable(AUDIO_STREAM_CATEGORY, BOOL* capable) override;
    HRESULT STDMETHODCALLTYPE SetClientProperties(const AudioClientProperties* properties) override;
    HRESULT STDMETHODCALLTYPE GetBufferSizeLimits(const WAVEFORMATEX*, BOOL, REFERENCE_TIME*,
                                                  REFERENCE_TIME*) override;

    // IAudioClient3.
    HRESULT STDMETHODCALLTYPE GetSharedModeEnginePeriod(const WAVEFORMATEX* format,
                                                        UINT32* default_frames, UINT32* fundamental,
                                                        UINT32* minimum, UINT32* maximum) override;
    HRESULT STDMETHODCALLTYPE GetCurrentSharedModeEnginePeriod(WAVEFORMATEX** format,
                                                               UINT32* frames) override;
    HRESULT STDMETHODCALLTYPE InitializeSharedAudioStream(DWORD flags, UINT32 frames,
                                                          const WAVEFORMATEX* format,
                                                          LPCGUID) override;
};

// The object behind a synthetic client; null for any other client.
SyntheticAudioClient* synthetic_object(IAudioClient* client);
