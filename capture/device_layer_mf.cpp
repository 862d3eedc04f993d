#include "capture/device_layer.h"

#include "capture/media_foundation.h"

HRESULT device_enum_sources(IMFAttributes* attributes, IMFActivate*** devices, UINT32* count) {
    return media_foundation.enum_device_sources(attributes, devices, count);
}

HRESULT device_create_source(IMFAttributes* attributes, IMFMediaSource** source) {
    return media_foundation.create_device_source(attributes, source);
}

HRESULT device_create_reader(IMFMediaSource* source, IMFAttributes* attributes,
                             IMFSourceReader** reader) {
    return media_foundation.create_source_reader(source, attributes, reader);
}
