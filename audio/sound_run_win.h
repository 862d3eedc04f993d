#pragma once
// The sound thread's records: what one run shares with the user-interface
// thread, and the subsystem's record that the user-interface thread owns.
// audio/sound_win.cpp starts and stops runs; audio/sound_thread_win.cpp is
// the thread.

#include <windows.h>

#include <atomic>

#include "audio/sound_pairing.h"
#include "audio/sound_win.h"
#include "base/owned_win.h"

// What one run shares. sound_start makes it with two references, the
// user-interface thread's and the thread's; whoever lets go last frees it.
// A thread let go of inside a driver call may come back at any time, so
// everything it touches afterwards lives here.
struct SoundRun {
    std::atomic<int32_t> refs;
    HWND window;                                 // set before the thread starts
    wchar_t endpoint_id[sound_endpoint_id_size]; // set before the thread starts
    OwnedHandle stop_event;                      // closed when the run is freed
    SRWLOCK lock = SRWLOCK_INIT;                 // guards what follows
    bool stopped;                                // a stop was asked for: nothing is posted any more
    bool ended;                                  // the thread left its flow
    SoundFigures figures;                        // published by the thread after every wake
};

DWORD WINAPI sound_thread_main(void* run);
// Lets go of one reference; the last one frees the run.
void sound_run_release(SoundRun* run);
