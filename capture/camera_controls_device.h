#pragma once
// The running camera's own controls, reached through the capture worker's
// media source. User-interface thread only.
//
// The source belongs to the worker. Every call takes capture_lock, asks the
// current run's source for the control's interface, makes the one call and
// lets the interface go before it leaves the lock. The worker clears its
// source under that lock before it shuts it down and releases it, so the
// source is alive for the call, this thread never holds a reference past the
// lock and the last release is always the worker's. A driver's property call
// is a short control request; the worker waits for it at most in its next
// copy of a frame.

#include <windows.h>

#include <cstdint>

#include "capture/camera_controls.h"

// What the calls answer while no source runs.
inline constexpr HRESULT camera_controls_not_running = HRESULT_FROM_WIN32(ERROR_NOT_READY);

HRESULT camera_control_range(int32_t kind, ControlRange* range);
HRESULT camera_control_get(int32_t kind, int32_t* value, int32_t* flags);
HRESULT camera_control_set(int32_t kind, int32_t value, int32_t flags);
