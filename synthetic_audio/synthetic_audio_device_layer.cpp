// The sound device layer of tests: one synthetic microphone, beside the
// synthetic camera, and a synthetic speaker as the default output. Every
// open makes a new endpoint object, so tests share nothing.

#include <mmdeviceapi.h>

#include "audio/audio_device_layer.h"
#include "synthetic_audio/synthetic_audio.h"

HRESULT audio_enum_capture_endpoints(std::vector<AudioEndpoint>& endpoints) {
    endpoints = {
        {synthetic_microphone_id, synthetic_microphone_name, synthetic_microphone_container}};
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
    if (endpoint_id != synthetic_microphone_id) {
        return E_NOTFOUND;
    }
    return synthetic_audio_new_client(SyntheticAudioRole::capture, client);
}
