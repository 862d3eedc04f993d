// The capture worker thread: opens the camera, lets the source reader turn
// its frames into RGB32 and copies each one into the frame store. It only
// posts to the window, and only while its run has not been abandoned.

#include <mfapi.h>
#include <mferror.h>
#include <wrl/client.h>

#include <memory>

#include "base/owned_win.h"
#include "capture/capture.h"
#include "capture/device_layer.h"
#include "capture/format_select.h"
#include "capture/frame_timing.h"
#include "capture/media_foundation.h"

using Microsoft::WRL::ComPtr;

namespace {

bool stopping(const WorkerRun* run) {
    return run->stop_requested.load() != 0;
}

// Posting under capture_lock: the stop marks a run abandoned under the same
// lock before it empties the queue, so nothing of an abandoned run can be
// posted after that.
void post_status(WorkerRun* run, CaptureCode code, HRESULT hr) {
    CaptureLockGuard lock;
    if (!run->abandoned) {
        PostMessageW(run->target_window, WM_APP_STATUS, WPARAM(code),
                     LPARAM(static_cast<int32_t>(hr)));
    }
}

HRESULT open_device(const WorkerRun* run, ComPtr<IMFMediaSource>& source) {
    ComPtr<IMFAttributes> attributes;
    HRESULT hr = media_foundation.create_attributes(&attributes, 2);
    if (SUCCEEDED(hr)) {
        hr = attributes->SetGUID(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE,
                                 MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_GUID);
    }
    if (SUCCEEDED(hr)) {
        hr = attributes->SetString(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_SYMBOLIC_LINK,
                                   run->symbolic_link);
    }
    if (SUCCEEDED(hr)) {
        hr = device_create_source(attributes.Get(), &source);
    }
    return hr;
}

// Everything the worker holds for one run. Released in reverse order of
// creation when the thread leaves; the source gets Shutdown first.
struct WorkerObjects {
    WorkerRun* run;
    ComPtr<IMFMediaSource> source;
    ComPtr<IMFAttributes> reader_attributes;
    ComPtr<IMFSourceReader> reader;
    ComPtr<IMFMediaType> output_type;
    // The delivery as measured since measuring was last switched on, or
    // since this run's first sample when it was on already.
    FrameTiming timing{};
    uint32_t timing_generation = 0;
    bool timing_started = false;

    explicit WorkerObjects(WorkerRun* r) : run(r) {}
    ~WorkerObjects() {
        {
            CaptureLockGuard lock;
            run->active_source = nullptr;
        }
        output_type.Reset();
        reader.Reset();
        reader_attributes.Reset();
        if (source) {
            source->Shutdown();
            source.Reset();
        }
    }
    WorkerObjects(const WorkerObjects&) = delete;
    WorkerObjects& operator=(const WorkerObjects&) = delete;
};

// Asks the reader for RGB32. When it cannot make RGB32 from the chosen native
// type (a codec that is not installed, a subtype nothing decodes), the next
// best native type is tried, until one works or none is left; the first
// refusal is what gets reported then.
HRESULT request_rgb32(WorkerObjects& objects, int32_t chosen) {
    const DWORD stream = DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
    const HRESULT first =
        objects.reader->SetCurrentMediaType(stream, nullptr, objects.output_type.Get());
    HRESULT hr = first;
    FormatRefusals refused{};
    while (reader_refuses_format(hr) && chosen >= 0 && !stopping(objects.run) &&
           format_refuse(refused, uint32_t(chosen))) {
        chosen = select_next_native_format(objects.source.Get(), objects.reader.Get(), refused);
        if (chosen < 0) {
            return first;
        }
        hr = objects.reader->SetCurrentMediaType(stream, nullptr, objects.output_type.Get());
    }
    return SUCCEEDED(hr) ? hr : first;
}

HRESULT build_reader(WorkerObjects& objects, int32_t chosen, OutputFormat& format) {
    HRESULT hr = media_foundation.create_attributes(&objects.reader_attributes, 2);
    if (SUCCEEDED(hr)) {
        // A live picture wants the newest frame, not a smooth queue of old
        // ones: this asks the reader's decoders and video processor to hold
        // back as little as they can.
        // https://learn.microsoft.com/windows/win32/medfound/mf-low-latency
        hr = objects.reader_attributes->SetUINT32(MF_LOW_LATENCY, TRUE);
    }
    if (SUCCEEDED(hr)) {
        // The video processor, in hardware where the machine has one: the
        // older MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING converts in software
        // and is documented as meant for a few frames, too slow for a 4K
        // camera. It asks for no Direct3D manager, only that converters are
        // not disabled, which they are not here.
        // https://learn.microsoft.com/windows/win32/medfound/mf-source-reader-enable-advanced-video-processing
        hr = objects.reader_attributes->SetUINT32(MF_SOURCE_READER_ENABLE_ADVANCED_VIDEO_PROCESSING,
                                                  1);
    }
    if (SUCCEEDED(hr)) {
        hr = device_create_reader(objects.source.Get(), objects.reader_attributes.Get(),
                                  &objects.reader);
    }
    if (SUCCEEDED(hr)) {
        hr = media_foundation.create_media_type(&objects.output_type);
    }
    if (SUCCEEDED(hr)) {
        hr = objects.output_type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    }
    if (SUCCEEDED(hr)) {
        hr = objects.output_type->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_RGB32);
    }
    if (SUCCEEDED(hr)) {
        hr = request_rgb32(objects, chosen);
    }
    if (SUCCEEDED(hr)) {
        hr = query_output_format(objects.reader.Get(), &format);
    }
    return hr;
}

