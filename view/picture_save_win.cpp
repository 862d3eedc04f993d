#include "view/picture_save_win.h"

#include <windows.h>

#include <shlobj.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdlib>
#include <cwchar>
#include <new>

#include "app/app_state.h"
#include "app/support_win.h"
#include "capture/capture.h"
#include "view/picture_copy.h"
#include "view/shown_picture.h"
#include "view/status_text.h"

using Microsoft::WRL::ComPtr;

PictureSaver picture_saver;

namespace {

HRESULT last_error_result() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// The temporary file, deleted on every way out but the rename.
struct TempFile {
    wchar_t path[MAX_PATH] = {};
    bool made = false;
    TempFile() = default;
    ~TempFile() {
        if (made) {
            DeleteFileW(path);
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
};

// A string CoTaskMemAlloc made, freed with the scope.
struct TaskMemString {
    wchar_t* text = nullptr;
    TaskMemString() = default;
    ~TaskMemString() { CoTaskMemFree(text); }
    TaskMemString(const TaskMemString&) = delete;
    TaskMemString& operator=(const TaskMemString&) = delete;
};

HRESULT pictures_tavisko_folder(wchar_t* folder, size_t units) {
    TaskMemString pictures;
    const HRESULT hr =
        SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, &pictures.text);
    if (FAILED(hr)) {
        return hr;
    }
    const int written = std::swprintf(folder, units, L"%ls\\Tavisko", pictures.text);
    return written < 0 || size_t(written) >= units ? HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)
                                                   : S_OK;
}

// The PNG encoder takes 24-bit B, G, R rows on every Windows and under Wine;
// the fourth byte of the taken picture is dropped a row at a time.
// https://learn.microsoft.com/windows/win32/wic/-wic-codec-native-pixel-formats
HRESULT write_rows(IWICBitmapFrameEncode* frame, const PictureSaveJob& job) {
    const UINT stride = UINT(job.width) * 3;
    auto* row = static_cast<uint8_t*>(std::malloc(stride));
    if (row == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = S_OK;
    for (int32_t y = 0; y < job.height && SUCCEEDED(hr); ++y) {
        const uint8_t* source = job.pixels + size_t(y) * size_t(job.width) * 4;
        for (int32_t x = 0; x < job.width; ++x) {
            row[x * 3] = source[x * 4];
            row[x * 3 + 1] = source[x * 4 + 1];
            row[x * 3 + 2] = source[x * 4 + 2];
        }
        hr = frame->WritePixels(1, stride, stride, row);
    }
    std::free(row);
    return hr;
}

// Encodes the picture as PNG into the file at `path`; every object, the
// file's stream included, is released (the file closed) on return.
HRESULT write_png(const wchar_t* path, const PictureSaveJob& job) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory));
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateStream(&stream);
    }
    if (SUCCEEDED(hr)) {
        hr = stream->InitializeFromFilename(path, GENERIC_WRITE);
    }
    ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    }
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(&frame, &options);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(options.Get());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(UINT(job.width), UINT(job.height));
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR) {
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    }
    if (SUCCEEDED(hr)) {
        hr = write_rows(frame.Get(), job);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    return hr;
}

// The written bytes on the disk before the rename, so that a file under the
// final name is a whole picture after a power cut too.
HRESULT flush_file(const wchar_t* path) {
    const ScopedHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(file.handle)) {
        return last_error_result();
    }
    return S_OK;
}

// Renames the complete file to the first name of the job's time that is free.
// The rename refuses an existing name, so a file another save or program made
// meanwhile is never overwritten: the next number is taken instead.
HRESULT move_to_free_name(TempFile& temp, PictureSaveJob* job) {
    for (int32_t counter = 1; counter <= picture_name_tries; ++counter) {
        format_picture_name(job->time, counter, job->name, picture_name_units);
        wchar_t target[MAX_PATH + picture_name_units];
        std::swprintf(target, MAX_PATH + picture_name_units, L"%ls\\%ls", job->folder, job->name);
        if (MoveFileExW(temp.path, target, 0)) {
            temp.made = false;
            return S_OK;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            job->name[0] = L'\0';
            return HRESULT_FROM_WIN32(error);
        }
    }
    job->name[0] = L'\0';
    return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
}

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

HRESULT save_picture_file(PictureSaveJob* job) {
    job->name[0] = L'\0';
    if (job->folder[0] == L'\0') {
        const HRESULT hr = pictures_tavisko_folder(job->folder, MAX_PATH);
        if (FAILED(hr)) {
            return hr;
        }
    }
    if (!CreateDirectoryW(job->folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return last_error_result();
    }
    TempFile temp;
    if (GetTempFileNameW(job->folder, L"tav", 0, temp.path) == 0) {
        return last_error_result();
    }
    temp.made = true;
    HRESULT hr = write_png(temp.path, *job);
    if (SUCCEEDED(hr)) {
        hr = flush_file(temp.path);
    }
    if (SUCCEEDED(hr)) {
        hr = move_to_free_name(temp, job);
    }
    return hr;
}

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
