#pragma once
// The sound thread: plays one capture endpoint through Windows' default
// output, shared-mode WASAPI, event-driven, on a thread of its own
// registered with the multimedia scheduler. The user-interface thread
// starts and stops it and reads its figures; the thread reports only by
// posting WM_APP_SOUND to the window it was started for, and only when it
// ends on its own (the input gone, access denied, no output).
//
// No stop waits without bound: a driver may never return from a call, so a
// stop gives the thread a bounded time and then lets it go; what it touches
// afterwards is its own run's record, freed by whoever lets go of it last.

#include <windows.h>

#include <cstdint>

// Why the sound thread ended on its own: WM_APP_SOUND's wParam; its lParam is
// the HRESULT that ended it.
enum SoundEnd : int32_t {
    SoundEndInputGone = 1,    // the capture endpoint was unplugged or is not present
    SoundEndAccessDenied = 2, // the microphone privacy setting denies the program
    SoundEndNoOutput = 3,     // no default output, or it would not play
    SoundEndFailed = 4,       // any other failure of the endpoints
};

// The longest a stop waits for the thread before letting it go.
inline constexpr DWORD sound_stop_wait_ms = 500;

// Threads that a stop let go of and that may still be inside a driver.
inline constexpr int32_t sound_max_abandoned = 8;

struct SoundRun; // what one run shares with its thread (audio/sound_run_win.h)

// The caller's record of its flow: the window keeps one in its own record,
// a test or the benchmark its own. Owned by the thread that starts and
// stops the flow; all zero is no flow.
struct SoundPlayer {
    HANDLE thread; // the current run's, null when none
    SoundRun* run;
    HWND window; // where the current run reports, for the drain after a stop
    HANDLE abandoned[sound_max_abandoned];
    int32_t abandoned_count;
};

// What the info line and the benchmark read of the running flow.
struct SoundFigures {
    bool playing;         // a flow is running (it may still be filling)
    int64_t glitches;     // times the buffer ran dry or overflowed since the start
    int32_t delay_us;     // the program's own buffering now, input to output device
    int32_t delay_max_us; // the most it was since the start
};

// Stops what plays and starts playing the capture endpoint `endpoint_id`
// (an IMMDevice id) through the default output. Reports to `window`.
void sound_start(SoundPlayer& player, HWND window, const wchar_t* endpoint_id);
// Stops the flow within sound_stop_wait_ms; false when the thread had to be
// let go. Nothing of the stopped flow is posted afterwards.
bool sound_stop(SoundPlayer& player);
// A flow was started and has not been stopped or ended.
bool sound_running(const SoundPlayer& player);
SoundFigures sound_figures(const SoundPlayer& player);
// At exit: stops the flow and waits at most `wait_ms` for every thread let
// go before; true when all of them ended.
bool sound_shutdown_within(SoundPlayer& player, DWORD wait_ms);
