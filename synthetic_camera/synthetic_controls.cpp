// The synthetic camera's own controls: IAMVideoProcAmp and IAMCameraControl
// on its media source, over values that live with the attached camera (as a
// driver keeps them across opens) and a record of every Set for tests.

#include <strmif.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "capture/capture_codes.h"
#include "synthetic_camera/com_object.h"
#include "synthetic_camera/synthetic_source.h"

using Microsoft::WRL::ComPtr;

namespace {

std::mutex controls_mutex;
std::vector<std::pair<std::wstring, std::vector<SyntheticControl>>> states;
std::vector<SyntheticControlSet> sets;

bool same_controls(const std::vector<SyntheticControl>& a, const std::vector<SyntheticControl>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.kind == y.kind && x.range.min == y.range.min && x.range.max == y.range.max &&
               x.range.step == y.range.step && x.range.default_value == y.range.default_value &&
               x.range.caps == y.range.caps;
    });
}

std::vector<SyntheticControl>* state_of(const std::wstring& link) {
    for (auto& [l, controls] : states) {
        if (l == link) {
            return &controls;
        }
    }
    return nullptr;
}

// Under controls_mutex. Once the camera is unplugged the calls fail with
// MF_E_VIDEO_RECORDING_DEVICE_INVALIDATED, Media Foundation's error for a
// capture device that has gone (its reads fail with it too); the window
// treats every failure alike. A property the camera lacks is refused with
// E_PROP_ID_UNSUPPORTED, as the KS proxy refuses it.
HRESULT find_control(const SyntheticSource* source, ControlInterface which, LONG property,
                     SyntheticControl** out) {
    *out = nullptr;
    if (const HRESULT alive = source->alive(); FAILED(alive)) {
        return alive;
    }
    std::vector<SyntheticControl>* controls = state_of(source->camera.symbolic_link);
    if (controls == nullptr || synthetic_is_unplugged(source->camera.symbolic_link)) {
        return HRESULT(hresult_device_invalidated);
    }
    for (SyntheticControl& control : *controls) {
        const ControlKind& kind = control_kinds[control.kind];
        if (kind.interface_id == which && kind.property == property) {
            *out = &control;
            return S_OK;
        }
    }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND); // E_PROP_ID_UNSUPPORTED's value
}

// One of the source's two control interfaces. Both have the same methods, so
// each is an object of its own that keeps the source alive and answers for
// it otherwise.
template <typename Interface, ControlInterface Which>
struct ControlFacet final : ComObject<ControlFacet<Interface, Which>, Interface> {
    ComPtr<IMFMediaSource> owner;
    SyntheticSource* source;

    explicit ControlFacet(SyntheticSource* of) : owner(of), source(of) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(Interface)) {
            return answer_query(iid, out, static_cast<Interface*>(this), {iid});
        }
        return owner->QueryInterface(iid, out);
    }

    // `use`'s answer for the control of `property`, under the controls'
    // lock; find_control's when there is none to use.
    template <typename Use> HRESULT with_control(LONG property, Use use) {
        std::lock_guard lock(controls_mutex);
        SyntheticControl* control = nullptr;
        const HRESULT hr = find_control(source, Which, property, &control);
        return SUCCEEDED(hr) ? use(*control) : hr;
    }

    HRESULT STDMETHODCALLTYPE GetRange(LONG property, LONG* min, LONG* max, LONG* step,
                                       LONG* default_value, LONG* caps) override {
        if (!min || !max || !step || !default_value || !caps) {
            return E_POINTER;
        }
        return with_control(property, [&](const SyntheticControl& control) {
            *min = control.range.min;
            *max = control.range.max;
            *step = control.range.step;
            *default_value = control.range.default_value;
            *caps = control.range.caps;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Set(LONG property, LONG value, LONG flags) override {
        // A driver stalled in the request, holding none of the camera's
        // locks: the caller waits as long as the file is there.
        const std::wstring& stall = source->camera.stall_set_file;
        while (!stall.empty() && GetFileAttributesW(stall.c_str()) != INVALID_FILE_ATTRIBUTES) {
            Sleep(10);
        }
        return with_control(property, [&](SyntheticControl& control) {
            const bool manual = flags == control_flag_manual;
            if ((!manual && flags != control_flag_auto) || (control.range.caps & flags) == 0 ||
                (manual && (value < control.range.min || value > control.range.max))) {
                return E_INVALIDARG;
            }
            // A control handed to the camera keeps its last value until the
            // camera changes it.
            control.value = manual ? int32_t(value) : control.value;
            control.flags = int32_t(flags);
            sets.push_back(
                {source->camera.symbolic_link, control.kind, int32_t(value), int32_t(flags)});
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Get(LONG property, LONG* value, LONG* flags) override {
        if (!value || !flags) {
            return E_POINTER;
        }
        return with_control(property, [&](const SyntheticControl& control) {
            *value = control.value;
            *flags = control.flags;
            return S_OK;
        });
    }
};

} // namespace

SyntheticControl synthetic_control(int32_t kind, const ControlRange& range) {
    return {kind, range, range.default_value, control_default_flags(range)};
}

std::vector<SyntheticControl> synthetic_controls_from_list(std::wstring_view list) {
    ControlOffer offers[control_kind_count];
    const int32_t count = parse_control_list(list, offers);
    std::vector<SyntheticControl> controls;
    for (int32_t i = 0; i < count; ++i) {
        controls.push_back(synthetic_control(offers[i].kind, offers[i].range));
    }
    return controls;
}

HRESULT synthetic_query_controls(SyntheticSource* source, REFIID iid, void** out) {
    *out = nullptr;
    const bool proc_amp = iid == __uuidof(IAMVideoProcAmp);
    const ControlInterface which =
        proc_amp ? ControlInterface::VideoProcAmp : ControlInterface::CameraControl;
    const bool offered = std::any_of(
        source->camera.controls.begin(), source->camera.controls.end(),
        [&](const SyntheticControl& c) { return control_kinds[c.kind].interface_id == which; });
    if (!offered) {
        return E_NOINTERFACE;
    }
    if (proc_amp) {
        *out = static_cast<IAMVideoProcAmp*>(
            new ControlFacet<IAMVideoProcAmp, ControlInterface::VideoProcAmp>(source));
    } else {
        *out = static_cast<IAMCameraControl*>(
            new ControlFacet<IAMCameraControl, ControlInterface::CameraControl>(source));
    }
    return S_OK;
}

void synthetic_controls_attach(const std::vector<SyntheticCamera>& cameras, bool replace_all) {
    std::lock_guard lock(controls_mutex);
    decltype(states) kept;
    if (!replace_all) {
        kept = states;
    }
    for (const SyntheticCamera& camera : cameras) {
        std::erase_if(kept, [&](const auto& s) { return s.first == camera.symbolic_link; });
        const std::vector<SyntheticControl>* before = state_of(camera.symbolic_link);
        kept.emplace_back(camera.symbolic_link,
                          before != nullptr && same_controls(*before, camera.controls)
                              ? *before
                              : camera.controls);
    }
    states = std::move(kept);
    if (replace_all) {
        sets.clear();
    }
}

std::vector<SyntheticControl> synthetic_controls(const std::wstring& symbolic_link) {
    std::lock_guard lock(controls_mutex);
    const std::vector<SyntheticControl>* controls = state_of(symbolic_link);
    return controls != nullptr ? *controls : std::vector<SyntheticControl>{};
}

std::vector<SyntheticControlSet> synthetic_control_sets() {
    std::lock_guard lock(controls_mutex);
    return sets;
}
