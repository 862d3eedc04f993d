#pragma once
// The choice of the camera's native format on its media source, by the rules
// of format_rules.h. Worker thread only.

#include <windows.h>

#include <mfidl.h>
#include <mfreadwrite.h>

#include <cstdint>

#include "capture/camera_format.h"
#include "capture/capture.h"
#include "capture/format_rules.h"

// Makes the best native type within the limits current on the source, before
// a reader exists; returns its index, or -1 when none was set (the device
// then keeps the format it has).
int32_t select_native_format(IMFMediaSource* source);
// After the reader refused RGB32 from the types in `refused`: makes the best
// of the others the native type through the reader; its index, or -1.
int32_t select_next_native_format(IMFMediaSource* source, IMFSourceReader* reader,
                                  const FormatRefusals& refused);
int subtype_preference(const GUID& subtype);

// The numbers of a native type; false when it has no frame size or subtype.
bool camera_format_of(IMFMediaType* type, CameraFormat& format);
// Makes the native type that is exactly `wanted` current on the source; its
// index, or -1 when the camera does not offer it.
int32_t select_remembered_format(IMFMediaSource* source, const CameraFormat& wanted);
// The source's native formats for the menu, and the one current on it.
void read_run_formats(IMFMediaSource* source, bool picked, RunFormats& formats);
