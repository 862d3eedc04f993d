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

#include "base/messages_win.h"
#include "capture/camera_format.h"
#include "capture/capture_codes.h"
#include "capture/picture_area.h"

inline constexpr size_t symbolic_link_units = 512;

// What the camera really delivers, measured from its samples' time stamps.
struct DeliveryFigures {
    int32_t rate_centi; // as frame_timing_rate_centi; -1 while not yet measured
    int64_t dropped;    // frames missing since measuring was turned on or the camera started
    bool operator==(const DeliveryFigures&) const = default;
};

// The newest frame: frame_height rows of frame_width x 4 bytes (B, G, R, X),
// top row first, packed. pixels, capacity_bytes and the sizes are guarded by
// capture_lock (which also guards each run's active source and formats);
// frame_pending is atomic and lives outside it. Shared by the worker and the
// user-interface thread; capture_startup and capture_shutdown make and
// delete the lock.
struct FrameStore {
    CRITICAL_SECTION capture_lock;
    uint8_t* pixels;         // grown, never shrunk; freed by capture_shutdown
    uint64_t capacity_bytes; // size of the pixels block
    int32_t frame_width;     // 0: no frame
    int32_t frame_height;
    std::atomic<int32_t> frame_pending; // 1 from a posted WM_APP_FRAME until the next paint
    // Measuring the delivery: switched by the user-interface thread, read by
    // the worker once a sample. Each switch on bumps the generation, which
    // tells the worker to start afresh.
    std::atomic<bool> measure_delivery;
    std::atomic<uint32_t> measure_generation;
    // Under capture_lock: the figures the worker published last, the
    // generation it measured them in, and whether there are any for this run.
    DeliveryFigures delivery;
    uint32_t delivery_generation;
    bool delivery_published;
};

// What the worker hands over with a sample once its stamps have advanced a
// second: the figures and the generation they belong to.
struct DeliveryPublication {
    DeliveryFigures figures;
    uint32_t generation;
};

// What the format menu shows of a run: written once by its worker, under
// capture_lock, when its reader is ready.
struct RunFormats {
    bool known;
    bool picked;          // the remembered format was offered and asked for
    CameraFormat running; // the native type in use; all zero when the device did not say
    FormatList list;
};

// What one worker run shares with the user-interface thread. capture_start
// makes it; the worker holds a reference for its whole run, the
// user-interface thread one while the run is current and a camera settings'
// control thread one for its life, and whoever lets go last frees it. A
// worker given up on inside a driver call may come back at any time, so
// everything it touches after that lives here or is checked against
// `abandoned` under capture_lock.
struct WorkerRun {
    std::atomic<int32_t> refs;
    std::atomic<int32_t> stop_requested;
    HWND target_window;                         // set before the thread starts
    wchar_t symbolic_link[symbolic_link_units]; // set before the thread starts
    CameraFormat wanted; // set before the thread starts: the remembered format, or all zero
    IMFMediaSource* active_source; // under capture_lock: the worker's, for the stop to shut down
    bool abandoned;     // under capture_lock: the run may no longer fill the store or post
    RunFormats formats; // under capture_lock
};

// Threads that a bounded stop gave up on (workers, and shut-down calls into
// a source) and that may still be inside a driver. capture_start refuses a
// new worker while the list could not take another stop's two.
inline constexpr int32_t capture_max_abandoned = 16;

// Owned by the user-interface thread.
struct CaptureWorker {
    HANDLE worker_thread; // the current worker, null when there is none
    WorkerRun* run;       // its shared record
    HWND target_window;   // where its messages go, for the drain after a stop
    HANDLE abandoned[capture_max_abandoned];
    int32_t abandoned_count;
};

extern FrameStore frame_store;
extern CaptureWorker capture_worker;

// Holds capture_lock for a scope.
struct CaptureLockGuard {
    CaptureLockGuard() { EnterCriticalSection(&frame_store.capture_lock); }
    ~CaptureLockGuard() { LeaveCriticalSection(&frame_store.capture_lock); }
    CaptureLockGuard(const CaptureLockGuard&) = delete;
    CaptureLockGuard& operator=(const CaptureLockGuard&) = delete;
};

// Lock and Media Foundation up; false when Media Foundation cannot start.
bool capture_startup();
void capture_shutdown();

// `format` is the native format to ask for when the camera offers it, or
// null (or all zero) for the built-in choice.
void capture_start(HWND window, const char* camera_id_utf8, const CameraFormat* format = nullptr);
// The current run's formats; false while no worker has read them.
bool capture_run_formats(RunFormats* formats);
// Stops the worker and joins it, waiting at most capture_stop_wait_ms. A
// worker still inside a device call then is abandoned: it can no longer
// fill the frame store or post, its report is removed from the queue, and
// what it holds is released when the call returns. True when it was joined.
bool capture_stop();
void capture_stop_if_running();
// The same with another bound.
bool capture_stop_within(DWORD wait_ms);
// Closing: stops the worker and waits for the abandoned threads as well, all
// within `wait_ms`; true when no thread of the capture is left.
bool capture_stop_all_within(DWORD wait_ms);
// A thread of the capture (the worker or one given up on) still runs.
bool capture_worker_stuck();
// Another caller into a run's source (the camera settings' control thread)
// may stick in a driver as the worker may, so its handle is kept with the
// threads given up on: closing waits for it, and the process leaves without
// it. Room is kept for a stop's two besides.
bool capture_room_for_thread();
void capture_keep_thread(HANDLE thread);

// How long a stop waits for the worker before it gives up on it, and how
// long closing the window waits for every thread of the capture before the
// process leaves without them.
inline constexpr DWORD capture_stop_wait_ms = 3000;
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

// User-interface thread. On: the worker measures from its next sample and
// counts drops afresh; off: nothing is measured (no per-frame cost beyond
// one atomic load).
void capture_measure_delivery(bool on);
// User-interface thread: the figures the worker last published (once the
// stamps advanced a second); false while measuring is off or nothing has
// been published since it was turned on or since the current run started.
bool capture_delivery(DeliveryFigures* figures);

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
DWORD WINAPI capture_thread_main(void* run);
// Lets go of one reference to the run; the last one frees it.
void worker_run_release(WorkerRun* run);
struct OutputFormat {
    int32_t width; // the coded frame, as the buffers hold it
    int32_t height;
    int32_t stride;      // negative: rows stored bottom-up
    PictureArea picture; // the part of it that is stored and shown
};
HRESULT query_output_format(IMFSourceReader* reader, OutputFormat* format);
// Copies a delivered sample into the frame store and posts what it brings
// (the streaming report for the `first` one, then WM_APP_FRAME unless one is
// pending) and the delivery figures when there are new ones, all in one hold
// of capture_lock; nothing once `run` has been abandoned.
void copy_sample_to_store(IMFSample* sample, const OutputFormat& format, const WorkerRun* run,
                          bool first, const DeliveryPublication* publication);
// Under capture_lock: the posts for a delivered sample, and its figures.
void announce_sample(const WorkerRun* run, bool first, const DeliveryPublication* publication);
