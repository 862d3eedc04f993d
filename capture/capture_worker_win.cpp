#include <mfapi.h>
#include <mferror.h>
#include <wrl/client.h>

#include <cstdlib>

#include "app/support_win.h"
#include "capture/capture.h"
#include "capture/device_layer.h"

using Microsoft::WRL::ComPtr;

CaptureWorker capture_worker;

namespace {

bool stopping() {
    return capture_worker.stop_requested.load() != 0;
}

void post_status(CaptureCode code, HRESULT hr) {
    PostMessageW(capture_worker.target_window, WM_APP_STATUS, WPARAM(code),
                 LPARAM(static_cast<int32_t>(hr)));
}

HRESULT open_device(ComPtr<IMFMediaSource>& source) {
    ComPtr<IMFAttributes> attributes;
    HRESULT hr = MFCreateAttributes(&attributes, 2);
    if (SUCCEEDED(hr)) {
        hr = attributes->SetGUID(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE,
                                 MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_GUID);
    }
    if (SUCCEEDED(hr)) {
        hr = attributes->SetString(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_SYMBOLIC_LINK,
                                   capture_worker.symbolic_link);
    }
    if (SUCCEEDED(hr)) {
        hr = device_create_source(attributes.Get(), &source);
    }
    return hr;
}

// Everything the worker holds for one run. Released in reverse order of
// creation when the thread leaves; the source gets Shutdown first.
struct WorkerObjects {
    ComPtr<IMFMediaSource> source;
    ComPtr<IMFAttributes> reader_attributes;
    ComPtr<IMFSourceReader> reader;
    ComPtr<IMFMediaType> output_type;

    ~WorkerObjects() {
        {
            CaptureLockGuard lock;
            capture_worker.active_source = nullptr;
        }
        output_type.Reset();
        reader.Reset();
        reader_attributes.Reset();
        if (source) {
            source->Shutdown();
            source.Reset();
        }
    }
};

HRESULT build_reader(WorkerObjects& objects, OutputFormat& format) {
    HRESULT hr = MFCreateAttributes(&objects.reader_attributes, 1);
    if (SUCCEEDED(hr)) {
        hr = objects.reader_attributes->SetUINT32(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING, 1);
    }
    if (SUCCEEDED(hr)) {
        hr = device_create_reader(objects.source.Get(), objects.reader_attributes.Get(),
                                  &objects.reader);
    }
    if (SUCCEEDED(hr)) {
        hr = MFCreateMediaType(&objects.output_type);
    }
    if (SUCCEEDED(hr)) {
        hr = objects.output_type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    }
    if (SUCCEEDED(hr)) {
        hr = objects.output_type->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_RGB32);
    }
    if (SUCCEEDED(hr)) {
        hr = objects.reader->SetCurrentMediaType(DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM),
                                                 nullptr, objects.output_type.Get());
    }
    if (SUCCEEDED(hr)) {
        hr = query_output_format(objects.reader.Get(), &format);
    }
    return hr;
}

// Reads until a failure (returned) or a stop (S_OK). `streamed` is set once
// the first sample has been delivered, whether or not it could be copied.
HRESULT read_samples(WorkerObjects& objects, OutputFormat& format, bool& streamed) {
    while (!stopping()) {
        DWORD flags = 0;
        ComPtr<IMFSample> sample;
        const HRESULT hr = objects.reader->ReadSample(DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM), 0,
                                                      nullptr, &flags, nullptr, &sample);
        if (FAILED(hr)) {
            return hr;
        }
        if (flags & (MF_SOURCE_READERF_ERROR | MF_SOURCE_READERF_ENDOFSTREAM)) {
            return MF_E_VIDEO_RECORDING_DEVICE_INVALIDATED;
        }
        if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
            query_output_format(objects.reader.Get(), &format);
        }
        if (!sample) {
            continue; // a stream tick or another event
        }
        if (stopping()) {
            return S_OK;
        }
        copy_sample_to_store(sample.Get(), format);
        if (!streamed) {
            post_status(CaptureStreaming, S_OK);
        }
        int32_t idle = 0;
        if (frame_store.frame_pending.compare_exchange_strong(idle, 1)) {
            PostMessageW(capture_worker.target_window, WM_APP_FRAME, 0, 0);
        }
        streamed = true;
    }
    return S_OK;
}

