// The sound thread: plays one capture endpoint through the default output.
// Both endpoints run shared, event-driven, each at its own mix format; the
// conversion to the output's float frames and the two clocks' drift are the
// program's own (audio/drift.h), so no AUTOCONVERTPCM and no RATEADJUST.
// The thread does both sides, so the drift needs no lock. It touches nothing
// but its run record (audio/sound_run_win.h) and reports only by posting
// WM_APP_SOUND, under the run's lock, while no stop has been asked for.

#include <audiopolicy.h>
#include <avrt.h>
#include <ks.h>
#include <ksmedia.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdlib>

#include "audio/audio_device_layer.h"
#include "audio/drift.h"
#include "audio/sound_run_win.h"
#include "base/messages_win.h"
#include "base/owned_win.h"

using Microsoft::WRL::ComPtr;

namespace {

// The program's own delay is the output's padding, the drift's fill and the
// captured frames not yet read. Their sum falls by a period at each of the
// output's periods and rises by one at each of the input's, so it swings
// over a period around the output kept plus the drift's target. The output
// keeps 1.5 periods, so it outlasts a wake half a period late; the drift
// aims at 1.75, so that after a take it still holds more than a take: the
// periods of two endpoints that fall together come in either order, and two
// takes may follow each other. With 10 ms periods, 25-38 ms in all.
constexpr int32_t output_kept_quarters = 6; // of a period
constexpr int32_t drift_target_quarters = 7;
// Beyond the target: what a stalled output may build up before frames drop.
constexpr int32_t drift_room_ms = 60;
// The wait wakes at least this often, whether or not an endpoint signals.
constexpr DWORD wait_bound_ms = 1000;
// The endpoints' buffers where the period is the default: room for a wake
// that comes periods late, which costs no delay while wakes come in time
// (the output is kept at output_kept_quarters, the input read out each wake).
constexpr REFERENCE_TIME buffer_duration = 500000; // 50 ms
// Packets read in one wake at most, so that a flood cannot starve the output.
constexpr int32_t packets_per_wake = 32;

inline void revert_mmcss(HANDLE task) {
    AvRevertMmThreadCharacteristics(task);
}
using MmcssTask = Owned<HANDLE, revert_mmcss>;
using OwnedWatch = Owned<AudioOutputWatch*, audio_unwatch>;

// How a flow ended: 0 for a stop.
struct Outcome {
    int32_t end;
    HRESULT hr;
};

// The capture format as the conversion reads it; false for one it cannot.
bool read_format(const WAVEFORMATEX* wave, AudioFormat& format) {
    bool is_float = wave->wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
    bool is_integer = wave->wFormatTag == WAVE_FORMAT_PCM;
    int32_t valid_bits = wave->wBitsPerSample;
    if (wave->wFormatTag == WAVE_FORMAT_EXTENSIBLE &&
        wave->cbSize >= sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX)) {
        const auto* extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(wave);
        is_float = extensible->SubFormat == KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
        is_integer = extensible->SubFormat == KSDATAFORMAT_SUBTYPE_PCM;
        if (extensible->Samples.wValidBitsPerSample != 0) {
            valid_bits = extensible->Samples.wValidBitsPerSample;
        }
    }
    int32_t kind = -1;
    if (is_float && wave->wBitsPerSample == 32) {
        kind = SampleFloat32;
    } else if (is_integer && wave->wBitsPerSample == 16) {
        kind = SampleInt16;
    } else if (is_integer && wave->wBitsPerSample == 24) {
        kind = SampleInt24;
    } else if (is_integer && wave->wBitsPerSample == 32) {
        kind = valid_bits <= 24 ? SampleInt24In32 : SampleInt32;
    }
    format = {int32_t(wave->nSamplesPerSec), int32_t(wave->nChannels), kind,
              int32_t(wave->nBlockAlign)};
    return audio_format_usable(format);
}

// One endpoint's client, initialised and ready to start.
struct Endpoint {
    ComPtr<IAudioClient> client;
    OwnedHandle event;
    AudioFormat format;
    UINT32 buffer_frames;
    UINT32 period_frames;
    ~Endpoint();
};

