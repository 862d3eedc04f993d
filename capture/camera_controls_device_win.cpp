#include "capture/camera_controls_device.h"

#include <strmif.h>
#include <wrl/client.h>

#include "capture/capture.h"

using Microsoft::WRL::ComPtr;

namespace {

// Runs `call(interface, property)` on the control's interface of the run's
// source, the lock held only to take the reference (see the header).
template <typename Call> HRESULT with_control(const WorkerRun* run, int32_t kind, Call call) {
    if (kind < 0 || kind >= control_kind_count) {
        return E_INVALIDARG;
    }
    ComPtr<IMFMediaSource> source;
    {
        CaptureLockGuard lock;
        if (run->abandoned || run->active_source == nullptr) {
            return camera_controls_not_running;
        }
        source = run->active_source;
    }
    const ControlKind& k = control_kinds[kind];
    if (k.interface_id == ControlInterface::VideoProcAmp) {
        ComPtr<IAMVideoProcAmp> control;
        const HRESULT hr = source.As(&control);
        return FAILED(hr) ? hr : call(control.Get(), LONG(k.property));
    }
    ComPtr<IAMCameraControl> control;
    const HRESULT hr = source.As(&control);
    return FAILED(hr) ? hr : call(control.Get(), LONG(k.property));
}

} // namespace

HRESULT camera_control_range(const WorkerRun* run, int32_t kind, ControlRange* range) {
    return with_control(run, kind, [&](auto* control, LONG property) {
        LONG min = 0, max = 0, step = 0, default_value = 0, caps = 0;
        const HRESULT hr = control->GetRange(property, &min, &max, &step, &default_value, &caps);
        if (SUCCEEDED(hr)) {
            *range = {int32_t(min), int32_t(max), int32_t(step), int32_t(default_value),
                      int32_t(caps)};
        }
        return hr;
    });
}

HRESULT camera_control_get(const WorkerRun* run, int32_t kind, int32_t* value, int32_t* flags) {
    return with_control(run, kind, [&](auto* control, LONG property) {
        LONG v = 0, f = 0;
        const HRESULT hr = control->Get(property, &v, &f);
        if (SUCCEEDED(hr)) {
            *value = int32_t(v);
            *flags = int32_t(f);
        }
        return hr;
    });
}

HRESULT camera_control_set(const WorkerRun* run, int32_t kind, int32_t value, int32_t flags) {
    return with_control(run, kind, [&](auto* control, LONG property) {
        return control->Set(property, LONG(value), LONG(flags));
    });
}
