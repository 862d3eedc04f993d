#pragma once
// Synthetic sound endpoints for tests: a microphone that delivers a known tone
// with positions and time stamps, and a speaker that keeps what it is given.
// They sit behind audio/audio_device_layer.h and answer as Microsoft documents
// IAudioClient, IAudioCaptureClient and IAudioRenderClient; Wine's endpoints
// differ in places (docs/audio-under-wine.md).
//
// IAudioClient3's low-latency streams only while a test offers them.
// Not done yet: IAudioClock, IAudioClockAdjustment, exclusive mode, and
// formats other than the mix format (AUTOCONVERTPCM is refused).

#include <windows.h>

#include <audioclient.h>

#include <wrl/client.h>

#include <vector>

#include "audio/audio_device_layer.h"

inline constexpr wchar_t synthetic_microphone_id[] =
    L"{0.0.1.00000000}.{7a1c5e00-0000-4000-8000-746176697300}";
inline constexpr wchar_t synthetic_microphone_name[] = L"Microphone (Tavisko Synthetic Camera)";
inline constexpr GUID synthetic_microphone_container = {
    0x7a1c5e01, 0x0000, 0x4000, {0x80, 0x00, 0x74, 0x61, 0x76, 0x69, 0x73, 0x00}};

// Every synthetic endpoint's mix format: 32-bit float, 2 channels, 48 kHz; its
// period is 10 ms (480 frames), or with IAudioClient3 a multiple of 1 ms
// (48 frames) from 3 ms (144) to 10 ms. The microphone's tone is the same in every
// channel, 0.5 * sin(2 pi 1000 n / 48000) for device position n.
inline constexpr UINT32 synthetic_audio_rate = 48000;
inline constexpr WORD synthetic_audio_channels = 2;
inline constexpr REFERENCE_TIME synthetic_audio_period = 100000;
inline constexpr UINT32 synthetic_audio_period_frames = 480;

enum class SyntheticAudioRole { render, capture };

// An endpoint's mix format: `bits` 32 is float, 16 is integer PCM. A test
// may give the microphone one off the speaker's, to run the conversion and a
// rate difference; its period stays 10 ms (rate / 100 frames).
struct SyntheticMix {
    UINT32 rate;
    WORD channels;
    WORD bits;
};
inline constexpr SyntheticMix synthetic_audio_mix = {synthetic_audio_rate, synthetic_audio_channels,
                                                     32};

// A new, uninitialised client of an endpoint of that role.
HRESULT synthetic_audio_new_client(SyntheticAudioRole role, IAudioClient** client,
                                   const SyntheticMix& mix = synthetic_audio_mix);

// What a synthetic speaker has played so far, samples interleaved; a packet
// released AUDCLNT_BUFFERFLAGS_SILENT as zeros. Empty for any other client.
std::vector<float> synthetic_audio_played(IAudioClient* client);

// Unplugs the client's endpoint: its clock stops and every later call of the
// client and its services answers AUDCLNT_E_DEVICE_INVALIDATED.
void synthetic_audio_unplug(IAudioClient* client);

// Test controls, from any thread; each lasts until changed again.
// The inputs audio_enum_capture_endpoints lists, each opening as a synthetic
// microphone; an empty list brings back the one synthetic microphone.
void synthetic_audio_set_inputs(const std::vector<AudioEndpoint>& inputs);
// Opening an input answers E_ACCESSDENIED, as Windows does while its
// microphone privacy setting denies the program.
void synthetic_audio_deny_access(bool denied);
// The mix format of the microphones opened from now on.
void synthetic_audio_set_input_mix(const SyntheticMix& mix);
// While hung, a microphone's IAudioCaptureClient::GetBuffer does not return,
// as a driver that stalls; releasing lets the calls waiting go on.
void synthetic_audio_hang_capture(bool hung);
// Clients made from now on answer QueryInterface for IAudioClient2 and
// IAudioClient3 (Windows 10's low-latency shared streams); by default they
// answer E_NOINTERFACE, as before Windows 10.
void synthetic_audio_offer_low_latency(bool offered);
// The client the layer opened last for that role: the default output's, or
// the microphone's (null before any).
Microsoft::WRL::ComPtr<IAudioClient> synthetic_audio_last_opened(SyntheticAudioRole role);
// Windows' default output becomes a new synthetic speaker. With `notify` the
// watches are told, as IMMNotificationClient::OnDefaultDeviceChanged tells
// Windows' clients, and the old speaker stays; without (Wine tells nothing)
// the old speaker is removed: its client answers AUDCLNT_E_DEVICE_INVALIDATED.
// https://learn.microsoft.com/en-us/windows/win32/api/mmdeviceapi/nf-mmdeviceapi-immnotificationclient-ondefaultdevicechanged
void synthetic_audio_change_default_output(bool notify);
