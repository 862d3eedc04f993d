// The synthetic camera's source reader, written from Microsoft's
// documentation of the real one, which Wine's does not follow: it makes real
// samples, turns into RGB32 only what Windows has a converter for, and lets a
// native type be chosen under it.

#include "synthetic_camera/synthetic_frames.h"
#include "synthetic_camera/synthetic_source.h"

#include "capture/capture_codes.h"

using Microsoft::WRL::ComPtr;

namespace {

// What the reader's video processing and Windows' own decoders turn into
// RGB32; anything else (HEVC without its extension, a vendor's subtype) has no
// decoder. Decoders make YUV: only with video processing, asked for by either
// attribute, does any of it become RGB32.
// https://learn.microsoft.com/windows/win32/api/mfreadwrite/nf-mfreadwrite-imfsourcereader-setcurrentmediatype
// https://learn.microsoft.com/windows/win32/medfound/mf-source-reader-enable-video-processing
// https://learn.microsoft.com/windows/win32/medfound/mf-source-reader-enable-advanced-video-processing
bool converts_to_rgb32(const GUID& subtype) {
    for (const GUID& known : {MFVideoFormat_RGB32, MFVideoFormat_NV12, MFVideoFormat_YUY2,
                              MFVideoFormat_I420, MFVideoFormat_MJPG, MFVideoFormat_H264}) {
        if (subtype == known) {
            return true;
        }
    }
    return false;
}

// The reader has one stream, a video stream: 0 or its alias.
bool is_video_stream(DWORD stream) {
    return stream == DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM) || stream == 0;
}

