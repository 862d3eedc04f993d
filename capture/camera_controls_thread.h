#pragma once
// The camera settings window's calls into the camera, made on a thread of
// their own so that a driver that stalls in one stalls neither the window
// nor the frames. The window asks (read every control, set one) and never
// waits; the thread makes the calls one at a time and posts
// WM_APP_CAMERA_CONTROLS when it has answers. A thread whose call has not
// come back within capture_stop_wait_ms is given up on, as a stuck capture
// worker is: it is told to stop, its handle goes to the capture's kept
// threads (closing waits for them a little, and the process leaves without
// them), and when its call does come back it lets go of what it holds and
// ends without posting.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/owned_win.h"
#include "capture/camera_controls.h"
#include "capture/capture.h"

// What one Set found: its result, and the control as read back after it.
struct ControlSetResult {
    ControlSet set; // as made
    HRESULT set_result;
    bool read; // the read-back succeeded: value and flags are the camera's
    int32_t value;
    int32_t flags;
};

// The thread's answers since the window last took them.
struct ControlResults {
    bool rows_read; // read_all was made: row_count and rows
    int32_t row_count;
    ControlRow rows[control_kind_count];
    bool set_made[control_kind_count]; // by kind
    ControlSetResult sets[control_kind_count];
};

// Shared by the window thread and its control thread (a shared_ptr each);
// whichever lets go last frees it, as a thread given up on may come back
// after the window has gone. `window`, `run` and `wake` are set before the thread starts and only
// read after. Everything else is guarded by `lock`:
// - the window writes `requests` and `stop`, and takes `results`, which
//   clears `posted`;
// - the thread takes `requests` and writes `results`, `calling`,
//   `call_started` and `posted`.
struct ControlCalls {
    ~ControlCalls() {
        if (run != nullptr) {
            worker_run_release(run);
        }
    }
    HWND window;      // where WM_APP_CAMERA_CONTROLS goes
    WorkerRun* run;   // the run whose source is called; the thread's reference
    OwnedHandle wake; // auto-reset: a request or the stop is waiting
    SRWLOCK lock;
    ControlRequests requests;
    ControlResults results;
    int32_t calling;        // the kind of the Set being made, or -1
    ULONGLONG call_started; // GetTickCount64 when the current call began; 0 between calls
    bool posted;            // a WM_APP_CAMERA_CONTROLS is on its way
    bool stop;              // no more calls, no more posts
};

// Holds a ControlCalls' lock for a scope.
struct ControlCallsLock {
    SRWLOCK* lock;
    explicit ControlCallsLock(ControlCalls* calls) : lock(&calls->lock) {
        AcquireSRWLockExclusive(lock);
    }
    ~ControlCallsLock() { ReleaseSRWLockExclusive(lock); }
    ControlCallsLock(const ControlCallsLock&) = delete;
    ControlCallsLock& operator=(const ControlCallsLock&) = delete;
};

// The window thread's side. Starts a thread on the current capture run that
// first reads every control; null (and no thread) when no run is current or
// no thread can be had.
std::shared_ptr<ControlCalls> control_calls_start(HWND window, HANDLE* thread);
// Asks for a Set; it replaces one of the same control still waiting.
void control_calls_set(ControlCalls* calls, const ControlSet& set);
// Takes the answers. `busy` says, by kind, which controls have a Set waiting
// or being made: their answers are already out of date.
void control_calls_take(ControlCalls* calls, ControlResults* results,
                        bool busy[control_kind_count]);
enum class ControlCallsState { Idle, Calling, Stuck };
// Stuck once a call has run capture_stop_wait_ms.
ControlCallsState control_calls_state(ControlCalls* calls);
// Stops the thread without waiting for it (its handle is kept with the
// capture's threads); the caller then lets go of its share of the record.
void control_calls_end(ControlCalls* calls, HANDLE thread);
