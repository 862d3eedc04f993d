// The synthetic camera's media source. It owns a real presentation
// descriptor over the camera's native types, so the format choice works on
// real Media Foundation objects.

#include "synthetic_camera/synthetic_source.h"

#include <vector>

using Microsoft::WRL::ComPtr;

HRESULT make_native_type(const SyntheticType& t, IMFMediaType** out) {
    ComPtr<IMFMediaType> type;
    HRESULT hr = MFCreateMediaType(&type);
    if (SUCCEEDED(hr)) {
        hr = type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    }
    if (SUCCEEDED(hr) && t.subtype != GUID_NULL) {
        hr = type->SetGUID(MF_MT_SUBTYPE, t.subtype);
    }
    if (SUCCEEDED(hr) && (t.width != 0 || t.height != 0)) {
        hr = MFSetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, t.width, t.height);
    }
    if (SUCCEEDED(hr) && (t.fps_denominator != 0 || t.fps_numerator != 0)) {
        hr = MFSetAttributeRatio(type.Get(), MF_MT_FRAME_RATE, t.fps_numerator, t.fps_denominator);
    }
    if (SUCCEEDED(hr) && t.aperture.width != 0) {
        const MFVideoArea area{{0, SHORT(t.aperture.x)},
                               {0, SHORT(t.aperture.y)},
                               {LONG(t.aperture.width), LONG(t.aperture.height)}};
        hr = type->SetBlob(t.aperture.geometric ? MF_MT_GEOMETRIC_APERTURE
                                                : MF_MT_MINIMUM_DISPLAY_APERTURE,
                           reinterpret_cast<const UINT8*>(&area), sizeof area);
    }
    if (SUCCEEDED(hr)) {
        *out = type.Detach();
    }
    return hr;
}

SyntheticAperture read_native_aperture(IMFMediaType* type) {
    for (const bool geometric : {false, true}) {
        MFVideoArea area{};
        if (SUCCEEDED(
                type->GetBlob(geometric ? MF_MT_GEOMETRIC_APERTURE : MF_MT_MINIMUM_DISPLAY_APERTURE,
                              reinterpret_cast<UINT8*>(&area), sizeof area, nullptr))) {
            return {uint32_t(area.OffsetX.value), uint32_t(area.OffsetY.value),
                    uint32_t(area.Area.cx), uint32_t(area.Area.cy), geometric};
        }
    }
    return {};
}

HRESULT synthetic_create_source(const SyntheticCamera& camera, IMFMediaSource** out) {
    *out = nullptr;
    auto* source = new SyntheticSource();
    ComPtr<IMFMediaSource> owner = adopt_new<IMFMediaSource>(source);
    source->camera = camera;

    std::vector<ComPtr<IMFMediaType>> types(camera.types.size());
    std::vector<IMFMediaType*> raw(camera.types.size());
    for (size_t i = 0; i < camera.types.size(); ++i) {
        const HRESULT hr = make_native_type(camera.types[i], &types[i]);
        if (FAILED(hr)) {
            return hr;
        }
        raw[i] = types[i].Get();
    }
    ComPtr<IMFStreamDescriptor> stream;
    HRESULT hr = MFCreateStreamDescriptor(0, DWORD(raw.size()), raw.data(), &stream);
    if (SUCCEEDED(hr)) {
        hr = stream->GetMediaTypeHandler(&source->handler);
    }
    IMFStreamDescriptor* streams[] = {stream.Get()};
    if (SUCCEEDED(hr)) {
        hr = MFCreatePresentationDescriptor(1, streams, &source->presentation);
    }
    if (SUCCEEDED(hr)) {
        hr = source->presentation->SelectStream(0);
    }
    if (FAILED(hr)) {
        return hr;
    }
    synthetic_note(&SyntheticStats::sources_created);
    *out = owner.Detach();
    return S_OK;
}
