// Start and stop of the sound thread. User-interface thread only.
//
// No stop waits without bound: a driver may never return from a call, so a
// thread that does not end in time is let go (its run record keeps what it
// still touches) and its handle kept, so that shutting down can wait for it
// a little and knows whether anything of the sound still runs.

#include "audio/sound_run_win.h"

#include <cwchar>
#include <memory>
#include <new>

#include "base/messages_win.h"
#include "base/thread_list_win.h"

namespace {

void reap_abandoned(SoundPlayer& player) {
    reap_ended_threads(player.abandoned, player.abandoned_count);
}

void post_end(HWND window, SoundEnd end, HRESULT hr) {
    PostMessageW(window, WM_APP_SOUND, WPARAM(end), LPARAM(static_cast<int32_t>(hr)));
}

} // namespace

void sound_run_release(SoundRun* run) {
    if (run->refs.fetch_sub(1) == 1) {
        delete run;
    }
}

void sound_start(SoundPlayer& player, HWND window, const wchar_t* endpoint_id) {
    sound_stop(player);
    reap_abandoned(player);
    if (player.abandoned_count >= sound_max_abandoned) {
        // Drivers that never return, again and again: no more threads for
        // them until some come back.
        post_end(window, SoundEndFailed, HRESULT_FROM_WIN32(ERROR_BUSY));
        return;
    }
    if (std::wcslen(endpoint_id) >= sound_endpoint_id_size) {
        post_end(window, SoundEndInputGone,
                 HRESULT_FROM_WIN32(ERROR_NOT_FOUND)); // no endpoint's id
        return;
    }
    std::unique_ptr<SoundRun> run(new (std::nothrow) SoundRun{});
    if (run) {
        run->stop_event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    if (!run || !run->stop_event) {
        post_end(window, SoundEndFailed, E_OUTOFMEMORY);
        return;
    }
    run->refs.store(2); // this thread's and the sound thread's
    run->window = window;
    std::wcscpy(run->endpoint_id, endpoint_id);
    HANDLE thread = CreateThread(nullptr, 0, sound_thread_main, run.get(), 0, nullptr);
    if (thread == nullptr) {
        post_end(window, SoundEndFailed, HRESULT_FROM_WIN32(GetLastError()));
        return;
    }
    player.thread = thread;
    player.run = run.release();
    player.window = window;
}

bool sound_stop(SoundPlayer& player) {
    if (player.thread == nullptr) {
        return true;
    }
    SoundRun* run = player.run;
    {
        // From here on the thread posts nothing.
        const ScopedExclusiveLock hold(run->lock);
        run->stopped = true;
    }
    SetEvent(run->stop_event.get());
    const bool joined = WaitForSingleObject(player.thread, sound_stop_wait_ms) == WAIT_OBJECT_0;
    if (joined || player.abandoned_count >= sound_max_abandoned) {
        CloseHandle(player.thread);
    } else {
        player.abandoned[player.abandoned_count++] = player.thread;
    }
    player.thread = nullptr;
    player.run = nullptr;
    sound_run_release(run);
    // What the run posted before the stop goes unread.
    MSG message;
    while (PeekMessageW(&message, player.window, WM_APP_SOUND, WM_APP_SOUND, PM_REMOVE)) {
    }
    return joined;
}

bool sound_running(const SoundPlayer& player) {
    if (player.run == nullptr) {
        return false;
    }
    const ScopedExclusiveLock hold(player.run->lock);
    return !player.run->ended;
}

SoundFigures sound_figures(const SoundPlayer& player) {
    if (player.run == nullptr) {
        return {};
    }
    const ScopedExclusiveLock hold(player.run->lock);
    return player.run->figures;
}

bool sound_shutdown_within(SoundPlayer& player, DWORD wait_ms) {
    const ULONGLONG deadline = GetTickCount64() + wait_ms;
    sound_stop(player);
    reap_abandoned(player);
    const ULONGLONG now = GetTickCount64();
    if (player.abandoned_count > 0 && now < deadline) {
        WaitForMultipleObjects(DWORD(player.abandoned_count), player.abandoned, TRUE,
                               DWORD(deadline - now));
        reap_abandoned(player);
    }
    return player.abandoned_count == 0;
}
