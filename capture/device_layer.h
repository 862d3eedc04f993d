#pragma once
// The only calls that reach a camera device. The product links the Media
// Foundation implementation; tests and the demo build link the synthetic
// camera instead. Chosen at link time: there is no run-time switch.

#include <windows.h>

#include <mfidl.h>
#include <mfreadwrite.h>

HRESULT device_enum_sources(IMFAttributes* attributes, IMFActivate*** devices, UINT32* count);
HRESULT device_create_source(IMFAttributes* attributes, IMFMediaSource** source);
HRESULT device_create_reader(IMFMediaSource* source, IMFAttributes* attributes,
                             IMFSourceReader** reader);
