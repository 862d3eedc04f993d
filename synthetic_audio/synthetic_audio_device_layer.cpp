// The sound device layer of tests: synthetic microphones, beside the
// synthetic camera, and a synthetic speaker as the default output. Every
// open makes a new endpoint object, so tests share nothing but the controls.

#include <mmdeviceapi.h>

#include <cwchar>
#include <mutex>

#include "audio/audio_device_layer.h"
#include "synthetic_audio/synthetic_audio.h"

// A watch is the event it signals.
struct AudioOutputWatch {
    HANDLE changed;
};

namespace {

// The tests' controls: set from a test's thread, read by whichever thread
// opens an endpoint.
struct SyntheticInputs {
    std::mutex lock;
    std::vector<AudioEndpoint> inputs; // empty: the one synthetic microphone
    bool denied = false;
    SyntheticMix input_mix = synthetic_audio_mix;
    Microsoft::WRL::ComPtr<IAudioClient> default_output;
    Microsoft::WRL::ComPtr<IAudioClient> last_input;
    std::vector<AudioOutputWatch*> watches;
};

SyntheticInputs& synthetic_inputs() {
    static SyntheticInputs record;
    return record;
}

std::vector<AudioEndpoint> listed_inputs() {
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    if (record.inputs.empty()) {
        AudioEndpoint microphone{};
        std::wcscpy(microphone.id, synthetic_microphone_id);
        std::wcscpy(microphone.name, synthetic_microphone_name);
        microphone.container_id = synthetic_microphone_container;
        return {microphone};
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

HRESULT audio_enum_capture_endpoints(AudioEndpointList& list) {
    list.count = 0;
    for (const AudioEndpoint& input : listed_inputs()) {
        if (list.count < audio_endpoints_max) {
            list.endpoints[list.count++] = input;
        }
    }
    return S_OK;
}

HRESULT audio_open_default_render(IAudioClient** client) {
    const HRESULT hr = synthetic_audio_new_client(SyntheticAudioRole::render, client);
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    record.default_output = *client;
    return hr;
}

HRESULT audio_open_capture(const wchar_t* endpoint_id, IAudioClient** client) {
    if (client == nullptr) {
        return E_POINTER;
    }
    *client = nullptr;
    bool listed = false;
    for (const AudioEndpoint& input : listed_inputs()) {
        listed = listed || std::wcscmp(input.id, endpoint_id) == 0;
    }
    if (!listed) {
        return E_NOTFOUND;
    }
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    if (record.denied) {
        return E_ACCESSDENIED;
    }
    const HRESULT hr =
        synthetic_audio_new_client(SyntheticAudioRole::capture, client, record.input_mix);
    record.last_input = *client;
    return hr;
}

void synthetic_audio_set_input_mix(const SyntheticMix& mix) {
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    record.input_mix = mix;
}

Microsoft::WRL::ComPtr<IAudioClient> synthetic_audio_last_opened(SyntheticAudioRole role) {
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    return role == SyntheticAudioRole::render ? record.default_output : record.last_input;
}

void synthetic_audio_change_default_output(bool notify) {
    Microsoft::WRL::ComPtr<IAudioClient> old;
    {
        SyntheticInputs& record = synthetic_inputs();
        const std::lock_guard hold(record.lock);
        old.Swap(record.default_output);
        for (AudioOutputWatch* watch : record.watches) {
            if (notify) {
                SetEvent(watch->changed);
            }
        }
    }
    if (!notify) {
        synthetic_audio_unplug(old.Get());
    }
}

HRESULT audio_watch_default_render(HANDLE changed, AudioOutputWatch** watch) {
    *watch = new AudioOutputWatch{changed};
    SyntheticInputs& record = synthetic_inputs();
    const std::lock_guard hold(record.lock);
    record.watches.push_back(*watch);
    return S_OK;
}

// Under the lock, so no change signals the event after this.
void audio_unwatch(AudioOutputWatch* watch) {
    {
        SyntheticInputs& record = synthetic_inputs();
        const std::lock_guard hold(record.lock);
        std::erase(record.watches, watch);
    }
    delete watch;
}
