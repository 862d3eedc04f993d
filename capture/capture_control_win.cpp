// Start and stop of the capture worker, and the process-wide start-up and
// shut-down of the capture. User-interface thread only.
//
// No stop waits without bound: a driver may never return from a read, a
// Shutdown or a Release. A worker that does not end in time is abandoned
// (see WorkerRun) and its thread handle kept, so that closing can wait for
// it a little and the process knows whether anything of the capture still
// runs when it ends.

#include <mfapi.h>
#include <wrl/client.h>

#include <cstdlib>
#include <new>

#include "base/text_win.h"
#include "base/thread_list_win.h"
#include "capture/capture.h"
#include "capture/media_foundation.h"

using Microsoft::WRL::ComPtr;

CaptureWorker capture_worker;

namespace {

void reap_abandoned() {
    reap_ended_threads(capture_worker.abandoned, capture_worker.abandoned_count);
}

// capture_start keeps room for two, so this never drops a handle.
void keep_abandoned(HANDLE thread) {
    if (capture_worker.abandoned_count < capture_max_abandoned) {
        capture_worker.abandoned[capture_worker.abandoned_count++] = thread;
    } else {
        CloseHandle(thread);
    }
}

DWORD WINAPI shut_down_source(void* parameter) {
    auto* source = static_cast<IMFMediaSource*>(parameter);
    source->Shutdown();
    source->Release();
    return 0;
}

// Shuts the source down on a thread of its own, taking over the reference:
// the call ends a read that blocks in the worker, but a driver may stall in
// it too. Returns that thread, or null when the call was made here because
// no thread could be started.
HANDLE shut_down_elsewhere(IMFMediaSource* source) {
    HANDLE thread = CreateThread(nullptr, 0, shut_down_source, source, 0, nullptr);
    if (thread == nullptr) {
        shut_down_source(source);
    }
    return thread;
}

void drain_reports(HWND window) {
    MSG message;
    while (PeekMessageW(&message, window, WM_APP_FRAME, WM_APP_STATUS, PM_REMOVE)) {
    }
}

void post_start_failure(HWND window, int32_t hr) {
    PostMessageW(window, WM_APP_STATUS, WPARAM(CaptureFailed), LPARAM(hr));
}

} // namespace

void worker_run_release(WorkerRun* run) {
    if (run->refs.fetch_sub(1) == 1) {
        delete run;
    }
}

bool capture_startup() {
    InitializeCriticalSection(&frame_store.capture_lock);
    return media_foundation_load() &&
           SUCCEEDED(media_foundation.startup(MF_VERSION, MFSTARTUP_LITE));
}

void capture_shutdown() {
    capture_stop_if_running();
    if (capture_worker_stuck()) {
        // A thread given up on may still come back and use the lock, the
        // frame buffer or Media Foundation: they stay for the process's end.
        return;
    }
    media_foundation.shutdown();
    std::free(frame_store.pixels);
    frame_store.pixels = nullptr;
    frame_store.capacity_bytes = 0;
    frame_store.frame_width = 0;
    frame_store.frame_height = 0;
    DeleteCriticalSection(&frame_store.capture_lock);
}

void capture_start(HWND window, const char* camera_id_utf8, const CameraFormat* format) {
    capture_stop_if_running();
    reap_abandoned();
    if (capture_worker.abandoned_count > capture_max_abandoned - 2) {
        // Drivers that never return, again and again: no more threads for
        // them until some come back. The retry cycle asks again.
        post_start_failure(window, hresult_from_win32(ERROR_BUSY));
        return;
    }
    auto* run = new (std::nothrow) WorkerRun{};
    if (run == nullptr) {
        post_start_failure(window, int32_t(E_OUTOFMEMORY));
        return;
    }
    run->refs.store(2); // this thread's and the worker's
    run->target_window = window;
    to_utf16(camera_id_utf8, run->symbolic_link, int(symbolic_link_units));
    run->wanted = format != nullptr ? *format : CameraFormat{};
    capture_worker.target_window = window;
    frame_store.frame_pending.store(0);
    {
        CaptureLockGuard lock;
        frame_store.frame_width = 0;
        frame_store.frame_height = 0;
        frame_store.delivery_published = false; // a new run's figures come from its own stamps
    }
    HANDLE thread = CreateThread(nullptr, 0, capture_thread_main, run, 0, nullptr);
    if (thread == nullptr) {
        post_start_failure(window, hresult_from_win32(GetLastError()));
        delete run;
        return;
    }
    capture_worker.worker_thread = thread;
    capture_worker.run = run;
}

bool capture_run_formats(RunFormats* formats) {
    CaptureLockGuard lock;
    if (capture_worker.run == nullptr || !capture_worker.run->formats.known) {
        return false;
    }
    *formats = capture_worker.run->formats;
    return true;
}

bool capture_stop() {
    return capture_stop_within(capture_stop_wait_ms);
}

bool capture_stop_within(DWORD wait_ms) {
    if (capture_worker.worker_thread == nullptr) {
        return true;
    }
    WorkerRun* run = capture_worker.run;
    run->stop_requested.exchange(1);
    IMFMediaSource* source = nullptr;
    {
        CaptureLockGuard lock;
        source = run->active_source;
        if (source != nullptr) {
            source->AddRef();
        }
    }
    HANDLE threads[2] = {capture_worker.worker_thread, nullptr};
    DWORD count = 1;
    if (source != nullptr) {
        threads[1] = shut_down_elsewhere(source);
        count += threads[1] != nullptr ? 1 : 0;
    }
    const bool joined =
        WaitForMultipleObjects(count, threads, TRUE, wait_ms) < WAIT_OBJECT_0 + count;
    if (!joined) {
        CaptureLockGuard lock;
        run->abandoned = true;
    }
    for (DWORD i = 0; i < count; ++i) {
        if (joined) {
            CloseHandle(threads[i]);
        } else {
            keep_abandoned(threads[i]);
        }
    }
    capture_worker.worker_thread = nullptr;
    capture_worker.run = nullptr;
    worker_run_release(run);
    // Nothing of the stopped run is posted from here on: remove what it
    // posted before.
    drain_reports(capture_worker.target_window);
    return joined;
}

bool capture_stop_all_within(DWORD wait_ms) {
    const ULONGLONG deadline = GetTickCount64() + wait_ms;
    capture_stop_within(wait_ms);
    reap_abandoned();
    const ULONGLONG now = GetTickCount64();
    if (capture_worker.abandoned_count > 0 && now < deadline) {
        WaitForMultipleObjects(DWORD(capture_worker.abandoned_count), capture_worker.abandoned,
                               TRUE, DWORD(deadline - now));
        reap_abandoned();
    }
    return capture_worker.abandoned_count == 0;
}

bool capture_worker_stuck() {
    reap_abandoned();
    return capture_worker.worker_thread != nullptr || capture_worker.abandoned_count > 0;
}

bool capture_room_for_thread() {
    reap_abandoned();
    return capture_worker.abandoned_count <= capture_max_abandoned - 3;
}

void capture_keep_thread(HANDLE thread) {
    keep_abandoned(thread);
}

void capture_stop_if_running() {
    if (capture_worker.worker_thread != nullptr) {
        capture_stop();
    }
}