// The stream stops before its event is closed: a client that someone else
// still holds would otherwise go on signalling the handle's number, which
// the next event opened may be given.
void close_endpoint(Endpoint& endpoint) {
    if (endpoint.client) {
        endpoint.client->Stop();
    }
    endpoint.client.Reset();
    endpoint.event.reset();
}

Endpoint::~Endpoint() {
    close_endpoint(*this);
}

// The engine's smallest period where the endpoint offers IAudioClient3's
// low-latency streams; its default period where it does not (Wine answers
// E_NOTIMPL, older Windows E_NOINTERFACE) or refuses the small one.
HRESULT initialize(IAudioClient* client, const WAVEFORMATEX* mix, UINT32& period_frames) {
    const DWORD flags = AUDCLNT_STREAMFLAGS_EVENTCALLBACK;
    ComPtr<IAudioClient3> low_latency;
    if (SUCCEEDED(client->QueryInterface(IID_PPV_ARGS(&low_latency)))) {
        UINT32 default_frames = 0;
        UINT32 fundamental = 0;
        UINT32 minimum = 0;
        UINT32 maximum = 0;
        if (SUCCEEDED(low_latency->GetSharedModeEnginePeriod(mix, &default_frames, &fundamental,
                                                             &minimum, &maximum)) &&
            SUCCEEDED(low_latency->InitializeSharedAudioStream(flags, minimum, mix, nullptr))) {
            period_frames = minimum;
            return S_OK;
        }
    }
    REFERENCE_TIME period = 0;
    HRESULT hr = client->GetDevicePeriod(&period, nullptr);
    if (SUCCEEDED(hr)) {
        hr = client->Initialize(AUDCLNT_SHAREMODE_SHARED, flags, buffer_duration, 0, mix, nullptr);
    }
    period_frames = UINT32((period * mix->nSamplesPerSec + 9999999) / 10000000);
    return hr;
}

HRESULT open_endpoint(ComPtr<IAudioClient> client, Endpoint& endpoint) {
    endpoint.client = std::move(client);
    TaskMemory<WAVEFORMATEX> mix;
    HRESULT hr = endpoint.client->GetMixFormat(mix.put());
    if (FAILED(hr)) {
        return hr;
    }
    if (!read_format(mix.get(), endpoint.format)) {
        return AUDCLNT_E_UNSUPPORTED_FORMAT;
    }
    endpoint.event.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!endpoint.event) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    hr = initialize(endpoint.client.Get(), mix.get(), endpoint.period_frames);
    if (SUCCEEDED(hr)) {
        hr = endpoint.client->SetEventHandle(endpoint.event.get());
    }
    if (SUCCEEDED(hr)) {
        hr = endpoint.client->GetBufferSize(&endpoint.buffer_frames);
    }
    return hr;
}

// Everything one flow holds, released in reverse order when it ends.
struct Flow {
    Endpoint input;
    ComPtr<IAudioCaptureClient> capture;
    Endpoint output;
    ComPtr<IAudioRenderClient> render;
    UINT32 output_kept;
    HeapBlock<float> samples; // the drift's storage
    AudioDrift drift;
    int64_t glitches_before; // of the drifts of outputs opened before
    int64_t output_ran_dry;  // times the output had played all it had been given
    int64_t input_lost;      // packets the input lost, its buffer full
    int32_t delay_max_us;
};

int32_t input_end(HRESULT hr) {
    if (hr == E_ACCESSDENIED) {
        return SoundEndAccessDenied;
    }
    if (hr == AUDCLNT_E_DEVICE_INVALIDATED || hr == E_NOTFOUND || hr == E_INVALIDARG) {
        return SoundEndInputGone;
    }
    return SoundEndFailed;
}

HRESULT open_input(const SoundRun* run, Flow& flow) {
    ComPtr<IAudioClient> client;
    HRESULT hr = audio_open_capture(run->endpoint_id, &client);
    if (SUCCEEDED(hr)) {
        hr = open_endpoint(std::move(client), flow.input);
    }
    if (SUCCEEDED(hr)) {
        hr = flow.input.client->GetService(IID_PPV_ARGS(&flow.capture));
    }
    return hr;
}

