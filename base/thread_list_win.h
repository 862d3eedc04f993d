#pragma once
// Threads let go of by a bounded stop: a worker may still be inside a driver
// call, so its handle is kept until it ends. Owned by whichever thread keeps
// the list (the user-interface thread for the capture and the sound).

#include <windows.h>

#include <cstdint>

// Closes and forgets the handles of the threads in `threads` that have ended,
// keeping the others in order; `count` is updated.
inline void reap_ended_threads(HANDLE* threads, int32_t& count) {
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (WaitForSingleObject(threads[i], 0) == WAIT_OBJECT_0) {
            CloseHandle(threads[i]);
        } else {
            threads[kept++] = threads[i];
        }
    }
    count = kept;
}
