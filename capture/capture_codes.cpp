#include "capture/capture_codes.h"

CaptureCode classify_capture_error(int32_t hr, bool streamed) {
    if (hr == hresult_access_denied) {
        return CaptureAccessDenied;
    }
    if (hr == hresult_device_preempted || hr == hresult_hw_mft_failed_start ||
        hr == hresult_sharing_violation) {
        return CaptureBusy;
    }
    if (hr == hresult_device_invalidated || streamed) {
        return CaptureLost;
    }
    return CaptureFailed;
}

bool reader_refuses_format(int32_t hr) {
    return hr == hresult_invalid_media_type || hr == hresult_codec_not_found;
}

int32_t hresult_from_win32(uint32_t error) {
    const auto value = static_cast<int32_t>(error);
    if (value <= 0) {
        return value;
    }
    return static_cast<int32_t>((error & 0x0000FFFFu) | 0x80070000u);
}