// Keeps the output `output_kept` frames full from the drift.
HRESULT refill(Flow& flow) {
    UINT32 padding = 0;
    HRESULT hr = flow.output.client->GetCurrentPadding(&padding);
    if (FAILED(hr) || padding >= flow.output_kept) {
        return hr;
    }
    // The device played silence for what was missing: a glitch of its own.
    if (padding == 0 && flow.drift.playing) {
        ++flow.output_ran_dry;
    }
    const UINT32 frames = flow.output_kept - padding;
    BYTE* data = nullptr;
    hr = flow.render->GetBuffer(frames, &data);
    if (SUCCEEDED(hr)) {
        audio_drift_take(flow.drift, reinterpret_cast<float*>(data), int32_t(frames));
        hr = flow.render->ReleaseBuffer(frames, 0);
    }
    return hr;
}

// Opens the default output (again) and starts it; the drift starts afresh
// when the new output's rate or channels differ. Float outputs only: the
// shared engine's mix format is float on every Windows since Vista, and a
// conversion for the rest would go unused.
Outcome open_output(Flow& flow) {
    flow.render.Reset();
    close_endpoint(flow.output);
    ComPtr<IAudioClient> client;
    HRESULT hr = audio_open_default_render(&client);
    if (SUCCEEDED(hr)) {
        hr = open_endpoint(std::move(client), flow.output);
    }
    if (hr == AUDCLNT_E_UNSUPPORTED_FORMAT ||
        (SUCCEEDED(hr) && flow.output.format.kind != SampleFloat32)) {
        return {SoundEndFailed, AUDCLNT_E_UNSUPPORTED_FORMAT};
    }
    if (SUCCEEDED(hr)) {
        hr = flow.output.client->GetService(IID_PPV_ARGS(&flow.render));
    }
    if (FAILED(hr)) {
        return {SoundEndNoOutput, hr};
    }
    // The mixer shows the stream under the program's name; its volume and
    // mute stay Windows'. An output without sessions plays all the same.
    ComPtr<IAudioSessionControl> session;
    if (SUCCEEDED(flow.output.client->GetService(IID_PPV_ARGS(&session)))) {
        session->SetDisplayName(L"Tavisko", nullptr);
    }
    flow.output_kept =
        std::min(flow.output.buffer_frames, output_kept_quarters * flow.output.period_frames / 4);
    const AudioFormat& out = flow.output.format;
    if (!flow.samples || flow.drift.out_rate != out.rate || flow.drift.channels != out.channels) {
        flow.glitches_before += flow.drift.ran_dry + flow.drift.overflowed;
        const int32_t in_rate = flow.input.format.rate;
        const int32_t target_ms =
            std::max<int32_t>(1, drift_target_quarters * 250 * flow.input.period_frames / in_rate);
        const int32_t capacity = in_rate * (target_ms + drift_room_ms) / 1000;
        flow.samples.reset(static_cast<float*>(
            std::calloc(size_t(capacity) * size_t(out.channels), sizeof(float))));
        if (!flow.samples) {
            return {SoundEndFailed, E_OUTOFMEMORY};
        }
        audio_drift_start(flow.drift, flow.samples.get(), capacity, out.channels, in_rate, out.rate,
                          target_ms);
    }
    hr = refill(flow);
    if (SUCCEEDED(hr)) {
        hr = flow.output.client->Start();
    }
    return {SUCCEEDED(hr) ? 0 : SoundEndNoOutput, hr};
}

