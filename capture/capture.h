#pragma once
// The capture worker and the frame store it fills. The user-interface thread
// starts, stops and joins the one worker; the worker only posts WM_APP_FRAME
// and WM_APP_STATUS to the target window and writes the FrameStore under
// capture_lock.

#include <windows.h>

#include <mfidl.h>
#include <mfreadwrite.h>

#include <atomic>
#include <cstdint>

#include "capture/capture_codes.h"

inline constexpr UINT WM_APP_FRAME = WM_APP + 1;  // a new frame is in the FrameStore
inline constexpr UINT WM_APP_STATUS = WM_APP + 2; // wParam CaptureCode, lParam the HRESULT

inline constexpr size_t symbolic_link_units = 512;

// The newest frame: frame_height rows of frame_width x 4 bytes (B, G, R, X),
// top row first, packed. pixels, capacity_bytes and the sizes are guarded by
// capture_lock; frame_pending is atomic and lives outside it.
struct FrameStore {
    uint8_t* pixels;         // grown, never shrunk; freed by capture_shutdown
    uint64_t capacity_bytes; // size of the pixels block
    int32_t frame_width;     // 0: no frame
    int32_t frame_height;
    std::atomic<int32_t> frame_pending; // 1 from a posted WM_APP_FRAME until the next paint
};

// Owned by the user-interface thread, except active_source (under the lock)
// and stop_requested (atomic), which the worker shares.
struct CaptureWorker {
    HANDLE worker_thread; // null when there is no worker
    std::atomic<int32_t> stop_requested;
    HWND target_window;
    wchar_t symbolic_link[symbolic_link_units];
    IMFMediaSource* active_source; // the worker's reference, published for capture_stop
};

extern FrameStore frame_store;
extern CaptureWorker capture_worker;
extern CRITICAL_SECTION capture_lock;

// Holds capture_lock for a scope.
struct CaptureLockGuard {
    CaptureLockGuard() { EnterCriticalSection(&capture_lock); }
    ~CaptureLockGuard() { LeaveCriticalSection(&capture_lock); }
    CaptureLockGuard(const CaptureLockGuard&) = delete;
    CaptureLockGuard& operator=(const CaptureLockGuard&) = delete;
};

// Lock and Media Foundation up; false when Media Foundation cannot start.
bool capture_startup();
void capture_shutdown();

void capture_start(HWND window, const char* camera_id_utf8);
// Stops the worker and joins it, however long its device takes to let go.
void capture_stop();
void capture_stop_if_running();
// Stops the worker but waits at most `wait_ms` for it; true once it has been
// joined (or when there was none). On a time-out the worker, stuck in a call
// into its driver, keeps its handle and everything it may still touch.
bool capture_stop_within(DWORD wait_ms);
// A bounded stop gave up on the worker: it was told to stop and still runs.
bool capture_worker_stuck();

// How long closing the window waits for the worker before the process
// leaves without it.
inline constexpr DWORD capture_close_wait_ms = 3000;

struct FramePeek {
    const uint8_t* pixels;
    int32_t width;
    int32_t height;
};
// True with capture_lock held when a frame is present; the caller must call
// frame_unlock and nothing else of this module in between.
bool frame_lock_peek(FramePeek* frame);
void frame_unlock();
int32_t frame_clear_pending();

// frame_lock_peek for a scope: `held` says whether a frame is there, and the
// lock is left when the object goes.
struct PeekedFrame {
    FramePeek frame;
    bool held;
    PeekedFrame() : frame{}, held(frame_lock_peek(&frame)) {}
    ~PeekedFrame() {
        if (held) {
            frame_unlock();
        }
    }
    PeekedFrame(const PeekedFrame&) = delete;
    PeekedFrame& operator=(const PeekedFrame&) = delete;
};

// Worker internals: the thread, and the steps the capture files share.
DWORD WINAPI capture_thread_main(void* unused);
void select_native_format(IMFMediaSource* source);
int subtype_preference(const GUID& subtype);
struct OutputFormat {
    int32_t width;
    int32_t height;
    int32_t stride; // negative: rows stored bottom-up
};
HRESULT query_output_format(IMFSourceReader* reader, OutputFormat* format);
void copy_sample_to_store(IMFSample* sample, const OutputFormat& format);
