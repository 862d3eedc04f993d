#include "capture/device_layer.h"

#include <mfapi.h>

HRESULT device_enum_sources(IMFAttributes* attributes, IMFActivate*** devices, UINT32* count) {
    return MFEnumDeviceSources(attributes, devices, count);
}

HRESULT device_create_source(IMFAttributes* attributes, IMFMediaSource** source) {
    return MFCreateDeviceSource(attributes, source);
}

HRESULT device_create_reader(IMFMediaSource* source, IMFAttributes* attributes,
                             IMFSourceReader** reader) {
    return MFCreateSourceReaderFromMediaSource(source, attributes, reader);
}