int64_t filetime_span(const FILETIME& from, const FILETIME& to) {
    const auto value = [](const FILETIME& time) {
        return int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return value(to) - value(from);
}

struct SyntheticReader final : ComObject<SyntheticReader, IMFSourceReaderEx>,
                               LiveCounter<live_readers> {
    ComPtr<IMFMediaSource> source_ref;
    SyntheticSource* source = nullptr; // kept alive by source_ref
    uint32_t width = 0;
    uint32_t height = 0;
    SyntheticType native{};
    int read_calls = 0;
    uint32_t frames = 0;       // delivered: the pattern's frame number
    uint64_t stamp_number = 0; // frames the sensor made, delivered, lost or ticked
    bool output_set = false;
    bool video_processing = false; // either processing attribute was set
    PatternCache pattern;
    ULONGLONG next_due = 0; // when the next frame is due, in GetTickCount64 time

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return answer_query(
            iid, out, static_cast<IMFSourceReaderEx*>(this),
            {__uuidof(IUnknown), __uuidof(IMFSourceReader), __uuidof(IMFSourceReaderEx)});
    }

    HRESULT STDMETHODCALLTYPE GetStreamSelection(DWORD, BOOL* selected) override {
        *selected = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSelection(DWORD, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetNativeMediaType(DWORD stream, DWORD index,
                                                 IMFMediaType** out) override {
        *out = nullptr;
        if (!is_video_stream(stream)) {
            return MF_E_INVALIDSTREAMNUMBER;
        }
        return source->handler->GetMediaTypeByIndex(index, out);
    }
    // The device's format changes under the reader; the RGB32 output has to
    // be asked for again.
    HRESULT STDMETHODCALLTYPE SetNativeMediaType(DWORD stream, IMFMediaType* type,
                                                 DWORD* flags) override {
        *flags = 0;
        if (!is_video_stream(stream)) {
            return MF_E_INVALIDSTREAMNUMBER;
        }
        const HRESULT hr = source->handler->SetCurrentMediaType(type);
        if (FAILED(hr)) {
            return hr;
        }
        native = source->current_type();
        width = native.width;
        height = native.height;
        output_set = false;
        *flags = MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddTransformForStream(DWORD, IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveAllTransformsForStream(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTransformForStream(DWORD, DWORD, GUID*, IMFTransform**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentMediaType(DWORD stream, IMFMediaType** out) override {
        *out = nullptr;
        if (!is_video_stream(stream)) {
            return MF_E_INVALIDSTREAMNUMBER;
        }
        ComPtr<IMFMediaType> type;
        HRESULT hr = make_native_type({MFVideoFormat_RGB32, width, height, native.fps_numerator,
                                       native.fps_denominator, aperture()},
                                      &type);
        const SyntheticCamera& camera = source->camera;
        if (SUCCEEDED(hr) && camera.default_stride) {
            const LONG row = LONG(width * 4);
            const LONG stride = camera.buffer == SyntheticBuffer::BottomUp ? -row : row;
            hr = type->SetUINT32(MF_MT_DEFAULT_STRIDE, UINT32(stride));
        }
        if (SUCCEEDED(hr)) {
            *out = type.Detach();
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE SetCurrentMediaType(DWORD stream, DWORD*,
                                                  IMFMediaType* type) override {
        GUID major = GUID_NULL;
        GUID subtype = GUID_NULL;
        if (!is_video_stream(stream)) {
            return MF_E_INVALIDSTREAMNUMBER;
        }
        if (FAILED(type->GetGUID(MF_MT_MAJOR_TYPE, &major)) ||
            FAILED(type->GetGUID(MF_MT_SUBTYPE, &subtype)) || major != MFMediaType_Video ||
            subtype != MFVideoFormat_RGB32) {
            return MF_E_INVALIDMEDIATYPE;
        }
        if (!converts_to_rgb32(native.subtype) ||
            (native.subtype != MFVideoFormat_RGB32 && !video_processing)) {
            return MF_E_TOPO_CODEC_NOT_FOUND;
        }
        output_set = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCurrentPosition(REFGUID, REFPROPVARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ReadSample(DWORD stream, DWORD, DWORD* actual_stream,
                                         DWORD* stream_flags, LONGLONG* timestamp,
                                         IMFSample** sample) override;
    HRESULT STDMETHODCALLTYPE Flush(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetServiceForStream(DWORD, REFGUID, REFIID, LPVOID* out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPresentationAttribute(DWORD, REFGUID, PROPVARIANT*) override {
        return E_NOTIMPL;
    }

    HRESULT make_sample(int call, IMFSample** out);
    // The stamp of the frame the sensor makes next, at the type's rate.
    LONGLONG next_stamp() const {
        return synthetic_frame_stamp(stamp_number, native.fps_numerator, native.fps_denominator);
    }
    // The native type's aperture, while the frames are of its size.
    SyntheticAperture aperture() const {
        return width == native.width && height == native.height ? native.aperture
                                                                : SyntheticAperture{};
    }
};

HRESULT SyntheticReader::make_sample(int call, IMFSample** out) {
    const SyntheticCamera& camera = source->camera;
    ComPtr<IMFMediaBuffer> buffer;
    HRESULT hr;
    switch (camera.buffer) {
    case SyntheticBuffer::Pitched:
        hr = make_pitched_buffer(pattern, camera, aperture(), width, height, frames, &buffer);
        break;
    case SyntheticBuffer::LyingPitched:
    case SyntheticBuffer::LyingPitchedOld:
        hr = synthetic_create_lying_buffer(width, height,
                                           camera.buffer == SyntheticBuffer::LyingPitched, &buffer);
        break;
    default:
        hr = make_plain_buffer(pattern, camera, aperture(),
                               camera.short_from_read >= 0 && call >= camera.short_from_read, width,
                               height, frames, &buffer);
        break;
    }
    if (call == camera.stall_copy_at_read) {
        buffer.Reset();
        hr = synthetic_create_stalling_buffer(width, height, frames, &buffer);
    }
    ComPtr<IMFSample> sample;
    if (SUCCEEDED(hr)) {
        hr = MFCreateSample(&sample);
    }
    if (SUCCEEDED(hr)) {
        hr = sample->AddBuffer(buffer.Get());
    }
    if (SUCCEEDED(hr)) {
        sample->SetSampleTime(next_stamp());
        if (call == camera.discontinuity_at_read) {
            sample->SetUINT32(MFSampleExtension_Discontinuity, TRUE);
        }
        *out = sample.Detach();
    }
    return hr;
}

HRESULT SyntheticReader::ReadSample(DWORD stream, DWORD, DWORD* actual_stream, DWORD* stream_flags,
                                    LONGLONG* timestamp, IMFSample** sample) {
    if (stream_flags == nullptr || sample == nullptr) {
        return E_POINTER;
    }
    *stream_flags = 0;
    *sample = nullptr;
    if (actual_stream != nullptr) {
        *actual_stream = 0;
    }
    if (timestamp != nullptr) {
        *timestamp = 0;
    }
    if (!is_video_stream(stream)) {
        return MF_E_INVALIDSTREAMNUMBER;
    }
    if (source->shut_down) {
        return MF_E_SHUTDOWN;
    }
    const SyntheticCamera& camera = source->camera;
    const int call = read_calls++;
    if (call == camera.block_at_read) {
        WaitForSingleObject(source->shutdown_event.get(), INFINITE);
        return MF_E_SHUTDOWN;
    }
    if (call == camera.hang_at_read) {
        // Shutdown does not help here: the thread stays in this call until
        // hung calls are released, and then delivers as if nothing happened.
        synthetic_hang();
    }
    if (call == camera.fail_at_read) {
        if (camera.read_flags != 0) {
            *stream_flags = camera.read_flags;
            return S_OK;
        }
        return camera.read_result;
    }
    // A tick stands for a frame the sensor did not deliver, and carries the
    // time that frame would have had, as the real reader passes on a
    // source's MEStreamTick.
    // https://learn.microsoft.com/windows/win32/api/mfreadwrite/nf-mfreadwrite-imfsourcereader-readsample
    if (camera.tick_every > 0 && (call + 1) % camera.tick_every == 0) {
        *stream_flags = MF_SOURCE_READERF_STREAMTICK;
        if (timestamp != nullptr) {
            *timestamp = next_stamp();
        }
        ++stamp_number;
        return S_OK;
    }
    // A lost frame: its time passes, and the next one shows the gap.
    const bool skip = camera.skip_every > 1 && (stamp_number + 1) % camera.skip_every == 0;
    stamp_number += skip ? 1 : 0;
    if (camera.frame_interval_ms > 0) {
        // Frames fall due on a fixed schedule, as a sensor delivers them,
        // however long each one took to make.
        const ULONGLONG now = GetTickCount64();
        if (next_due == 0 || next_due + 4 * camera.frame_interval_ms < now) {
            next_due = now;
        }
        next_due += camera.frame_interval_ms * (skip ? 2 : 1);
        const DWORD wait = next_due > now ? DWORD(next_due - now) : 0;
        if (WaitForSingleObject(source->shutdown_event.get(), wait) == WAIT_OBJECT_0) {
            return MF_E_SHUTDOWN;
        }
    }
    // Held: a camera slow to deliver, for as long as the one who holds it
    // wants. Shutdown ends the wait, as it ends every read.
    const auto held = [&] {
        return !camera.hold_file.empty() &&
               GetFileAttributesW(camera.hold_file.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    if (held()) {
        synthetic_note(&SyntheticStats::held_reads);
        do {
            if (WaitForSingleObject(source->shutdown_event.get(), 10) == WAIT_OBJECT_0) {
                return MF_E_SHUTDOWN;
            }
        } while (held());
    }
    synthetic_run_read_hook();
    if (synthetic_is_unplugged(camera.symbolic_link)) {
        return HRESULT(hresult_device_invalidated);
    }
    if (call == camera.type_change_at_read) {
        width = camera.changed_width;
        height = camera.changed_height;
        *stream_flags |= MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED;
    }
    // The camera's own work, timed apart from the program's.
    FILETIME created, ended, kernel_before, user_before, kernel_after, user_after;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel_before, &user_before);
    const HRESULT hr = make_sample(call, sample);
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel_after, &user_after);
    synthetic_note_frame_making(filetime_span(kernel_before, kernel_after) +
                                filetime_span(user_before, user_after));
    if (SUCCEEDED(hr)) {
        if (timestamp != nullptr) {
            *timestamp = next_stamp();
        }
        ++stamp_number;
        ++frames;
        synthetic_note(&SyntheticStats::samples_delivered);
    }
    return hr;
}

} // namespace

HRESULT synthetic_create_reader(IMFMediaSource* media_source, IMFAttributes* attributes,
                                IMFSourceReader** out) {
    *out = nullptr;
    ComPtr<IUnknown> inner;
    if (FAILED(media_source->QueryInterface(iid_synthetic_source, &inner))) {
        return E_INVALIDARG;
    }
    auto* source = static_cast<SyntheticSource*>(static_cast<IMFMediaSource*>(inner.Get()));
    if (FAILED(source->camera.reader_result)) {
        return source->camera.reader_result;
    }
    if (source->shut_down) {
        return MF_E_SHUTDOWN;
    }
    auto* reader = new SyntheticReader();
    reader->source_ref = media_source;
    reader->source = source;
    reader->native = source->current_type();
    reader->width = reader->native.width;
    reader->height = reader->native.height;
    const auto set = [attributes](REFGUID key) {
        return attributes != nullptr && MFGetAttributeUINT32(attributes, key, 0) != 0;
    };
    // Counted, so that a test sees which of the two the capture asks for.
    if (set(MF_SOURCE_READER_ENABLE_ADVANCED_VIDEO_PROCESSING)) {
        synthetic_note(&SyntheticStats::advanced_readers);
        reader->video_processing = true;
    }
    reader->video_processing |= set(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING);
    if (set(MF_LOW_LATENCY)) {
        synthetic_note(&SyntheticStats::low_latency_readers);
    }
    *out = reader;
    return S_OK;
}
