#include "capture/camera_controls_thread.h"

#include <algorithm>
#include <memory>

#include "capture/camera_controls_device.h"

namespace {

// Under the lock: whether the thread may make its next call, and the clock
// for the window's bound started when it may.
bool begin_call(ControlCalls* calls) {
    calls->call_started = calls->stop ? 0 : GetTickCount64();
    return !calls->stop;
}

// Under the lock, after a call: false once stopped. Tells the window there
// are answers, once until it takes them.
bool end_call(ControlCalls* calls) {
    calls->calling = -1;
    calls->call_started = 0;
    if (calls->stop) {
        return false;
    }
    if (!calls->posted) {
        calls->posted = PostMessageW(calls->window, WM_APP_CAMERA_CONTROLS, 0, 0) != 0;
    }
    return true;
}

// Every control the camera reports, with its value and mode; false once
// stopped. The request stays asked until the rows are in. Each call is
// timed on its own: a camera may be slow over thirty-two requests without
// any one of them being stuck.
bool read_rows(ControlCalls* calls) {
    ControlRow rows[control_kind_count];
    int32_t count = 0;
    for (int32_t kind = 0; kind < control_kind_count; ++kind) {
        if (ControlCallsLock lock(calls); !begin_call(calls)) {
            return false;
        }
        ControlRange range{};
        if (FAILED(camera_control_range(calls->run, kind, &range)) ||
            !control_range_usable(range)) {
            continue;
        }
        int32_t value = range.default_value;
        int32_t flags = control_flag_manual;
        if (ControlCallsLock lock(calls); !begin_call(calls)) {
            return false;
        }
        camera_control_get(calls->run, kind, &value, &flags);
        rows[count++] = control_row(kind, range, value, flags);
    }
    ControlCallsLock lock(calls);
    calls->requests.read_all = false;
    calls->results.rows_read = true;
    calls->results.row_count = count;
    std::copy(rows, rows + count, calls->results.rows);
    return end_call(calls);
}

// A Set and the read-back of what the camera then has, timed as one call.
ControlSetResult make_set(const WorkerRun* run, const ControlSet& set) {
    ControlSetResult result{};
    result.set = set;
    result.set_result = camera_control_set(run, set.kind, set.value, set.flags);
    if (SUCCEEDED(result.set_result)) {
        result.read = SUCCEEDED(camera_control_get(run, set.kind, &result.value, &result.flags));
    }
    return result;
}

// Makes the Sets that wait, one by one, each the latest of its control;
// false once stopped.
bool make_sets(ControlCalls* calls) {
    for (;;) {
        ControlSet set{};
        {
            ControlCallsLock lock(calls);
            if (!begin_call(calls)) {
                return false;
            }
            if (!control_take_set(calls->requests, &set)) {
                calls->call_started = 0;
                return true;
            }
            calls->calling = set.kind;
        }
        const ControlSetResult result = make_set(calls->run, set);
        ControlCallsLock lock(calls);
        calls->results.set_made[set.kind] = true;
        calls->results.sets[set.kind] = result;
        if (!end_call(calls)) {
            return false;
        }
    }
}

DWORD WINAPI control_thread_main(void* parameter) {
    // The thread's share of the record, handed over by control_calls_start.
    const std::unique_ptr<std::shared_ptr<ControlCalls>> share(
        static_cast<std::shared_ptr<ControlCalls>*>(parameter));
    ControlCalls* calls = share->get();
    {
        // The source is the worker's, made in its multithreaded apartment.
        ComApartment apartment(COINIT_MULTITHREADED);
        bool going = true;
        while (going && WaitForSingleObject(calls->wake.get(), INFINITE) == WAIT_OBJECT_0) {
            bool read_all = false;
            {
                ControlCallsLock lock(calls);
                read_all = calls->requests.read_all;
            }
            going = (!read_all || read_rows(calls)) && make_sets(calls);
        }
    }
    return 0;
}

} // namespace

std::shared_ptr<ControlCalls> control_calls_start(HWND window, HANDLE* thread) {
    *thread = nullptr;
    if (capture_worker.run == nullptr || !capture_room_for_thread()) {
        return nullptr;
    }
    const auto calls = std::make_shared<ControlCalls>();
    calls->wake.reset(CreateEventW(nullptr, FALSE, TRUE, nullptr));
    calls->window = window;
    calls->run = capture_worker.run;
    calls->run->refs.fetch_add(1);
    InitializeSRWLock(&calls->lock);
    calls->requests.read_all = true;
    calls->calling = -1;
    if (!calls->wake) {
        return nullptr;
    }
    auto share = std::make_unique<std::shared_ptr<ControlCalls>>(calls);
    *thread = CreateThread(nullptr, 0, control_thread_main, share.get(), 0, nullptr);
    if (*thread == nullptr) {
        return nullptr;
    }
    static_cast<void>(share.release()); // the thread owns its share now
    return calls;
}

void control_calls_set(ControlCalls* calls, const ControlSet& set) {
    {
        ControlCallsLock lock(calls);
        control_request_set(calls->requests, set);
    }
    SetEvent(calls->wake.get());
}

void control_calls_take(ControlCalls* calls, ControlResults* results,
                        bool busy[control_kind_count]) {
    ControlCallsLock lock(calls);
    *results = calls->results;
    calls->results = ControlResults{};
    calls->posted = false;
    for (int32_t kind = 0; kind < control_kind_count; ++kind) {
        busy[kind] = calls->requests.set_waiting[kind] || calls->calling == kind;
    }
}

ControlCallsState control_calls_state(ControlCalls* calls) {
    ControlCallsLock lock(calls);
    if (calls->call_started == 0) {
        // Asked and not yet begun counts as calling: the call may stick.
        const bool* waiting = calls->requests.set_waiting;
        return calls->requests.read_all ||
                       std::any_of(waiting, waiting + control_kind_count, [](bool w) { return w; })
                   ? ControlCallsState::Calling
                   : ControlCallsState::Idle;
    }
    return GetTickCount64() - calls->call_started >= capture_stop_wait_ms
               ? ControlCallsState::Stuck
               : ControlCallsState::Calling;
}

void control_calls_end(ControlCalls* calls, HANDLE thread) {
    {
        ControlCallsLock lock(calls);
        calls->stop = true;
    }
    SetEvent(calls->wake.get());
    capture_keep_thread(thread);
}
