#pragma once
// The capture worker's report codes (wParam of WM_APP_STATUS) and the rule
// that folds a failing HRESULT into one of them. Platform-free.

#include <cstdint>

enum CaptureCode : int32_t {
    CaptureStreaming = 1,
    CaptureAccessDenied = 2,
    CaptureBusy = 3,
    CaptureFailed = 4,
    CaptureLost = 5,
};

inline constexpr int32_t hresult_access_denied = static_cast<int32_t>(0x80070005);
inline constexpr int32_t hresult_device_preempted = static_cast<int32_t>(0xC00D3EA3);
inline constexpr int32_t hresult_hw_mft_failed_start = static_cast<int32_t>(0xC00D3704);
inline constexpr int32_t hresult_sharing_violation = static_cast<int32_t>(0x80070020);
inline constexpr int32_t hresult_device_invalidated = static_cast<int32_t>(0xC00D3EA2);
inline constexpr int32_t hresult_invalid_media_type = static_cast<int32_t>(0xC00D36B4);
inline constexpr int32_t hresult_codec_not_found = static_cast<int32_t>(0xC00D5212);

CaptureCode classify_capture_error(int32_t hr, bool streamed);

// The source reader's word that it cannot deliver RGB32 from the camera's
// current native type (no decoder, or the decoder's output refused), so
// another native type may do.
bool reader_refuses_format(int32_t hr);

// HRESULT_FROM_WIN32: 0 and negative values pass unchanged, any other value
// becomes its low 16 bits in the Win32 facility.
int32_t hresult_from_win32(uint32_t error);