// Moves every captured packet into the drift.
HRESULT drain(Flow& flow) {
    for (int32_t i = 0; i < packets_per_wake; ++i) {
        BYTE* data = nullptr;
        UINT32 frames = 0;
        DWORD flags = 0;
        HRESULT hr = flow.capture->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
        if (FAILED(hr) || hr == AUDCLNT_S_BUFFER_EMPTY) {
            return hr;
        }
        // The input's buffer ran full while this thread was away.
        if ((flags & AUDCLNT_BUFFERFLAGS_DATA_DISCONTINUITY) != 0 && flow.drift.playing) {
            ++flow.input_lost;
        }
        const bool silent = (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0;
        audio_drift_put(flow.drift, flow.input.format, silent ? nullptr : data, int32_t(frames));
        hr = flow.capture->ReleaseBuffer(frames);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return S_OK;
}

void publish(SoundRun* run, Flow& flow) {
    UINT32 output_padding = 0;
    UINT32 input_padding = 0;
    flow.output.client->GetCurrentPadding(&output_padding);
    flow.input.client->GetCurrentPadding(&input_padding);
    const double seconds = double(output_padding) / flow.output.format.rate +
                           (audio_drift_fill(flow.drift) + input_padding) / flow.input.format.rate;
    const auto delay_us = int32_t(seconds * 1e6);
    // While the drift fills, the frames before its start are not heard.
    if (flow.drift.playing) {
        flow.delay_max_us = std::max(flow.delay_max_us, delay_us);
    }
    const ScopedExclusiveLock hold(run->lock);
    run->figures = {true,
                    flow.glitches_before + flow.output_ran_dry + flow.input_lost +
                        flow.drift.ran_dry + flow.drift.overflowed,
                    delay_us, flow.delay_max_us};
}

Outcome play(SoundRun* run) {
    Flow flow{};
    HRESULT hr = open_input(run, flow);
    if (FAILED(hr)) {
        return {input_end(hr), hr};
    }
    const Outcome opened = open_output(flow);
    if (opened.end != 0) {
        return opened;
    }
    hr = flow.input.client->Start();
    if (FAILED(hr)) {
        return {input_end(hr), hr};
    }
    // Where Windows does not tell (Wine), an output that goes away still
    // ends its client with AUDCLNT_E_DEVICE_INVALIDATED.
    OwnedHandle changed(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    OwnedWatch watch;
    if (changed) {
        audio_watch_default_render(changed.get(), watch.put());
    }
    HANDLE waits[4] = {run->stop_event.get(), flow.input.event.get(), flow.output.event.get(),
                       changed.get()};
    const DWORD count = changed ? 4 : 3;
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(count, waits, FALSE, wait_bound_ms);
        if (woken == WAIT_OBJECT_0) {
            return {0, S_OK};
        }
        if (woken == WAIT_FAILED) {
            return {SoundEndFailed, HRESULT_FROM_WIN32(GetLastError())};
        }
        hr = drain(flow);
        if (FAILED(hr)) {
            return {input_end(hr), hr};
        }
        hr = woken == WAIT_OBJECT_0 + 3 ? AUDCLNT_E_DEVICE_INVALIDATED : refill(flow);
        if (hr == AUDCLNT_E_DEVICE_INVALIDATED) {
            const Outcome reopened = open_output(flow);
            if (reopened.end != 0) {
                return reopened;
            }
            waits[2] = flow.output.event.get();
        } else if (FAILED(hr)) {
            return {SoundEndNoOutput, hr};
        }
        publish(run, flow);
    }
}

Outcome play_registered(SoundRun* run) {
    const ComApartment com(COINIT_MULTITHREADED);
    if (FAILED(com.result)) {
        return {SoundEndFailed, com.result};
    }
    // The multimedia scheduler's class for the lowest delay; without it
    // (Wine's is a stub) the thread still plays at normal priority.
    DWORD task_index = 0;
    const MmcssTask task(AvSetMmThreadCharacteristicsW(L"Pro Audio", &task_index));
    return play(run);
}

} // namespace

DWORD WINAPI sound_thread_main(void* parameter) {
    auto* run = static_cast<SoundRun*>(parameter);
    const Outcome outcome = play_registered(run);
    {
        const ScopedExclusiveLock hold(run->lock);
        run->ended = true;
        run->figures.playing = false;
        if (outcome.end != 0 && !run->stopped) {
            PostMessageW(run->window, WM_APP_SOUND, WPARAM(outcome.end),
                         LPARAM(static_cast<int32_t>(outcome.hr)));
        }
    }
    sound_run_release(run);
    return 0;
}