// While measuring: a switch on since the last read starts the timing
// afresh, and a new type or a stream tick goes into it.
void measure_read(WorkerObjects& objects, DWORD flags) {
    const uint32_t generation = frame_store.measure_generation.load();
    if (!objects.timing_started || generation != objects.timing_generation) {
        frame_timing_reset(objects.timing);
        objects.timing_generation = generation;
        objects.timing_started = true;
    }
    if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
        frame_timing_new_format(objects.timing);
    }
    if (flags & MF_SOURCE_READERF_STREAMTICK) {
        frame_timing_tick(objects.timing);
    }
}

// While measuring: the sample's stamp goes into the timing. True with the
// figures to publish when the stamps have advanced a second since the last.
bool measure_sample(WorkerObjects& objects, IMFSample* sample, LONGLONG stamp,
                    DeliveryPublication& publication) {
    const bool discontinuity = MFGetAttributeUINT32(sample, MFSampleExtension_Discontinuity, 0);
    frame_timing_add(objects.timing, stamp, discontinuity);
    if (!frame_timing_due(objects.timing)) {
        return false;
    }
    publication = {{frame_timing_rate_centi(objects.timing), frame_timing_dropped(objects.timing)},
                   objects.timing_generation};
    return true;
}

// Reads until a failure (returned) or a stop (S_OK). `streamed` is set once
// the first sample has been delivered, whether or not it could be copied.
HRESULT read_samples(WorkerObjects& objects, OutputFormat& format, bool& streamed) {
    WorkerRun* run = objects.run;
    while (!stopping(run)) {
        DWORD flags = 0;
        LONGLONG stamp = 0; // the sample's time, or the stream event's
        ComPtr<IMFSample> sample;
        const HRESULT hr = objects.reader->ReadSample(DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM), 0,
                                                      nullptr, &flags, &stamp, &sample);
        if (FAILED(hr)) {
            return hr;
        }
        if (flags & (MF_SOURCE_READERF_ERROR | MF_SOURCE_READERF_ENDOFSTREAM)) {
            return MF_E_VIDEO_RECORDING_DEVICE_INVALIDATED;
        }
        if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
            query_output_format(objects.reader.Get(), &format);
        }
        const bool measuring = frame_store.measure_delivery.load();
        if (measuring) {
            measure_read(objects, flags);
        }
        if (!sample) {
            continue; // a stream tick or another event
        }
        if (stopping(run)) {
            return S_OK;
        }
        DeliveryPublication publication{};
        const bool publish = measuring && measure_sample(objects, sample.Get(), stamp, publication);
        copy_sample_to_store(sample.Get(), format, run, !streamed,
                             publish ? &publication : nullptr);
        streamed = true;
    }
    return S_OK;
}

// Read on the worker, so the menu never calls into the device: what the
// camera offers and what runs after any fallback.
void publish_formats(WorkerObjects& objects, bool picked) {
    auto formats = std::make_unique<RunFormats>();
    read_run_formats(objects.source.Get(), picked, *formats);
    formats->known = true;
    CaptureLockGuard lock;
    objects.run->formats = *formats;
}

