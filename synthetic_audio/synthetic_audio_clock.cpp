// The synthetic endpoint's clock: Start runs a thread that plays or records
// a period at each tick, Stop and unplugging join it, and Reset empties the
// stopped stream. The rules are Microsoft's, from:
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nn-audioclient-iaudioclient

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "synthetic_audio/synthetic_audio_client.h"

namespace {

// The performance counter in 100-ns units, as capture packets are stamped.
UINT64 qpc_now_100ns() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<UINT64>(now.QuadPart / frequency.QuadPart * 10000000 +
                               now.QuadPart % frequency.QuadPart * 10000000 / frequency.QuadPart);
}

} // namespace

// One period of the device, under the lock: the speaker plays what is
// queued, the microphone records a packet or, with no room, loses it.
void SyntheticAudioClient::tick() {
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
void SyntheticAudioClient::run_clock() {
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
void SyntheticAudioClient::stop_clock() {
    {
        std::lock_guard lock(mutex);
        running = false;
    }
    clock_wake.notify_all();
    if (clock.joinable()) {
        clock.join();
    }
}

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::Start() {
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

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::Stop() {
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

HRESULT STDMETHODCALLTYPE SyntheticAudioClient::Reset() {
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
