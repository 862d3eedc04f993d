// The sound device layer of tests: synthetic microphones, beside the
// synthetic camera, and a synthetic speaker as the default output. Every
// open makes a new endpoint object, so tests share nothing but the controls.

#include <mmdeviceapi.h>

#include <mutex>

#include "audio/audio_device_layer.h"
#include "synthetic_audio/synthetic_audio.h"

namespace {

// The tests' controls: set from a test's thread, read by whichever thread
// opens an endpoint.
struct SyntheticInputs {
    std::mutex lock;
    std::vector<AudioEndpoint> inputs; // empty: the one synthetic microphone
    bool denied = false;
};

SyntheticInputs& synthetic_inputs() {
    static SyntheticInputs record;
    return record;
}

std::vector<AudioEndpoint> listed_inputs() {
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    if (record.inputs.empty()) {
        return {{synthetic_microphone_id, synthetic_microphone_name,
                 synthetic_microphone_container}};
    }
    return record.inputs;
}

} // namespace

void synthetic_audio_set_inputs(const std::vector<AudioEndpoint>& inputs) {
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    record.inputs = inputs;
}

void synthetic_audio_deny_access(bool denied) {
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    record.denied = denied;
}

HRESULT audio_enum_capture_endpoints(std::vector<AudioEndpoint>& endpoints) {
    endpoints = listed_inputs();
    return S_OK;
}

HRESULT audio_open_default_render(IAudioClient** client) {
    return synthetic_audio_new_client(SyntheticAudioRole::render, client);
}

HRESULT audio_open_capture(const std::wstring& endpoint_id, IAudioClient** client) {
    if (client == nullptr) {
        return E_POINTER;
    }
    *client = nullptr;
    bool listed = false;
    for (const AudioEndpoint& input : listed_inputs()) {
        listed = listed || input.id == endpoint_id;
    }
    if (!listed) {
        return E_NOTFOUND;
    }
    {
        SyntheticInputs& record = synthetic_inputs();
        const std::lock_guard hold(record.lock);
        if (record.denied) {
            return E_ACCESSDENIED;
        }
    }
    return synthetic_audio_new_client(SyntheticAudioRole::capture, client);
}
