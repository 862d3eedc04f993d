#include "capture/media_foundation.h"

MediaFoundationApi media_foundation;

namespace {

// The libraries stay loaded for the life of the process: threads given up on
// inside a driver may still run code in them at exit.
HMODULE load_system_library(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <typename Function> bool take(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

} // namespace

bool media_foundation_load() {
    HMODULE mfplat = load_system_library(media_foundation_libraries[0]);
    HMODULE mf = load_system_library(media_foundation_libraries[1]);
    HMODULE mfreadwrite = load_system_library(media_foundation_libraries[2]);
    if (mfplat == nullptr || mf == nullptr || mfreadwrite == nullptr) {
        return false;
    }
    MediaFoundationApi api{};
    const bool complete =
        take(mfplat, "MFStartup", api.startup) && take(mfplat, "MFShutdown", api.shutdown) &&
        take(mfplat, "MFCreateAttributes", api.create_attributes) &&
        take(mfplat, "MFCreateMediaType", api.create_media_type) &&
        take(mfplat, "MFGetStrideForBitmapInfoHeader", api.stride_for_bitmap_info_header) &&
        take(mf, "MFEnumDeviceSources", api.enum_device_sources) &&
        take(mf, "MFCreateDeviceSource", api.create_device_source) &&
        take(mfreadwrite, "MFCreateSourceReaderFromMediaSource", api.create_source_reader);
    if (!complete) {
        return false;
    }
    media_foundation = api;
    return true;
}
