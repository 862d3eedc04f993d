// The product's sound device layer: Windows' endpoints through MMDevAPI.

#include "audio/audio_device_layer.h"

#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <atomic>
#include <cwchar>
#include <new>

#include "base/owned_win.h"

using Microsoft::WRL::ComPtr;

namespace {

// The two device properties read, with Windows' values. Written out: the
// SDKs' headers only declare them, leaving their definition to a library or
// INITGUID, and MinGW-w64's lack the container id.
constexpr PROPERTYKEY friendly_name_key = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
constexpr PROPERTYKEY container_id_key = {
    {0x8c7ed206, 0x3f8a, 0x4827, {0xb3, 0xab, 0xae, 0x9e, 0x1f, 0xae, 0xfc, 0x6c}}, 2};

// One property value, cleared however its reading ends: a string value
// owns task memory.
struct ScopedPropVariant {
    PROPVARIANT value;
    ScopedPropVariant() { PropVariantInit(&value); }
    ~ScopedPropVariant() { PropVariantClear(&value); }
    ScopedPropVariant(const ScopedPropVariant&) = delete;
    ScopedPropVariant& operator=(const ScopedPropVariant&) = delete;
};

HRESULT make_enumerator(ComPtr<IMMDeviceEnumerator>& enumerator) {
    return CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                            IID_PPV_ARGS(&enumerator));
}

HRESULT activate_client(IMMDevice* device, IAudioClient** client) {
    return device->Activate(__uuidof(IAudioClient), CLSCTX_INPROC_SERVER, nullptr,
                            reinterpret_cast<void**>(client));
}

// Name and container id are extras: an endpoint that lacks them is still
// listed, with an empty name or GUID_NULL.
void read_properties(IMMDevice* device, AudioEndpoint& endpoint) {
    ComPtr<IPropertyStore> store;
    if (FAILED(device->OpenPropertyStore(STGM_READ, &store))) {
        return;
    }
    ScopedPropVariant name;
    if (SUCCEEDED(store->GetValue(friendly_name_key, &name.value)) && name.value.vt == VT_LPWSTR &&
        name.value.pwszVal != nullptr) {
        std::wcsncpy(endpoint.name, name.value.pwszVal, sound_name_size - 1);
        endpoint.name[sound_name_size - 1] = L'\0';
    }
    ScopedPropVariant container;
    if (SUCCEEDED(store->GetValue(container_id_key, &container.value)) &&
        container.value.vt == VT_CLSID && container.value.puuid != nullptr) {
        endpoint.container_id = *container.value.puuid;
    }
}

HRESULT describe(IMMDevice* device, AudioEndpoint& endpoint) {
    TaskMemory<wchar_t> id;
    const HRESULT hr = device->GetId(id.put());
    if (FAILED(hr)) {
        return hr;
    }
    if (std::wcslen(id.get()) >= sound_endpoint_id_size) {
        return E_NOT_SUFFICIENT_BUFFER;
    }
    endpoint = AudioEndpoint{};
    std::wcscpy(endpoint.id, id.get());
    read_properties(device, endpoint);
    return S_OK;
}

} // namespace

HRESULT audio_enum_capture_endpoints(AudioEndpointList& list) {
    list.count = 0;
    ComPtr<IMMDeviceEnumerator> enumerator;
    HRESULT hr = make_enumerator(enumerator);
    ComPtr<IMMDeviceCollection> collection;
    if (SUCCEEDED(hr)) {
        hr = enumerator->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, &collection);
    }
    UINT count = 0;
    if (SUCCEEDED(hr)) {
        hr = collection->GetCount(&count);
    }
    for (UINT i = 0; SUCCEEDED(hr) && i < count && list.count < audio_endpoints_max; ++i) {
        ComPtr<IMMDevice> device;
        // One endpoint that goes away while it is listed is left out.
        if (SUCCEEDED(collection->Item(i, &device)) &&
            SUCCEEDED(describe(device.Get(), list.endpoints[list.count]))) {
            ++list.count;
        }
    }
    return hr;
}

HRESULT audio_open_default_render(IAudioClient** client) {
    *client = nullptr;
    ComPtr<IMMDeviceEnumerator> enumerator;
    HRESULT hr = make_enumerator(enumerator);
    ComPtr<IMMDevice> device;
    if (SUCCEEDED(hr)) {
        hr = enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device);
    }
    return SUCCEEDED(hr) ? activate_client(device.Get(), client) : hr;
}

HRESULT audio_open_capture(const wchar_t* endpoint_id, IAudioClient** client) {
    *client = nullptr;
    ComPtr<IMMDeviceEnumerator> enumerator;
    HRESULT hr = make_enumerator(enumerator);
    ComPtr<IMMDevice> device;
    if (SUCCEEDED(hr)) {
        hr = enumerator->GetDevice(endpoint_id, &device);
    }
    return SUCCEEDED(hr) ? activate_client(device.Get(), client) : hr;
}

namespace {

// Windows' calls on its own thread; only the default output's change for
// eRender and eConsole matters, told by signalling the event.
// https://learn.microsoft.com/en-us/windows/win32/api/mmdeviceapi/nn-mmdeviceapi-immnotificationclient
struct DefaultOutputListener final : IMMNotificationClient {
    std::atomic<ULONG> refs{1};
    HANDLE changed;
    explicit DefaultOutputListener(HANDLE event) : changed(event) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMMNotificationClient)) {
            AddRef();
            *out = static_cast<IMMNotificationClient*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
        if (flow == eRender && role == eConsole) {
            SetEvent(changed);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override {
        return S_OK;
    }
};

} // namespace

// The registration; the enumerator holds the listener while it lasts.
struct AudioOutputWatch {
    ComPtr<IMMDeviceEnumerator> enumerator;
    ComPtr<IMMNotificationClient> listener;
};

HRESULT audio_watch_default_render(HANDLE changed, AudioOutputWatch** watch) {
    *watch = nullptr;
    auto* made = new (std::nothrow) AudioOutputWatch{};
    if (made == nullptr) {
        return E_OUTOFMEMORY;
    }
    *made->listener.GetAddressOf() = new (std::nothrow) DefaultOutputListener(changed);
    HRESULT hr = made->listener ? make_enumerator(made->enumerator) : E_OUTOFMEMORY;
    if (SUCCEEDED(hr)) {
        hr = made->enumerator->RegisterEndpointNotificationCallback(made->listener.Get());
    }
    if (FAILED(hr)) {
        delete made;
        return hr;
    }
    *watch = made;
    return S_OK;
}

// The enumerator lets go of the listener here; the caller closes the event
// only after this.
void audio_unwatch(AudioOutputWatch* watch) {
    watch->enumerator->UnregisterEndpointNotificationCallback(watch->listener.Get());
    delete watch;
}
