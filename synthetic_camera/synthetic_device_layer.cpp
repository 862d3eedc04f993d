// The device layer of tests and the demo build: the attached cameras are
// whatever synthetic_set_cameras said last.

#include <mfapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

#include "capture/device_layer.h"
#include "synthetic_camera/com_object.h"
#include "synthetic_camera/synthetic_internal.h"

using Microsoft::WRL::ComPtr;

namespace {

// Shared by the thread that configures the cameras and the capture worker.
std::mutex registry_mutex;
std::vector<SyntheticCamera> attached;
SyntheticStats stats;
std::atomic<void (*)()> enumeration_hook{nullptr};
std::atomic<void (*)()> read_hook{nullptr};
std::vector<std::wstring> unplugged;

// Picks out the camera of this symbolic link.
auto with_link(std::wstring link) {
    return [link = std::move(link)](const SyntheticCamera& camera) {
        return camera.symbolic_link == link;
    };
}

// Manual reset: set, it lets every waiting hang go at once.
HANDLE hung_calls_released() {
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

} // namespace

void synthetic_hang() {
    WaitForSingleObject(hung_calls_released(), INFINITE);
}

void synthetic_release_hung_calls() {
    SetEvent(hung_calls_released());
}

void synthetic_hold_hung_calls() {
    ResetEvent(hung_calls_released());
}

void synthetic_unplug(const std::wstring& symbolic_link) {
    std::lock_guard lock(registry_mutex);
    std::erase_if(attached, with_link(symbolic_link));
    unplugged.push_back(symbolic_link);
}

void synthetic_plug(const SyntheticCamera& camera) {
    {
        std::lock_guard lock(registry_mutex);
        std::erase(unplugged, camera.symbolic_link);
        std::erase_if(attached, with_link(camera.symbolic_link));
        attached.push_back(camera);
    }
    synthetic_controls_attach({camera}, false);
}

bool synthetic_is_unplugged(const std::wstring& symbolic_link) {
    std::lock_guard lock(registry_mutex);
    return std::find(unplugged.begin(), unplugged.end(), symbolic_link) != unplugged.end();
}

uint32_t synthetic_stamp_now() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return uint32_t(uint64_t(now.QuadPart) * 1000000 / uint64_t(frequency.QuadPart));
}

void synthetic_set_enumeration_hook(void (*hook)()) {
    enumeration_hook = hook;
}

void synthetic_set_read_hook(void (*hook)()) {
    read_hook = hook;
}

void synthetic_run_read_hook() {
    if (auto hook = read_hook.load()) {
        hook();
    }
}

void synthetic_set_cameras(const std::vector<SyntheticCamera>& cameras, bool unplug_gone) {
    {
        std::lock_guard lock(registry_mutex);
        const auto listed = [&](const std::wstring& link) {
            return std::any_of(cameras.begin(), cameras.end(), with_link(link));
        };
        if (!unplug_gone) {
            unplugged.clear();
        }
        for (const SyntheticCamera& gone : attached) {
            if (unplug_gone && !listed(gone.symbolic_link)) {
                unplugged.push_back(gone.symbolic_link);
            }
        }
        std::erase_if(unplugged, listed);
        attached = cameras;
    }
    synthetic_controls_attach(cameras, true);
}

SyntheticLiveCounts synthetic_live_counts() {
    return {live_objects[live_activates].load(), live_objects[live_sources].load(),
            live_objects[live_readers].load(), live_objects[live_buffers].load()};
}

SyntheticStats synthetic_stats() {
    std::lock_guard lock(registry_mutex);
    return stats;
}

void synthetic_reset_stats() {
    std::lock_guard lock(registry_mutex);
    stats = SyntheticStats{};
}

void synthetic_note(long SyntheticStats::*counter) {
    std::lock_guard lock(registry_mutex);
    ++(stats.*counter);
}

void synthetic_note_frame_making(int64_t time_100ns) {
    std::lock_guard lock(registry_mutex);
    stats.frame_making_100ns += time_100ns;
}

HRESULT device_enum_sources(IMFAttributes*, IMFActivate*** devices, UINT32* count) {
    *devices = nullptr;
    *count = 0;
    if (auto hook = enumeration_hook.load()) {
        hook();
    }
    std::vector<SyntheticCamera> cameras;
    {
        std::lock_guard lock(registry_mutex);
        ++stats.enumerations;
        cameras = attached;
    }
    if (cameras.empty()) {
        return S_OK;
    }
    auto* array = static_cast<IMFActivate**>(CoTaskMemAlloc(sizeof(IMFActivate*) * cameras.size()));
    if (array == nullptr) {
        return E_OUTOFMEMORY;
    }
    UINT32 made = 0;
    for (const SyntheticCamera& camera : cameras) {
        if (FAILED(synthetic_create_activate(camera, &array[made]))) {
            continue;
        }
        ++made;
    }
    *devices = array;
    *count = made;
    return S_OK;
}

HRESULT device_create_source(IMFAttributes* attributes, IMFMediaSource** source) {
    *source = nullptr;
    wchar_t link[1024] = L"";
    UINT32 length = 0;
    if (FAILED(attributes->GetString(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_SYMBOLIC_LINK, link,
                                     ARRAYSIZE(link), &length)) ||
        length == 0) {
        return E_INVALIDARG;
    }
    SyntheticCamera camera;
    {
        std::lock_guard lock(registry_mutex);
        const auto found = std::find_if(attached.begin(), attached.end(), with_link(link));
        if (found == attached.end()) {
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        }
        camera = *found;
    }
    if (camera.open_delay_ms > 0) {
        Sleep(camera.open_delay_ms);
    }
    if (FAILED(camera.open_result)) {
        return camera.open_result;
    }
    return synthetic_create_source(camera, source);
}

HRESULT device_create_reader(IMFMediaSource* source, IMFAttributes* attributes,
                             IMFSourceReader** reader) {
    return synthetic_create_reader(source, attributes, reader);
}

HRESULT synthetic_open_source(const SyntheticCamera& camera, IMFMediaSource** source) {
    *source = nullptr;
    synthetic_set_cameras({camera});
    ComPtr<IMFAttributes> attributes;
    HRESULT hr = MFCreateAttributes(&attributes, 1);
    if (SUCCEEDED(hr)) {
        hr = attributes->SetString(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_SYMBOLIC_LINK,
                                   camera.symbolic_link.c_str());
    }
    return SUCCEEDED(hr) ? device_create_source(attributes.Get(), source) : hr;
}
