#pragma once
// Ctrl+S: the shown picture as a PNG file in "Tavisko" in the user's Pictures
// folder. The user-interface thread takes the picture and owns the queue of
// saves; one short-lived worker at a time encodes and writes a taken picture
// and posts WM_APP_PICTURE_SAVED when its file is complete or has failed.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/owned_win.h"

#include "view/picture_save.h"

// One taken picture and where it goes. The user-interface thread fills it;
// the worker owns it until it posts, then the user-interface thread again.
struct PictureSaveJob {
    uint32_t id;               // posted as wParam, to match the report to its job
    HeapBlock<uint8_t> pixels; // top row first, 4 bytes a pixel (B, G, R, 0xFF)
    int32_t width;
    int32_t height;
    LocalTime time;                   // of the key press, for the name
    wchar_t folder[MAX_PATH];         // empty: "Tavisko" in the Pictures folder
    wchar_t name[picture_name_units]; // out: the saved file's name
    HRESULT result;                   // out
    HWND target_window;               // told when the save has ended
};

// Pictures taken while one is written wait their turn, up to this many; a
// held-down Ctrl+S (the key repeats) is refused beyond that with a tip.
inline constexpr int32_t picture_save_waiting_max = 4;

// The user-interface thread's saves and tip.
struct PictureSaver {
    OwnedHandle thread;                      // the worker, empty when none runs
    std::unique_ptr<PictureSaveJob> running; // its job
    std::unique_ptr<PictureSaveJob> waiting[picture_save_waiting_max]; // oldest first
    int32_t waiting_count;
    uint32_t next_id;
    bool tip_shown;
    wchar_t tip[save_tip_units];
};

// Writes the job's picture: the folder made when missing, the PNG written
// under a temporary name in it and renamed to the first free name for the
// job's time, never over an existing file. On failure no file is left.
// Needs COM on the calling thread. The worker's step; tests call it directly.
HRESULT save_picture_file(PictureSaveJob* job);

// The command: takes the shown picture (turned and mirrored as shown, the
// frozen one while frozen) and saves it. Nothing without a picture.
void save_picture();
// WM_APP_PICTURE_SAVED: joins the worker, shows the tip for save_tip_ms and
// starts the next waiting save.
void on_picture_saved(WPARAM id);
// Shows another text in the tip, for save_tip_ms too (cut to save_tip_units).
void show_window_tip(const wchar_t* text);
// The tip's timer.
void hide_save_tip();
// The tip while it shows, else null.
const wchar_t* save_tip_text();
// Closing: finishes the running and the waiting saves within `wait_ms`, so
// that no file is lost to a quick close; a save still running then is left
// to the process's end. True when every save has ended.
bool picture_save_finish_within(DWORD wait_ms);
inline constexpr DWORD picture_save_close_wait_ms = 5000;
