// The synthetic endpoints' two services, which lend the stream's packets:
// the speaker's IAudioRenderClient and the microphone's IAudioCaptureClient,
// with GetService, which makes them, and the test controls over them. The
// rules are Microsoft's, from:
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudiorenderclient-getbuffer
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudiocaptureclient-getbuffer
// https://learn.microsoft.com/en-us/windows/win32/api/audioclient/nf-audioclient-iaudiocaptureclient-releasebuffer

#include <windows.h>

#include <wrl/client.h>

#include "synthetic_audio/synthetic_audio_client.h"

using Microsoft::WRL::ComPtr;

namespace {

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

} // namespace

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

std::vector<float> synthetic_audio_played(IAudioClient* client) {
    SyntheticAudioClient* object = synthetic_object(client);
    if (object == nullptr) {
        return {};
    }
    std::lock_guard lock(object->mutex);
    return object->played;
}

void synthetic_audio_hang_capture(bool hung) {
    CaptureHang& hang = capture_hang();
    {
        const std::lock_guard hold(hang.lock);
        hang.hung = hung;
    }
    hang.released.notify_all();
}
