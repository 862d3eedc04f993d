#pragma once
// The synthetic media source, shared by its reader; not for the camera's users.

#include <mfapi.h>
#include <mferror.h>
#include <strmif.h>
#include <wrl/client.h>

#include <atomic>

#include "base/owned_win.h"
#include "synthetic_camera/com_object.h"
#include "synthetic_camera/synthetic_internal.h"

// Lets the reader find the SyntheticSource behind an IMFMediaSource.
inline constexpr GUID iid_synthetic_source = {
    0x6a1c3f0e, 0x2b57, 0x4d8e, {0x9a, 0x41, 0x73, 0x0c, 0x5e, 0x12, 0xb8, 0x9d}};

HRESULT make_native_type(const SyntheticType& t, IMFMediaType** out);
// The aperture make_native_type put on a type; none when it has none.
SyntheticAperture read_native_aperture(IMFMediaType* type);

struct SyntheticSource;
// IAMVideoProcAmp or IAMCameraControl on the source, when its camera has a
// control of that interface.
HRESULT synthetic_query_controls(SyntheticSource* source, REFIID iid, void** out);

struct SyntheticSource final : ComObject<SyntheticSource, IMFMediaSource>,
                               LiveCounter<live_sources> {
    SyntheticCamera camera;
    Microsoft::WRL::ComPtr<IMFPresentationDescriptor> presentation;
    Microsoft::WRL::ComPtr<IMFMediaTypeHandler> handler;
    OwnedHandle shutdown_event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> shut_down{false};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out != nullptr &&
            (iid == __uuidof(IAMVideoProcAmp) || iid == __uuidof(IAMCameraControl))) {
            return synthetic_query_controls(this, iid, out);
        }
        return answer_query(iid, out, static_cast<IMFMediaSource*>(this),
                            {__uuidof(IUnknown), __uuidof(IMFMediaEventGenerator),
                             __uuidof(IMFMediaSource), iid_synthetic_source});
    }

    // Nothing here raises events; the worker reads synchronously.
    HRESULT STDMETHODCALLTYPE GetEvent(DWORD, IMFMediaEvent**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginGetEvent(IMFAsyncCallback*, IUnknown*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EndGetEvent(IMFAsyncResult*, IMFMediaEvent**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueueEvent(MediaEventType, REFGUID, HRESULT,
                                         const PROPVARIANT*) override {
        return E_NOTIMPL;
    }

    // After Shutdown every method of a source, and of what it hands out,
    // fails with MF_E_SHUTDOWN
    // (https://learn.microsoft.com/windows/win32/api/mfidl/nf-mfidl-imfmediasource-shutdown).
    HRESULT alive() const { return shut_down ? MF_E_SHUTDOWN : S_OK; }

    HRESULT STDMETHODCALLTYPE GetCharacteristics(DWORD* characteristics) override {
        if (shut_down) {
            return MF_E_SHUTDOWN;
        }
        *characteristics = MFMEDIASOURCE_IS_LIVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    CreatePresentationDescriptor(IMFPresentationDescriptor** out) override {
        *out = nullptr;
        return shut_down ? MF_E_SHUTDOWN : presentation->Clone(out);
    }
    HRESULT STDMETHODCALLTYPE Start(IMFPresentationDescriptor*, const GUID*,
                                    const PROPVARIANT*) override {
        return alive();
    }
    HRESULT STDMETHODCALLTYPE Stop() override { return alive(); }
    HRESULT STDMETHODCALLTYPE Pause() override { return alive(); }
    HRESULT STDMETHODCALLTYPE Shutdown() override {
        if (camera.hang_in_shutdown) {
            synthetic_hang();
        }
        synthetic_note(&SyntheticStats::shutdowns);
        if (shut_down.exchange(true)) {
            return MF_E_SHUTDOWN;
        }
        SetEvent(shutdown_event.get());
        return S_OK;
    }

    // The type the format choice made current, or the first native type.
    SyntheticType current_type() const {
        SyntheticType type = camera.types.empty() ? SyntheticType{MFVideoFormat_RGB32, 0, 0, 30, 1}
                                                  : camera.types.front();
        Microsoft::WRL::ComPtr<IMFMediaType> current;
        if (SUCCEEDED(handler->GetCurrentMediaType(&current))) {
            UINT32 width = 0;
            UINT32 height = 0;
            MFGetAttributeSize(current.Get(), MF_MT_FRAME_SIZE, &width, &height);
            UINT32 numerator = 0;
            UINT32 denominator = 0;
            MFGetAttributeRatio(current.Get(), MF_MT_FRAME_RATE, &numerator, &denominator);
            current->GetGUID(MF_MT_SUBTYPE, &type.subtype);
            type = {type.subtype, width,       height,
                    numerator,    denominator, read_native_aperture(current.Get())};
        }
        return type;
    }
};
