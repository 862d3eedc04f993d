#pragma once
// A capture run's camera controls, reached through the run's media source.
// Called on the settings window's control thread only: a driver may take
// long over a property request or never come back from one.
//
// The source belongs to the run's worker. Each call takes a reference to it
// under capture_lock, while the run still has it (not given up on, its
// source not yet cleared for its Shutdown), and leaves the lock before it
// asks the source for anything: the worker's copy of a frame and the
// window's paint never wait for a driver. The worker shuts the source down
// before it lets it go, so a call may find it shut down and fail with
// MF_E_SHUTDOWN, and the last release may be this thread's.

#include <windows.h>

#include <cstdint>

#include "capture/camera_controls.h"
#include "capture/capture.h"

// What the calls answer once the run has no source.
inline constexpr HRESULT camera_controls_not_running = HRESULT_FROM_WIN32(ERROR_NOT_READY);

HRESULT camera_control_range(const WorkerRun* run, int32_t kind, ControlRange* range);
HRESULT camera_control_get(const WorkerRun* run, int32_t kind, int32_t* value, int32_t* flags);
HRESULT camera_control_set(const WorkerRun* run, int32_t kind, int32_t value, int32_t flags);
