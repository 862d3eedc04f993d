// The synthetic endpoints' IAudioClient surface: setting a stream up, the
// questions about its format, period and padding, and IAudioClient2 and
// IAudioClient3's low-latency streams. The rules are Microsoft's, from:
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nn-audioclient-iaudioclient
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nn-audioclient-iaudioclient3
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudioclient3-getsharedmodeengineperiod
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudioclient3-initializesharedaudiostream

#include <windows.h>

#include <ks.h>
#include <ksmedia.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "synthetic_audio/synthetic_audio_client.h"

using Microsoft::WRL::ComPtr;

namespace {

// Asks a client for its object; only the synthetic client answers.
constexpr IID synthetic_client_iid = {
    0x7a1c5e02, 0x0000, 0x4000, {0x80, 0x00, 0x74, 0x61, 0x76, 0x69, 0x73, 0x00}};

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

} // namespace

SyntheticAudioClient::SyntheticAudioClient(SyntheticAudioRole r, const SyntheticMix& m)
    : role(r), mix(m), low_latency(low_latency_offered().load()),
      period_frames(engine_periods(m.rate).default_frames) {}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::QueryInterface(REFIID iid, void** out) {
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
HRESULT SyntheticAudioClient::usable() const {
    if (invalidated) {
        return AUDCLNT_E_DEVICE_INVALIDATED;
    }
    return initialized ? S_OK : AUDCLNT_E_NOT_INITIALIZED;
}

// What both initialisations refuse first.
HRESULT SyntheticAudioClient::initializable(const WAVEFORMATEX* format) const {
    if (format == nullptr) {
        return E_POINTER;
    }
    if (invalidated) {
        return AUDCLNT_E_DEVICE_INVALIDATED;
    }
    return initialized ? AUDCLNT_E_ALREADY_INITIALIZED : S_OK;
}

REFERENCE_TIME SyntheticAudioClient::period() const {
    return REFERENCE_TIME{period_frames} * 10000000 / mix.rate;
}

UINT32 SyntheticAudioClient::padding() const {
    if (role == SyntheticAudioRole::render) {
        return static_cast<UINT32>(queued.size() / mix.channels);
    }
    UINT32 frames = 0;
    for (const CapturedPacket& packet : packets) {
        frames += packet.frames;
    }
    return frames;
}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::Initialize(AUDCLNT_SHAREMODE mode, DWORD flags,
                                                           REFERENCE_TIME duration,
                                                           REFERENCE_TIME periodicity,
                                                           const WAVEFORMATEX* format, LPCGUID) {
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

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetBufferSize(UINT32* frames) {
    std::lock_guard lock(mutex);
    if (frames == nullptr) {
        return E_POINTER;
    }
    const HRESULT hr = usable();
    *frames = SUCCEEDED(hr) ? buffer_frames : 0;
    return hr;
}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetStreamLatency(REFERENCE_TIME* latency) {
    std::lock_guard lock(mutex);
    if (latency == nullptr) {
        return E_POINTER;
    }
    *latency = period();
    return usable();
}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetCurrentPadding(UINT32* frames) {
    std::lock_guard lock(mutex);
    if (frames == nullptr) {
        return E_POINTER;
    }
    const HRESULT hr = usable();
    *frames = SUCCEEDED(hr) ? padding() : 0;
    return hr;
}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::IsFormatSupported(AUDCLNT_SHAREMODE mode,
                                                                  const WAVEFORMATEX* format,
                                                                  WAVEFORMATEX** closest) {
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

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetMixFormat(WAVEFORMATEX** format) {
    if (format == nullptr) {
        return E_POINTER;
    }
    auto* copy = static_cast<WAVEFORMATEXTENSIBLE*>(CoTaskMemAlloc(sizeof(WAVEFORMATEXTENSIBLE)));
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    *copy = mix_format(mix);
    *format = &copy->Format;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetDevicePeriod(REFERENCE_TIME* default_period,
                                                                REFERENCE_TIME* minimum_period) {
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

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::SetEventHandle(HANDLE handle) {
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

// IAudioClient2, as little as its pages allow: no offload.
HRESULT STDMETHODCALLTYPE SyntheticAudioClient::IsOffloadCapable(AUDIO_STREAM_CATEGORY,
                                                                 BOOL* capable) {
    if (capable == nullptr) {
        return E_POINTER;
    }
    *capable = FALSE;
    return S_OK;
}

// Categories and options change nothing here.
HRESULT STDMETHODCALLTYPE
SyntheticAudioClient::SetClientProperties(const AudioClientProperties* properties) {
    return properties == nullptr ? E_POINTER : S_OK;
}

// For hardware-offloaded streams, which the synthetic engine has none of.
HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetBufferSizeLimits(const WAVEFORMATEX*, BOOL,
                                                                    REFERENCE_TIME*,
                                                                    REFERENCE_TIME*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::GetSharedModeEnginePeriod(
    const WAVEFORMATEX* format, UINT32* default_frames, UINT32* fundamental, UINT32* minimum,
    UINT32* maximum) {
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
HRESULT STDMETHODCALLTYPE
SyntheticAudioClient::GetCurrentSharedModeEnginePeriod(WAVEFORMATEX** format, UINT32* frames) {
    if (format == nullptr || frames == nullptr) {
        return E_POINTER;
    }
    std::lock_guard lock(mutex);
    *frames = period_frames;
    return GetMixFormat(format);
}

// A shared stream at `frames` periods, its buffer two of them (the docs
// leave the size to the engine).
HRESULT STDMETHODCALLTYPE SyntheticAudioClient::InitializeSharedAudioStream(
    DWORD flags, UINT32 frames, const WAVEFORMATEX* format, LPCGUID) {
    std::lock_guard lock(mutex);
    const HRESULT hr = initializable(format);
    if (FAILED(hr)) {
        return hr;
    }
    if (!is_mix_format(mix, format)) {
        return AUDCLNT_E_UNSUPPORTED_FORMAT;
    }
    const EnginePeriods periods = engine_periods(mix.rate);
    if (frames % periods.fundamental != 0 || frames < periods.minimum || frames > periods.maximum) {
        return AUDCLNT_E_INVALID_DEVICE_PERIOD;
    }
    period_frames = frames;
    buffer_frames = 2 * frames;
    stream_flags = flags;
    initialized = true;
    return S_OK;
}

SyntheticAudioClient* synthetic_object(IAudioClient* client) {
    ComPtr<IUnknown> object;
    if (client == nullptr ||
        FAILED(client->QueryInterface(synthetic_client_iid,
                                      reinterpret_cast<void**>(object.GetAddressOf())))) {
        return nullptr;
    }
    return static_cast<SyntheticAudioClient*>(static_cast<IAudioClient*>(object.Get()));
}

HRESULT synthetic_audio_new_client(SyntheticAudioRole role, IAudioClient** client,
                                   const SyntheticMix& mix) {
    if (client == nullptr) {
        return E_POINTER;
    }
    *client = adopt_new<IAudioClient>(new SyntheticAudioClient(role, mix)).Detach();
    return S_OK;
}

void synthetic_audio_offer_low_latency(bool offered) {
    low_latency_offered().store(offered);
}
