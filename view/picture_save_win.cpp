#include "view/picture_save_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/owned_win.h"
#include "base/text_win.h"
#include "capture/capture.h"
#include "view/picture_copy.h"
#include "view/shown_picture.h"
#include "view/status_text.h"

namespace {

DWORD WINAPI save_thread_main(void* parameter) {
    auto* job = static_cast<PictureSaveJob*>(parameter);
    {
        const ComApartment apartment(COINIT_MULTITHREADED);
        job->result = FAILED(apartment.result) ? apartment.result : save_picture_file(job);
    }
    PostMessageW(job->target_window, WM_APP_PICTURE_SAVED, job->id, 0);
    return 0;
}

void show_tip(const wchar_t* name, HRESULT result) {
    wchar_t tip[save_tip_units];
    format_save_tip(name, int32_t(result), tip, save_tip_units);
    show_window_tip(tip);
}

// The shown picture, turned and mirrored, copied top row first under the
// frame lock; null without a picture, or with `error` set when it could not
// be held.
std::unique_ptr<PictureSaveJob> take_picture(HRESULT* error) {
    const ShownPicture shown;
    if (!shown.held) {
        return nullptr;
    }
    const FramePeek& frame = shown.frame;
    const PictureTurn turn = picture_turn();
    std::unique_ptr<PictureSaveJob> job(new (std::nothrow) PictureSaveJob{});
    if (job != nullptr) {
        job->pixels.reset(
            static_cast<uint8_t*>(std::malloc(size_t(frame.width) * size_t(frame.height) * 4)));
    }
    if (job == nullptr || !job->pixels) {
        *error = E_OUTOFMEMORY;
        return nullptr;
    }
    job->width = shown_width(frame.width, frame.height, turn.quarter);
    job->height = shown_height(frame.width, frame.height, turn.quarter);
    copy_picture_rows(job->pixels.get(), frame.pixels, frame.width, frame.height, turn,
                      RowOrder::TopDown);
    return job;
}

// The job is the worker's from its start until it posts; a job that could
// not start is dropped here.
bool start_job(std::unique_ptr<PictureSaveJob> job) {
    PictureSaver& saver = main_window.picture_saver;
    saver.thread.reset(CreateThread(nullptr, 0, save_thread_main, job.get(), 0, nullptr));
    if (!saver.thread) {
        return false;
    }
    saver.running = std::move(job);
    return true;
}

// The next waiting save, in the order they were taken; failures to start a
// thread are reported as tips and the next one is tried.
void start_next_waiting() {
    PictureSaver& saver = main_window.picture_saver;
    auto* const waiting = saver.waiting;
    while (saver.running == nullptr && saver.waiting_count > 0) {
        std::unique_ptr<PictureSaveJob> next = std::move(waiting[0]);
        std::move(waiting + 1, waiting + saver.waiting_count, waiting);
        --saver.waiting_count;
        if (!start_job(std::move(next))) {
            show_tip(nullptr, last_error_result());
        }
    }
}

// The running worker has posted or is about to: joined, its job let go.
void end_running(bool tip) {
    PictureSaver& saver = main_window.picture_saver;
    // It has posted: only its return is left.
    WaitForSingleObject(saver.thread.get(), INFINITE);
    saver.thread.reset();
    if (tip) {
        show_tip(saver.running->name, saver.running->result);
    }
    saver.running.reset();
}

} // namespace

void save_picture() {
    PictureSaver& saver = main_window.picture_saver;
    // Only what the window shows as a picture, as for the copy.
    if (status_shows_text(main_window.status)) {
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (saver.running != nullptr && saver.waiting_count == picture_save_waiting_max) {
        show_tip(nullptr, HRESULT_FROM_WIN32(ERROR_BUSY));
        return;
    }
    HRESULT error = S_OK;
    std::unique_ptr<PictureSaveJob> job = take_picture(&error);
    if (job == nullptr) {
        if (FAILED(error)) {
            show_tip(nullptr, error);
        }
        return;
    }
    job->id = ++saver.next_id;
    job->time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    job->target_window = main_window.handle;
    if (saver.running != nullptr) {
        saver.waiting[saver.waiting_count++] = std::move(job);
    } else if (!start_job(std::move(job))) {
        show_tip(nullptr, last_error_result());
    }
}

void on_picture_saved(WPARAM id) {
    PictureSaver& saver = main_window.picture_saver;
    // A report of a save that closing has already finished is stale.
    if (saver.running == nullptr || saver.running->id != uint32_t(id)) {
        return;
    }
    end_running(true);
    start_next_waiting();
}

void show_window_tip(const wchar_t* text) {
    PictureSaver& saver = main_window.picture_saver;
    lstrcpynW(saver.tip, text, int(save_tip_units));
    saver.tip_shown = true;
    SetTimer(main_window.handle, TIMER_SAVE_TIP, save_tip_ms, nullptr);
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
}

void hide_save_tip() {
    PictureSaver& saver = main_window.picture_saver;
    saver.tip_shown = false;
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
}

const wchar_t* save_tip_text() {
    PictureSaver& saver = main_window.picture_saver;
    return saver.tip_shown ? saver.tip : nullptr;
}

bool picture_save_finish_within(DWORD wait_ms) {
    PictureSaver& saver = main_window.picture_saver;
    KillTimer(main_window.handle, TIMER_SAVE_TIP);
    saver.tip_shown = false;
    const ULONGLONG deadline = GetTickCount64() + wait_ms;
    while (saver.running != nullptr) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? DWORD(deadline - now) : 0;
        if (WaitForSingleObject(saver.thread.get(), left) != WAIT_OBJECT_0) {
            // Still writing: its job stays its own until the process ends,
            // and its temporary file may be left behind, never a part file
            // under a picture's name. The waiting ones go with the record.
            static_cast<void>(saver.running.release());
            const uint32_t next_id = saver.next_id;
            saver = {};
            saver.next_id = next_id;
            return false;
        }
        end_running(false);
        start_next_waiting();
    }
    return true;
}