// One capture run; returns the failure to report, or S_OK for none.
HRESULT run_capture(WorkerObjects& objects) {
    WorkerRun* run = objects.run;
    HRESULT hr = open_device(run, objects.source);
    int32_t chosen = -1;
    bool picked = false;
    if (SUCCEEDED(hr)) {
        bool stop = false;
        {
            CaptureLockGuard lock;
            run->active_source = objects.source.Get();
            stop = stopping(run);
        }
        if (stop) {
            return S_OK;
        }
        // The remembered format when the camera offers exactly that type,
        // silently the built-in choice otherwise.
        if (camera_format_is_set(run->wanted)) {
            chosen = select_remembered_format(objects.source.Get(), run->wanted);
            picked = chosen >= 0;
        }
        if (chosen < 0) {
            chosen = select_native_format(objects.source.Get());
        }
    }
    OutputFormat format{};
    if (SUCCEEDED(hr)) {
        hr = build_reader(objects, chosen, format);
    }
    if (SUCCEEDED(hr)) {
        publish_formats(objects, picked);
    }
    bool streamed = false;
    if (SUCCEEDED(hr)) {
        hr = read_samples(objects, format, streamed);
    }
    if (FAILED(hr) && !stopping(run)) {
        post_status(run, classify_capture_error(hr, streamed), hr);
    }
    return hr;
}

} // namespace

void announce_sample(const WorkerRun* run, bool first, const DeliveryPublication* publication) {
    if (run->abandoned) {
        return;
    }
    if (publication != nullptr) {
        frame_store.delivery = publication->figures;
        frame_store.delivery_generation = publication->generation;
        frame_store.delivery_published = true;
    }
    if (first) {
        PostMessageW(run->target_window, WM_APP_STATUS, WPARAM(CaptureStreaming), 0);
    }
    int32_t idle = 0;
    if (frame_store.frame_pending.compare_exchange_strong(idle, 1)) {
        PostMessageW(run->target_window, WM_APP_FRAME, 0, 0);
    }
}

DWORD WINAPI capture_thread_main(void* parameter) {
    auto* run = static_cast<WorkerRun*>(parameter);
    {
        ComApartment apartment(COINIT_MULTITHREADED);
        WorkerObjects objects(run);
        run_capture(objects);
    }
    worker_run_release(run);
    return 0;
}

namespace {

// An aperture attribute of the type; false when it has none of that size.
bool read_aperture(IMFMediaType* type, REFGUID key, VideoArea* area) {
    MFVideoArea blob{};
    UINT32 size = 0;
    if (FAILED(type->GetBlob(key, reinterpret_cast<UINT8*>(&blob), sizeof blob, &size)) ||
        size != sizeof blob) {
        return false;
    }
    *area = {blob.OffsetX.fract, blob.OffsetX.value, blob.OffsetY.fract,
             blob.OffsetY.value, blob.Area.cx,       blob.Area.cy};
    return true;
}

} // namespace

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
    VideoArea minimum_display{};
    VideoArea geometric{};
    const bool has_minimum =
        read_aperture(type.Get(), MF_MT_MINIMUM_DISPLAY_APERTURE, &minimum_display);
    const bool has_geometric = read_aperture(type.Get(), MF_MT_GEOMETRIC_APERTURE, &geometric);
    format->picture =
        picture_area(has_minimum ? &minimum_display : nullptr, has_geometric ? &geometric : nullptr,
                     format->width, format->height);
    UINT32 stride = 0;
    LONG computed = 0;
    if (SUCCEEDED(type->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride))) {
        format->stride = static_cast<int32_t>(stride);
    } else if (SUCCEEDED(media_foundation.stride_for_bitmap_info_header(MFVideoFormat_RGB32.Data1,
                                                                        width, &computed))) {
        // Without the attribute, uncompressed RGB is laid out as a bitmap
        // is: bottom-up, which this stride says by its sign.
        format->stride = static_cast<int32_t>(computed);
    } else {
        format->stride = static_cast<int32_t>(static_cast<uint32_t>(format->width) * 4u);
    }
    return S_OK;
}
