// The synthetic endpoints' IAudioClient and its two services. The rules are
// Microsoft's, from:
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nn-audioclient-iaudioclient
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudiorenderclient-getbuffer
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudiocaptureclient-getbuffer
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudiocaptureclient-releasebuffer
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nn-audioclient-iaudioclient3
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudioclient3-getsharedmodeengineperiod
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudioclient3-initializesharedaudiostream
//
// Threading: the client's calls come from any thread; the endpoint's clock
// is a thread of its own, started by Start and joined by Stop, unplugging or
// the last Release. `mutex` guards everything the two share.

#include <windows.h>

#include <ks.h>
#include <ksmedia.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <numbers>
#include <thread>

#include "synthetic_audio/synthetic_audio.h"
#include "synthetic_camera/com_object.h"

using Microsoft::WRL::ComPtr;

namespace {

// Asks a client for its object; only the synthetic client answers.
constexpr IID synthetic_client_iid = {
    0x7a1c5e02, 0x0000, 0x4000, {0x80, 0x00, 0x74, 0x61, 0x76, 0x69, 0x73, 0x00}};

constexpr UINT32 no_packet = UINT32_MAX;

struct CapturedPacket {
    std::vector<BYTE> bytes;
    UINT32 frames;
    UINT64 position;
    UINT64 qpc_position;
    DWORD flags;
};

// The performance counter in 100-ns units, as capture packets are stamped.
UINT64 qpc_now_100ns() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<UINT64>(now.QuadPart / frequency.QuadPart * 10000000 +
                               now.QuadPart % frequency.QuadPart * 10000000 / frequency.QuadPart);
}

// A test's hung driver: while `hung`, a capture client's GetBuffer does not
// return. Nothing in Microsoft's pages bounds how long a driver may take.
struct CaptureHang {
    std::mutex lock;
    std::condition_variable released;
    bool hung = false;
};

CaptureHang& capture_hang() {
    static CaptureHang record;
    return record;
}

// Whether clients made from now on offer IAudioClient2 and IAudioClient3, as
// Windows 10's do; off, they answer E_NOINTERFACE, as Windows 7's do.
std::atomic<bool>& low_latency_offered() {
    static std::atomic<bool> offered{false};
    return offered;
}

// The periods the synthetic engine runs a stream at, in frames: 10 ms by
// default and at most, 3 ms at least, in steps of 1 ms where the rate has
// whole frames per millisecond (48 kHz: 480, 48, 144, 480).
struct EnginePeriods {
    UINT32 default_frames;
    UINT32 fundamental;
    UINT32 minimum;
    UINT32 maximum;
};

EnginePeriods engine_periods(UINT32 rate) {
    const UINT32 fundamental = rate % 1000 == 0 ? rate / 1000 : 1;
    return {rate / 100, fundamental, 3 * rate / 1000 / fundamental * fundamental, rate / 100};
}

WAVEFORMATEXTENSIBLE mix_format(const SyntheticMix& mix) {
    WAVEFORMATEXTENSIBLE format{};
    format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    format.Format.nChannels = mix.channels;
    format.Format.nSamplesPerSec = mix.rate;
    format.Format.wBitsPerSample = mix.bits;
    format.Format.nBlockAlign = WORD(mix.channels * mix.bits / 8);
    format.Format.nAvgBytesPerSec = mix.rate * format.Format.nBlockAlign;
    format.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    format.Samples.wValidBitsPerSample = mix.bits;
    format.dwChannelMask =
        mix.channels == 1 ? SPEAKER_FRONT_CENTER : SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT;
    format.SubFormat = mix.bits == 32 ? KSDATAFORMAT_SUBTYPE_IEEE_FLOAT : KSDATAFORMAT_SUBTYPE_PCM;
    return format;
}