// One capture run; returns the failure to report, or S_OK for none.
HRESULT run_capture(WorkerObjects& objects) {
    HRESULT hr = open_device(objects.source);
    if (SUCCEEDED(hr)) {
        bool stop = false;
        {
            CaptureLockGuard lock;
            capture_worker.active_source = objects.source.Get();
            stop = stopping();
        }
        if (stop) {
            return S_OK;
        }
        select_native_format(objects.source.Get());
    }
    OutputFormat format{0, 0, 0};
    if (SUCCEEDED(hr)) {
        hr = build_reader(objects, format);
    }
    bool streamed = false;
    if (SUCCEEDED(hr)) {
        hr = read_samples(objects, format, streamed);
    }
    if (FAILED(hr) && !stopping()) {
        post_status(classify_capture_error(hr, streamed), hr);
    }
    return hr;
}

} // namespace

DWORD WINAPI capture_thread_main(void*) {
    ComApartment apartment(COINIT_MULTITHREADED);
    WorkerObjects objects;
    run_capture(objects);
    return 0;
}

HRESULT query_output_format(IMFSourceReader* reader, OutputFormat* format) {
    ComPtr<IMFMediaType> type;
    HRESULT hr = reader->GetCurrentMediaType(DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM), &type);
    if (FAILED(hr)) {
        return hr;
    }
    UINT32 width = 0;
    UINT32 height = 0;
    hr = MFGetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, &width, &height);
    if (FAILED(hr)) {
        return hr;
    }
    // Sizes above INT32_MAX read as negative and are refused by the copy.
    format->width = static_cast<int32_t>(width);
    format->height = static_cast<int32_t>(height);
    UINT32 stride = 0;
    if (SUCCEEDED(type->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride))) {
        format->stride = static_cast<int32_t>(stride);
    } else {
        format->stride = static_cast<int32_t>(static_cast<uint32_t>(format->width) * 4u);
    }
    return S_OK;
}

bool capture_startup() {
    InitializeCriticalSection(&capture_lock);
    return SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE));
}

void capture_shutdown() {
    capture_stop_if_running();
    MFShutdown();
    std::free(frame_store.pixels);
    frame_store.pixels = nullptr;
    frame_store.capacity_bytes = 0;
    frame_store.frame_width = 0;
    frame_store.frame_height = 0;
    DeleteCriticalSection(&capture_lock);
}

void capture_start(HWND window, const char* camera_id_utf8) {
    capture_stop_if_running();
    capture_worker.target_window = window;
    to_utf16(camera_id_utf8, capture_worker.symbolic_link, int(symbolic_link_units));
    capture_worker.stop_requested.store(0);
    frame_store.frame_pending.store(0);
    {
        CaptureLockGuard lock;
        frame_store.frame_width = 0;
        frame_store.frame_height = 0;
    }
    capture_worker.worker_thread =
        CreateThread(nullptr, 0, capture_thread_main, nullptr, 0, nullptr);
    if (capture_worker.worker_thread == nullptr) {
        PostMessageW(window, WM_APP_STATUS, WPARAM(CaptureFailed),
                     LPARAM(hresult_from_win32(GetLastError())));
    }
}

void capture_stop() {
    capture_stop_within(INFINITE);
}

bool capture_stop_within(DWORD wait_ms) {
    if (capture_worker.worker_thread == nullptr) {
        return true;
    }
    capture_worker.stop_requested.exchange(1);
    ComPtr<IMFMediaSource> source;
    {
        CaptureLockGuard lock;
        source = capture_worker.active_source; // AddRef under the lock
    }
    if (source) {
        // Ends a ReadSample that blocks in the worker.
        source->Shutdown();
        source.Reset();
    }
    if (WaitForSingleObject(capture_worker.worker_thread, wait_ms) != WAIT_OBJECT_0) {
        // Still inside a device call: the thread keeps its handle, and with
        // it the frame store, the lock and Media Foundation stay in place.
        return false;
    }
    CloseHandle(capture_worker.worker_thread);
    capture_worker.worker_thread = nullptr;
    MSG message;
    while (PeekMessageW(&message, capture_worker.target_window, WM_APP_FRAME, WM_APP_STATUS,
                        PM_REMOVE)) {
    }
    return true;
}

bool capture_worker_stuck() {
    return capture_worker.worker_thread != nullptr && capture_worker.stop_requested.load() != 0;
}

void capture_stop_if_running() {
    if (capture_worker.worker_thread != nullptr) {
        capture_stop();
    }
}
