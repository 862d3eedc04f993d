#include "view/picture_save_win.h"

#include <windows.h>

#include <cstdlib>
#include <new>

#include "app/app_state.h"
#include "app/support_win.h"
#include "capture/capture.h"
#include "view/picture_copy.h"
#include "view/shown_picture.h"
#include "view/status_text.h"

PictureSaver picture_saver;

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

void free_job(PictureSaveJob* job) {
    if (job != nullptr) {
        std::free(job->pixels);
        delete job;
    }
}

void show_tip(const wchar_t* name, HRESULT result) {
    format_save_tip(name, int32_t(result), picture_saver.tip, save_tip_units);
    picture_saver.tip_shown = true;
    SetTimer(main_window, TIMER_SAVE_TIP, save_tip_ms, nullptr);
    const RECT area = video_area_rect();
    InvalidateRect(main_window, &area, FALSE);
}

// The shown picture, turned and mirrored, copied top row first under the
// frame lock; null without a picture, or with `error` set when it could not
// be held.
PictureSaveJob* take_picture(HRESULT* error) {
    const ShownPicture shown;
    if (!shown.held) {
        return nullptr;
    }
    const FramePeek& frame = shown.frame;
    const PictureTurn turn = picture_turn();
    auto* job = new (std::nothrow) PictureSaveJob{};
    if (job != nullptr) {
        job->pixels =
            static_cast<uint8_t*>(std::malloc(size_t(frame.width) * size_t(frame.height) * 4));
    }
    if (job == nullptr || job->pixels == nullptr) {
        free_job(job);
        *error = E_OUTOFMEMORY;
        return nullptr;
    }
    job->width = shown_width(frame.width, frame.height, turn.quarter);
    job->height = shown_height(frame.width, frame.height, turn.quarter);
    copy_picture_rows(job->pixels, frame.pixels, frame.width, frame.height, turn,
                      RowOrder::TopDown);
    return job;
}

bool start_job(PictureSaveJob* job) {
    picture_saver.thread = CreateThread(nullptr, 0, save_thread_main, job, 0, nullptr);
    if (picture_saver.thread == nullptr) {
        return false;
    }
    picture_saver.running = job;
    return true;
}

// The next waiting save, in the order they were taken; failures to start a
// thread are reported as tips and the next one is tried.
void start_next_waiting() {
    while (picture_saver.running == nullptr && picture_saver.waiting_count > 0) {
        PictureSaveJob* next = picture_saver.waiting[0];
        --picture_saver.waiting_count;
        for (int32_t i = 0; i < picture_saver.waiting_count; ++i) {
            picture_saver.waiting[i] = picture_saver.waiting[i + 1];
        }
        if (!start_job(next)) {
            show_tip(nullptr, last_error_result());
            free_job(next);
        }
    }
}

// The running worker has posted or is about to: joined, its job let go.
void end_running(bool tip) {
    WaitForSingleObject(picture_saver.thread, INFINITE); // it has posted: only its return is left
    CloseHandle(picture_saver.thread);
    if (tip) {
        show_tip(picture_saver.running->name, picture_saver.running->result);
    }
    free_job(picture_saver.running);
    picture_saver.thread = nullptr;
    picture_saver.running = nullptr;
}

} // namespace

void save_picture() {
    // Only what the window shows as a picture, as for the copy.
    if (status_shows_text(status)) {
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (picture_saver.running != nullptr &&
        picture_saver.waiting_count == picture_save_waiting_max) {
        show_tip(nullptr, HRESULT_FROM_WIN32(ERROR_BUSY));
        return;
    }
    HRESULT error = S_OK;
    PictureSaveJob* job = take_picture(&error);
    if (job == nullptr) {
        if (FAILED(error)) {
            show_tip(nullptr, error);
        }
        return;
    }
    job->id = ++picture_saver.next_id;
    job->time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    job->target_window = main_window;
    if (picture_saver.running != nullptr) {
        picture_saver.waiting[picture_saver.waiting_count++] = job;
    } else if (!start_job(job)) {
        show_tip(nullptr, last_error_result());
        free_job(job);
    }
}

void on_picture_saved(WPARAM id) {
    // A report of a save that closing has already finished is stale.
    if (picture_saver.running == nullptr || picture_saver.running->id != uint32_t(id)) {
        return;
    }
    end_running(true);
    start_next_waiting();
}

void hide_save_tip() {
    picture_saver.tip_shown = false;
    const RECT area = video_area_rect();
    InvalidateRect(main_window, &area, FALSE);
}

const wchar_t* save_tip_text() {
    return picture_saver.tip_shown ? picture_saver.tip : nullptr;
}

bool picture_save_finish_within(DWORD wait_ms) {
    KillTimer(main_window, TIMER_SAVE_TIP);
    picture_saver.tip_shown = false;
    const ULONGLONG deadline = GetTickCount64() + wait_ms;
    while (picture_saver.running != nullptr) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? DWORD(deadline - now) : 0;
        if (WaitForSingleObject(picture_saver.thread, left) != WAIT_OBJECT_0) {
            // Still writing: its job stays its own until the process ends,
            // and its temporary file may be left behind, never a part file
            // under a picture's name.
            CloseHandle(picture_saver.thread);
            for (int32_t i = 0; i < picture_saver.waiting_count; ++i) {
                free_job(picture_saver.waiting[i]);
            }
            const uint32_t next_id = picture_saver.next_id;
            picture_saver = {};
            picture_saver.next_id = next_id;
            return false;
        }
        end_running(false);
        start_next_waiting();
    }
    return true;
}