bool is_mix_format(const SyntheticMix& own, const WAVEFORMATEX* format) {
    const WAVEFORMATEXTENSIBLE mix = mix_format(own);
    if (format->wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
        const auto* extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(format);
        return format->cbSize >= mix.Format.cbSize && extensible->SubFormat == mix.SubFormat &&
               std::memcmp(format, &mix.Format, sizeof(WAVEFORMATEX)) == 0;
    }
    return format->wFormatTag == (own.bits == 32 ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM) &&
           format->nChannels == mix.Format.nChannels &&
           format->nSamplesPerSec == mix.Format.nSamplesPerSec &&
           format->wBitsPerSample == mix.Format.wBitsPerSample;
}

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

    SyntheticAudioClient(SyntheticAudioRole r, const SyntheticMix& m)
        : role(r), mix(m), low_latency(low_latency_offered().load()),
          period_frames(engine_periods(m.rate).default_frames) {}
    ~SyntheticAudioClient() { stop_clock(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out != nullptr && iid == synthetic_client_iid) {
            AddRef();
            *out = static_cast<IAudioClient*>(this);
            return S_OK;
        }
        if (!low_latency) {
            return answer_query<IAudioClient>(iid, out, this,
                                              {__uuidof(IUnknown), __uuidof(IAudioClient)});
        }
        return answer_query<IAudioClient3>(iid, out, this,
                                           {__uuidof(IUnknown), __uuidof(IAudioClient),
                                            __uuidof(IAudioClient2), __uuidof(IAudioClient3)});
    }

    // The state every call but the format questions needs, in the order
    // Windows reports it.
    HRESULT usable() const {
        if (invalidated) {
            return AUDCLNT_E_DEVICE_INVALIDATED;
        }
        return initialized ? S_OK : AUDCLNT_E_NOT_INITIALIZED;
    }

    // What both initialisations refuse first.
    HRESULT initializable(const WAVEFORMATEX* format) const {
        if (format == nullptr) {
            return E_POINTER;
        }
        if (invalidated) {
            return AUDCLNT_E_DEVICE_INVALIDATED;
        }
        return initialized ? AUDCLNT_E_ALREADY_INITIALIZED : S_OK;
    }

    REFERENCE_TIME period() const { return REFERENCE_TIME{period_frames} * 10000000 / mix.rate; }

    UINT32 padding() const {
        if (role == SyntheticAudioRole::render) {
            return static_cast<UINT32>(queued.size() / mix.channels);
        }
        UINT32 frames = 0;
        for (const CapturedPacket& packet : packets) {
            frames += packet.frames;
        }
        return frames;
    }

    // One period of the device, under the lock: the speaker plays what is
    // queued, the microphone records a packet or, with no room, loses it.
    void tick() {
        const UINT32 frames = period_frames;
        if (role == SyntheticAudioRole::render) {
            // Short of frames, the device plays silence for the rest: its
            // clock does not wait for the client (a glitch).
            const size_t want = size_t{frames} * mix.channels;
            const size_t take = std::min(queued.size(), want);
            played.insert(played.end(), queued.begin(), queued.begin() + take);
            played.insert(played.end(), want - take, 0.0f);
            queued.erase(queued.begin(), queued.begin() + take);
        } else if (padding() + frames > buffer_frames) {
            lost_data = true;
        } else {
            CapturedPacket packet{{}, frames, device_position, qpc_now_100ns(), 0};
            packet.bytes.resize(size_t{frames} * mix.channels * mix.bits / 8);
            for (UINT32 i = 0; i < frames * mix.channels; ++i) {
                const double t = double(device_position + i / mix.channels) / mix.rate;
                const double sample = 0.5 * std::sin(2 * std::numbers::pi * 1000.0 * t);
                if (mix.bits == 32) {
                    reinterpret_cast<float*>(packet.bytes.data())[i] = float(sample);
                } else {
                    reinterpret_cast<int16_t*>(packet.bytes.data())[i] =
                        int16_t(std::lround(sample * 32768));
                }
            }
            if (lost_data) {
                packet.flags |= AUDCLNT_BUFFERFLAGS_DATA_DISCONTINUITY;
                lost_data = false;
            }
            packets.push_back(std::move(packet));
        }
        device_position += frames;
        if (event != nullptr) {
            SetEvent(event);
        }
    }

    // Ticks on a schedule from Start, so late wake-ups do not slow the clock.
    // A tick that comes late is the engine's pass coming late, which a
    // device's own buffer covers: the periods missed follow a millisecond
    // apart, each signalled, rather than all at once. But a device's clock
    // does not wait: what lies more than 10 ms behind (a thread starved on a
    // busy machine, where wakes cost more than a 3 ms period) is played at
    // once, so that the clock keeps its rate.
    void run_clock() {
        std::unique_lock lock(mutex);
        auto due = std::chrono::steady_clock::now();
        const std::chrono::nanoseconds step(int64_t{period_frames} * 1000000000 / mix.rate);
        const std::chrono::nanoseconds most_behind(synthetic_audio_period * 100);
        while (running) {
            due += step;
            const auto next =
                std::max(due, std::chrono::steady_clock::now() + std::chrono::milliseconds(1));
            if (clock_wake.wait_until(lock, next, [this] { return !running; })) {
                break;
            }
            tick();
            while (std::chrono::steady_clock::now() - due > most_behind + step) {
                due += step;
                tick();
            }
        }
    }

    // Not under the lock: the clock thread takes it to finish.
    void stop_clock() {
        {
            std::lock_guard lock(mutex);
            running = false;
        }
        clock_wake.notify_all();
        if (clock.joinable()) {
            clock.join();
        }
    }

    HRESULT STDMETHODCALLTYPE Initialize(AUDCLNT_SHAREMODE mode, DWORD flags,
                                         REFERENCE_TIME duration, REFERENCE_TIME periodicity,
                                         const WAVEFORMATEX* format, LPCGUID) override {
        std::lock_guard lock(mutex);
        const HRESULT hr = initializable(format);
        if (FAILED(hr)) {
            return hr;
        }
        if (mode != AUDCLNT_SHAREMODE_SHARED) {
            return AUDCLNT_E_EXCLUSIVE_MODE_NOT_ALLOWED;
        }
        // Shared mode takes no periodicity but 0; a shorter one is
        // InitializeSharedAudioStream's.
        if (periodicity != 0 || duration < 0) {
            return E_INVALIDARG;
        }
        if (!is_mix_format(mix, format)) {
            return AUDCLNT_E_UNSUPPORTED_FORMAT;
        }
        // At least two periods, as the engine needs to refill one while it
        // plays the other.
        const REFERENCE_TIME kept = std::max(duration, 2 * synthetic_audio_period);
        buffer_frames = static_cast<UINT32>((kept * mix.rate + 9999999) / 10000000);
        stream_flags = flags;
        initialized = true;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetBufferSize(UINT32* frames) override {
        std::lock_guard lock(mutex);
        if (frames == nullptr) {
            return E_POINTER;
        }
        const HRESULT hr = usable();
        *frames = SUCCEEDED(hr) ? buffer_frames : 0;
        return hr;
    }

    HRESULT STDMETHODCALLTYPE GetStreamLatency(REFERENCE_TIME* latency) override {
        std::lock_guard lock(mutex);
        if (latency == nullptr) {
            return E_POINTER;
        }
        *latency = period();
        return usable();
    }

    HRESULT STDMETHODCALLTYPE GetCurrentPadding(UINT32* frames) override {
        std::lock_guard lock(mutex);
        if (frames == nullptr) {
            return E_POINTER;
        }
        const HRESULT hr = usable();
        *frames = SUCCEEDED(hr) ? padding() : 0;
        return hr;
    }

    HRESULT STDMETHODCALLTYPE IsFormatSupported(AUDCLNT_SHAREMODE mode, const WAVEFORMATEX* format,
                                                WAVEFORMATEX** closest) override {
        if (format == nullptr || (mode == AUDCLNT_SHAREMODE_SHARED && closest == nullptr)) {
            return E_POINTER;
        }
        if (closest != nullptr) {
            *closest = nullptr;
        }
        if (mode != AUDCLNT_SHAREMODE_SHARED) {
            return AUDCLNT_E_UNSUPPORTED_FORMAT;
        }
        if (is_mix_format(mix, format)) {
            return S_OK;
        }
        return GetMixFormat(closest) == S_OK ? S_FALSE : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE GetMixFormat(WAVEFORMATEX** format) override {
        if (format == nullptr) {
            return E_POINTER;
        }
        auto* copy =
            static_cast<WAVEFORMATEXTENSIBLE*>(CoTaskMemAlloc(sizeof(WAVEFORMATEXTENSIBLE)));
        if (copy == nullptr) {
            return E_OUTOFMEMORY;
        }
        *copy = mix_format(mix);
        *format = &copy->Format;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetDevicePeriod(REFERENCE_TIME* default_period,
                                              REFERENCE_TIME* minimum_period) override {
        if (default_period == nullptr && minimum_period == nullptr) {
            return E_POINTER;
        }
        // The device's, whatever period a stream asked the engine for.
        if (default_period != nullptr) {
            *default_period = synthetic_audio_period;
        }
        if (minimum_period != nullptr) {
            *minimum_period = synthetic_audio_period * 3 / 10;
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Start() override {
        std::lock_guard lock(mutex);
        HRESULT hr = usable();
        if (FAILED(hr)) {
            return hr;
        }
        if (running) {
            return AUDCLNT_E_NOT_STOPPED;
        }
        if ((stream_flags & AUDCLNT_STREAMFLAGS_EVENTCALLBACK) != 0 && event == nullptr) {
            return AUDCLNT_E_EVENTHANDLE_NOT_SET;
        }
        // Any earlier clock thread was joined by Stop, which a second Start needs.
        running = true;
        clock = std::thread([this] { run_clock(); });
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Stop() override {
        bool was_running = false;
        {
            std::lock_guard lock(mutex);
            const HRESULT hr = usable();
            if (FAILED(hr)) {
                return hr;
            }
            was_running = running;
        }
        stop_clock();
        return was_running ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Reset() override {
        std::lock_guard lock(mutex);
        const HRESULT hr = usable();
        if (FAILED(hr)) {
            return hr;
        }
        if (running) {
            return AUDCLNT_E_NOT_STOPPED;
        }
        if (lent_frames != no_packet || packet_lent) {
            return AUDCLNT_E_BUFFER_OPERATION_PENDING;
        }
        queued.clear();
        packets.clear();
        device_position = 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetEventHandle(HANDLE handle) override {
        std::lock_guard lock(mutex);
        const HRESULT hr = usable();
        if (FAILED(hr)) {
            return hr;
        }
        if (handle == nullptr) {
            return E_INVALIDARG;
        }
        if ((stream_flags & AUDCLNT_STREAMFLAGS_EVENTCALLBACK) == 0) {
            return AUDCLNT_E_EVENTHANDLE_NOT_EXPECTED;
        }
        event = handle;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetService(REFIID iid, void** service) override;

    // IAudioClient2, as little as its pages allow: no offload.
    HRESULT STDMETHODCALLTYPE IsOffloadCapable(AUDIO_STREAM_CATEGORY, BOOL* capable) override {
        if (capable == nullptr) {
            return E_POINTER;
        }
        *capable = FALSE;
        return S_OK;
    }

    // Categories and options change nothing here.
    HRESULT STDMETHODCALLTYPE
    SetClientProperties(const AudioClientProperties* properties) override {
        return properties == nullptr ? E_POINTER : S_OK;
    }

    // For hardware-offloaded streams, which the synthetic engine has none of.
    HRESULT STDMETHODCALLTYPE GetBufferSizeLimits(const WAVEFORMATEX*, BOOL, REFERENCE_TIME*,
                                                  REFERENCE_TIME*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetSharedModeEnginePeriod(const WAVEFORMATEX* format,
                                                        UINT32* default_frames, UINT32* fundamental,
                                                        UINT32* minimum, UINT32* maximum) override {
        if (format == nullptr || default_frames == nullptr || fundamental == nullptr ||
            minimum == nullptr || maximum == nullptr) {
            return E_POINTER;
        }
        if (!is_mix_format(mix, format)) {
            return AUDCLNT_E_UNSUPPORTED_FORMAT;
        }
        const EnginePeriods periods = engine_periods(mix.rate);
        *default_frames = periods.default_frames;
        *fundamental = periods.fundamental;
        *minimum = periods.minimum;
        *maximum = periods.maximum;
        return S_OK;
    }

    // The engine is the endpoint's own: its period is the stream's.
    HRESULT STDMETHODCALLTYPE GetCurrentSharedModeEnginePeriod(WAVEFORMATEX** format,
                                                               UINT32* frames) override {
        if (format == nullptr || frames == nullptr) {
            return E_POINTER;
        }
        std::lock_guard lock(mutex);
        *frames = period_frames;
        return GetMixFormat(format);
    }

    // A shared stream at `frames` periods, its buffer two of them (the docs
    // leave the size to the engine).
    HRESULT STDMETHODCALLTYPE InitializeSharedAudioStream(DWORD flags, UINT32 frames,
                                                          const WAVEFORMATEX* format,
                                                          LPCGUID) override {
        std::lock_guard lock(mutex);
        const HRESULT hr = initializable(format);
        if (FAILED(hr)) {
            return hr;
        }
        if (!is_mix_format(mix, format)) {
            return AUDCLNT_E_UNSUPPORTED_FORMAT;
        }
        const EnginePeriods periods = engine_periods(mix.rate);
        if (frames % periods.fundamental != 0 || frames < periods.minimum ||
            frames > periods.maximum) {
            return AUDCLNT_E_INVALID_DEVICE_PERIOD;
        }
        period_frames = frames;
        buffer_frames = 2 * frames;
        stream_flags = flags;
        initialized = true;
        return S_OK;
    }
};

SyntheticAudioClient* synthetic_object(IAudioClient* client) {
    ComPtr<IUnknown> object;
    if (client == nullptr ||
        FAILED(client->QueryInterface(synthetic_client_iid,
                                      reinterpret_cast<void**>(object.GetAddressOf())))) {
        return nullptr;
    }
    return static_cast<SyntheticAudioClient*>(static_cast<IAudioClient*>(object.Get()));
}

// The speaker's packets, lent from a staging block and queued at release.
struct SyntheticRenderService final : ComObject<SyntheticRenderService, IAudioRenderClient> {
    ComPtr<SyntheticAudioClient> owner;
    explicit SyntheticRenderService(SyntheticAudioClient* client) : owner(client) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return answer_query<IAudioRenderClient>(iid, out, this,
                                                {__uuidof(IUnknown), __uuidof(IAudioRenderClient)});
    }

    HRESULT STDMETHODCALLTYPE GetBuffer(UINT32 frames, BYTE** data) override {
        SyntheticAudioClient& c = *owner.Get();
        std::lock_guard lock(c.mutex);
        if (data == nullptr) {
            return E_POINTER;
        }
        *data = nullptr;
        const HRESULT hr = c.usable();
        if (FAILED(hr)) {
            return hr;
        }
        if (c.lent_frames != no_packet && c.lent_frames != 0) {
            return AUDCLNT_E_OUT_OF_ORDER;
        }
        if (frames > c.buffer_frames - c.padding()) {
            return AUDCLNT_E_BUFFER_TOO_LARGE;
        }
        c.lent.assign(size_t{frames} * c.mix.channels, 0.0f);
        c.lent_frames = frames;
        *data = reinterpret_cast<BYTE*>(c.lent.data());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE ReleaseBuffer(UINT32 frames, DWORD flags) override {
        SyntheticAudioClient& c = *owner.Get();
        std::lock_guard lock(c.mutex);
        const HRESULT hr = c.usable();
        if (FAILED(hr)) {
            return hr;
        }
        if (c.lent_frames == no_packet) {
            return AUDCLNT_E_OUT_OF_ORDER;
        }
        if (frames > c.lent_frames) {
            return AUDCLNT_E_INVALID_SIZE;
        }
        const size_t samples = size_t{frames} * c.mix.channels;
        if ((flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0) {
            c.queued.insert(c.queued.end(), samples, 0.0f);
        } else {
            c.queued.insert(c.queued.end(), c.lent.begin(), c.lent.begin() + samples);
        }
        c.lent_frames = no_packet;
        return S_OK;
    }
};

// The microphone's packets, lent in place; one not read stays first.
struct SyntheticCaptureService final : ComObject<SyntheticCaptureService, IAudioCaptureClient> {
    ComPtr<SyntheticAudioClient> owner;
    explicit SyntheticCaptureService(SyntheticAudioClient* client) : owner(client) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return answer_query<IAudioCaptureClient>(
            iid, out, this, {__uuidof(IUnknown), __uuidof(IAudioCaptureClient)});
    }

    HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** data, UINT32* frames, DWORD* flags, UINT64* position,
                                        UINT64* qpc_position) override {
        {
            CaptureHang& hang = capture_hang();
            std::unique_lock hold(hang.lock);
            hang.released.wait(hold, [&hang] { return !hang.hung; });
        }
        SyntheticAudioClient& c = *owner.Get();
        std::lock_guard lock(c.mutex);
        if (data == nullptr || frames == nullptr || flags == nullptr) {
            return E_POINTER;
        }
        *data = nullptr;
        *frames = 0;
        *flags = 0;
        const HRESULT hr = c.usable();
        if (FAILED(hr)) {
            return hr;
        }
        if (c.packet_lent) {
            return AUDCLNT_E_OUT_OF_ORDER;
        }
        if (c.packets.empty()) {
            return AUDCLNT_S_BUFFER_EMPTY;
        }
        CapturedPacket& packet = c.packets.front();
        *data = packet.bytes.data();
        *frames = packet.frames;
        *flags = packet.flags;
        if (position != nullptr) {
            *position = packet.position;
        }
        if (qpc_position != nullptr) {
            *qpc_position = packet.qpc_position;
        }
        c.packet_lent = true;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE ReleaseBuffer(UINT32 frames) override {
        SyntheticAudioClient& c = *owner.Get();
        std::lock_guard lock(c.mutex);
        const HRESULT hr = c.usable();
        if (FAILED(hr)) {
            return hr;
        }
        if (!c.packet_lent) {
            return AUDCLNT_E_OUT_OF_ORDER;
        }
        const size_t packet_frames = c.packets.front().frames;
        if (frames != 0 && frames != packet_frames) {
            return AUDCLNT_E_INVALID_SIZE;
        }
        if (frames != 0) {
            c.packets.pop_front();
        }
        c.packet_lent = false;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetNextPacketSize(UINT32* frames) override {
        SyntheticAudioClient& c = *owner.Get();
        std::lock_guard lock(c.mutex);
        if (frames == nullptr) {
            return E_POINTER;
        }
        *frames = 0;
        const HRESULT hr = c.usable();
        if (SUCCEEDED(hr) && !c.packets.empty()) {
            *frames = c.packets.front().frames;
        }
        return hr;
    }
};

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetService(REFIID iid, void** service) {
    if (service == nullptr) {
        return E_POINTER;
    }
    *service = nullptr;
    {
        std::lock_guard lock(mutex);
        const HRESULT hr = usable();
        if (FAILED(hr)) {
            return hr;
        }
    }
    const bool render = role == SyntheticAudioRole::render;
    if (iid == __uuidof(IAudioRenderClient) || iid == __uuidof(IAudioCaptureClient)) {
        if (render != (iid == __uuidof(IAudioRenderClient))) {
            return AUDCLNT_E_WRONG_ENDPOINT_TYPE;
        }
        if (render) {
            *service = adopt_new<IAudioRenderClient>(new SyntheticRenderService(this)).Detach();
        } else {
            *service = adopt_new<IAudioCaptureClient>(new SyntheticCaptureService(this)).Detach();
        }
        return S_OK;
    }
    return E_NOINTERFACE;
}

} // namespace

HRESULT synthetic_audio_new_client(SyntheticAudioRole role, IAudioClient** client,
                                   const SyntheticMix& mix) {
    if (client == nullptr) {
        return E_POINTER;
    }
    *client = adopt_new<IAudioClient>(new SyntheticAudioClient(role, mix)).Detach();
    return S_OK;
}

std::vector<float> synthetic_audio_played(IAudioClient* client) {
    SyntheticAudioClient* object = synthetic_object(client);
    if (object == nullptr) {
        return {};
    }
    std::lock_guard lock(object->mutex);
    return object->played;
}

void synthetic_audio_unplug(IAudioClient* client) {
    SyntheticAudioClient* object = synthetic_object(client);
    if (object == nullptr) {
        return;
    }
    {
        std::lock_guard lock(object->mutex);
        object->invalidated = true;
    }
    object->stop_clock();
}

void synthetic_audio_hang_capture(bool hung) {
    CaptureHang& hang = capture_hang();
    {
        const std::lock_guard hold(hang.lock);
        hang.hung = hung;
    }
    hang.released.notify_all();
}

void synthetic_audio_offer_low_latency(bool offered) {
    low_latency_offered().store(offered);
}
