#pragma once
// The only calls that reach a sound device, as capture/device_layer.h is for
// the camera. The product links the MMDevAPI implementation; tests link the
// synthetic endpoints (synthetic_audio/) instead. Chosen at link time.
// Every call expects its thread in a COM apartment (the sound thread joins
// the multithreaded one) and hands out clients not yet initialised.

#include <windows.h>

#include <audioclient.h>

#include <cstdint>

#include "audio/sound_pairing.h"

// A capture endpoint as the user would choose it. Fixed arrays rather than
// strings and vectors: the executable then carries none of the C++ library's
// exception paths that those bring.
struct AudioEndpoint {
    // IMMDevice::GetId: stable across runs, what audio_open_capture takes.
    // An endpoint whose id does not fit is left out of the list.
    wchar_t id[sound_endpoint_id_size];
    // PKEY_Device_FriendlyName, as Windows' sound settings show it; cut to fit.
    wchar_t name[sound_name_size];
    // PKEY_Device_ContainerId: one USB camera's picture and sound share it.
    // GUID_NULL where the endpoint reports none (every endpoint under Wine).
    GUID container_id;
};

inline constexpr int32_t audio_endpoints_max = 64;

// Some 66 KB: callers keep it on the heap.
struct AudioEndpointList {
    AudioEndpoint endpoints[audio_endpoints_max];
    int32_t count;
};

// The active capture endpoints, the first audio_endpoints_max of them; S_OK
// and an empty list when there are none.
HRESULT audio_enum_capture_endpoints(AudioEndpointList& list);
// The default output's client (eRender, eConsole); E_NOTFOUND when the PC
// has none.
HRESULT audio_open_default_render(IAudioClient** client);
// The client of the capture endpoint with this id; a failure when it is
// gone (E_NOTFOUND on Windows, E_INVALIDARG under Wine 8).
HRESULT audio_open_capture(const wchar_t* endpoint_id, IAudioClient** client);

// A watch on Windows' default output (eRender, eConsole): while it lives,
// every change of the default signals `changed`, which must outlive it.
// Windows tells through IMMNotificationClient::OnDefaultDeviceChanged, on a
// thread of its own; Wine 8 registers the watch but never tells.
struct AudioOutputWatch;
HRESULT audio_watch_default_render(HANDLE changed, AudioOutputWatch** watch);
// Ends the watch: after it returns `changed` is not signalled any more.
void audio_unwatch(AudioOutputWatch* watch);
