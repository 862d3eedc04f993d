// The synthetic camera's media source and source reader. The source owns a
// real presentation descriptor over the camera's native types, so the format
// choice works on real Media Foundation objects; the reader makes real samples.

#include <mfapi.h>
#include <mferror.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/support_win.h"
#include "capture/capture_codes.h"
#include "capture/synthetic/com_object.h"
#include "capture/synthetic/synthetic_internal.h"

using Microsoft::WRL::ComPtr;

namespace {

// Lets the reader find the SyntheticSource behind an IMFMediaSource.
constexpr GUID iid_synthetic_source = {
    0x6a1c3f0e, 0x2b57, 0x4d8e, {0x9a, 0x41, 0x73, 0x0c, 0x5e, 0x12, 0xb8, 0x9d}};

HRESULT make_native_type(const SyntheticType& t, IMFMediaType** out) {
    ComPtr<IMFMediaType> type;
    HRESULT hr = MFCreateMediaType(&type);
    if (SUCCEEDED(hr)) {
        hr = type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    }
    if (SUCCEEDED(hr) && t.subtype != GUID_NULL) {
        hr = type->SetGUID(MF_MT_SUBTYPE, t.subtype);
    }
    if (SUCCEEDED(hr) && (t.width != 0 || t.height != 0)) {
        hr = MFSetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, t.width, t.height);
    }
    if (SUCCEEDED(hr) && (t.fps_denominator != 0 || t.fps_numerator != 0)) {
        hr = MFSetAttributeRatio(type.Get(), MF_MT_FRAME_RATE, t.fps_numerator, t.fps_denominator);
    }
    if (SUCCEEDED(hr)) {
        *out = type.Detach();
    }
    return hr;
}

struct SyntheticSource final : IMFMediaSource, LiveCounter<SyntheticSource> {
    RefCount refs;
    SyntheticCamera camera;
    ComPtr<IMFPresentationDescriptor> presentation;
    ComPtr<IMFMediaTypeHandler> handler;
    ScopedHandle shutdown_event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> shut_down{false};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFMediaEventGenerator) ||
            iid == __uuidof(IMFMediaSource) || iid == iid_synthetic_source) {
            *out = static_cast<IMFMediaSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    SYNTHETIC_IUNKNOWN_REFCOUNT

    // Nothing here raises events; the worker reads synchronously.
    HRESULT STDMETHODCALLTYPE GetEvent(DWORD, IMFMediaEvent**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginGetEvent(IMFAsyncCallback*, IUnknown*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EndGetEvent(IMFAsyncResult*, IMFMediaEvent**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueueEvent(MediaEventType, REFGUID, HRESULT,
                                         const PROPVARIANT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetCharacteristics(DWORD* characteristics) override {
        if (shut_down) {
            return MF_E_SHUTDOWN;
        }
        *characteristics = MFMEDIASOURCE_IS_LIVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    CreatePresentationDescriptor(IMFPresentationDescriptor** out) override {
        *out = nullptr;
        if (shut_down) {
            return MF_E_SHUTDOWN;
        }
        return presentation->Clone(out);
    }
    HRESULT STDMETHODCALLTYPE Start(IMFPresentationDescriptor*, const GUID*,
                                    const PROPVARIANT*) override {
        return shut_down ? MF_E_SHUTDOWN : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stop() override { return shut_down ? MF_E_SHUTDOWN : S_OK; }
    HRESULT STDMETHODCALLTYPE Pause() override { return shut_down ? MF_E_SHUTDOWN : S_OK; }
    HRESULT STDMETHODCALLTYPE Shutdown() override {
        if (camera.hang_in_shutdown) {
            synthetic_hang();
        }
        synthetic_note_shutdown();
        if (shut_down.exchange(true)) {
            return MF_E_SHUTDOWN;
        }
        SetEvent(shutdown_event.handle);
        return S_OK;
    }

    // The type the format choice made current, or the first native type.
    SyntheticType current_type() const {
        SyntheticType type = camera.types.empty() ? SyntheticType{MFVideoFormat_RGB32, 0, 0, 30, 1}
                                                  : camera.types.front();
        ComPtr<IMFMediaType> current;
        if (SUCCEEDED(handler->GetCurrentMediaType(&current))) {
            UINT32 width = 0;
            UINT32 height = 0;
            MFGetAttributeSize(current.Get(), MF_MT_FRAME_SIZE, &width, &height);
            UINT32 numerator = 0;
            UINT32 denominator = 0;
            MFGetAttributeRatio(current.Get(), MF_MT_FRAME_RATE, &numerator, &denominator);
            current->GetGUID(MF_MT_SUBTYPE, &type.subtype);
            type = {type.subtype, width, height, numerator, denominator};
        }
        return type;
    }
};

// The test pattern moves one pixel a frame to the left and repeats every 256
// columns, so each frame is a window into one pre-drawn picture 256 columns
// wider than the frame: a row copy each, cheap enough for 1080p at 60 fps.
struct PatternCache {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels; // height rows of width + 256

    const uint32_t* row(uint32_t y, uint32_t frame) {
        return pixels.data() + size_t(y) * (width + 256) + (frame & 0xFF);
    }
    void prepare(uint32_t w, uint32_t h) {
        if (w == width && h == height) {
            return;
        }
        width = w;
        height = h;
        pixels.resize(size_t(w + 256) * h);
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t x = 0; x < w + 256; ++x) {
                pixels[size_t(y) * (w + 256) + x] = synthetic_pattern_pixel(x, y, 0);
            }
        }
    }
};

void fill_rows(PatternCache& cache, BYTE* top_row, LONG step, uint32_t width, uint32_t height,
               uint32_t rows, uint32_t frame) {
    cache.prepare(width, height);
    for (uint32_t y = 0; y < rows; ++y) {
        memcpy(top_row + LONG_PTR(y) * step, cache.row(y, frame), size_t(width) * 4);
    }
}

// Overwrites the top band with the creation time, one block a bit.
void stamp_rows(BYTE* top_row, LONG step, uint32_t width, uint32_t height) {
    const uint32_t stamp = synthetic_stamp_now();
    const uint32_t band = std::min(synthetic_stamp_band(height), height);
    for (uint32_t y = 0; y < band; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(top_row + LONG_PTR(y) * step);
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t bit = x * 32 / width;
            row[x] = (stamp >> (31 - bit)) & 1 ? 0x00FFFFFF : 0;
        }
    }
}

HRESULT make_plain_buffer(PatternCache& cache, const SyntheticCamera& camera, bool short_buffer,
                          uint32_t width, uint32_t height, uint32_t frame, IMFMediaBuffer** out) {
    const DWORD row = width * 4;
    const DWORD rows = short_buffer && height > 0 ? height - 1 : height;
    ComPtr<IMFMediaBuffer> buffer;
    HRESULT hr = MFCreateMemoryBuffer(row * rows, &buffer);
    BYTE* data = nullptr;
    if (SUCCEEDED(hr)) {
        hr = buffer->Lock(&data, nullptr, nullptr);
    }
    if (FAILED(hr)) {
        return hr;
    }
    // Without MF_MT_DEFAULT_STRIDE, RGB rows come bottom-up, as in a bitmap:
    // https://learn.microsoft.com/windows/win32/medfound/uncompressed-video-buffers
    const bool bottom_up = camera.buffer == SyntheticBuffer::BottomUp || !camera.default_stride;
    if (bottom_up && !short_buffer) {
        fill_rows(cache, data + (height - 1) * row, -LONG(row), width, height, height, frame);
        if (camera.stamp_time) {
            stamp_rows(data + (height - 1) * row, -LONG(row), width, height);
        }
    } else {
        fill_rows(cache, data, LONG(row), width, height, rows, frame);
        if (camera.stamp_time) {
            stamp_rows(data, LONG(row), width, rows);
        }
    }
    buffer->Unlock();
    buffer->SetCurrentLength(row * rows);
    *out = buffer.Detach();
    return S_OK;
}

HRESULT make_pitched_buffer(PatternCache& cache, const SyntheticCamera& camera, uint32_t width,
                            uint32_t height, uint32_t frame, IMFMediaBuffer** out) {
    ComPtr<IMFMediaBuffer> buffer;
    const uint32_t padded_width = width + 64 / 4;
    HRESULT hr =
        MFCreate2DMediaBuffer(padded_width, height, MFVideoFormat_RGB32.Data1, FALSE, &buffer);
    ComPtr<IMF2DBuffer> pitched;
    if (SUCCEEDED(hr)) {
        hr = buffer.As(&pitched);
    }
    BYTE* top_row = nullptr;
    LONG pitch = 0;
    if (SUCCEEDED(hr)) {
        hr = pitched->Lock2D(&top_row, &pitch);
    }
    if (FAILED(hr)) {
        return hr;
    }
    // Padding bytes carry a marker the copy must never let through.
    for (uint32_t y = 0; y < height; ++y) {
        memset(top_row + LONG_PTR(y) * pitch, 0xEE, size_t(pitch < 0 ? -pitch : pitch));
    }
    fill_rows(cache, top_row, pitch, width, height, height, frame);
    if (camera.stamp_time) {
        stamp_rows(top_row, pitch, width, height);
    }
    pitched->Unlock2D();
    *out = buffer.Detach();
    return S_OK;
}

// What the reader's video processing and Windows' own decoders turn into
// RGB32; anything else (HEVC without its extension, a vendor's subtype) has no
// decoder.
// https://learn.microsoft.com/windows/win32/api/mfreadwrite/nf-mfreadwrite-imfsourcereader-setcurrentmediatype
bool converts_to_rgb32(const GUID& subtype) {
    for (const GUID& known : {MFVideoFormat_RGB32, MFVideoFormat_NV12, MFVideoFormat_YUY2,
                              MFVideoFormat_I420, MFVideoFormat_MJPG, MFVideoFormat_H264}) {
        if (subtype == known) {
            return true;
        }
    }
    return false;
}

struct SyntheticReader final : IMFSourceReaderEx, LiveCounter<SyntheticReader> {
    RefCount refs;
    ComPtr<IMFMediaSource> source_ref;
    SyntheticSource* source = nullptr; // kept alive by source_ref
    uint32_t width = 0;
    uint32_t height = 0;
    SyntheticType native{};
    int read_calls = 0;
    uint32_t frames = 0;
    bool output_set = false;
    PatternCache pattern;
    ULONGLONG next_due = 0; // when the next frame is due, in GetTickCount64 time

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFSourceReader) ||
            iid == __uuidof(IMFSourceReaderEx)) {
            *out = static_cast<IMFSourceReaderEx*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    SYNTHETIC_IUNKNOWN_REFCOUNT

    HRESULT STDMETHODCALLTYPE GetStreamSelection(DWORD, BOOL* selected) override {
        *selected = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSelection(DWORD, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetNativeMediaType(DWORD stream, DWORD index,
                                                 IMFMediaType** out) override {
        *out = nullptr;
        if (stream != DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM) && stream != 0) {
            return MF_E_INVALIDSTREAMNUMBER;
        }
        return source->handler->GetMediaTypeByIndex(index, out);
    }
    // The device's format changes under the reader; the RGB32 output has to
    // be asked for again.
    HRESULT STDMETHODCALLTYPE SetNativeMediaType(DWORD stream, IMFMediaType* type,
                                                 DWORD* flags) override {
        *flags = 0;
        if (stream != DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM) && stream != 0) {
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
        if (stream != DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM) && stream != 0) {
            return MF_E_INVALIDSTREAMNUMBER;
        }
        ComPtr<IMFMediaType> type;
        HRESULT hr = make_native_type(
            {MFVideoFormat_RGB32, width, height, native.fps_numerator, native.fps_denominator},
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
        if (stream != DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM) && stream != 0) {
            return MF_E_INVALIDSTREAMNUMBER;
        }
        if (FAILED(type->GetGUID(MF_MT_MAJOR_TYPE, &major)) ||
            FAILED(type->GetGUID(MF_MT_SUBTYPE, &subtype)) || major != MFMediaType_Video ||
            subtype != MFVideoFormat_RGB32) {
            return MF_E_INVALIDMEDIATYPE;
        }
        if (!converts_to_rgb32(native.subtype)) {
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
};

HRESULT SyntheticReader::make_sample(int call, IMFSample** out) {
    const SyntheticCamera& camera = source->camera;
    ComPtr<IMFMediaBuffer> buffer;
    HRESULT hr;
    switch (camera.buffer) {
    case SyntheticBuffer::Pitched:
        hr = make_pitched_buffer(pattern, camera, width, height, frames, &buffer);
        break;
    case SyntheticBuffer::LyingPitched:
    case SyntheticBuffer::LyingPitchedOld:
        hr = synthetic_create_lying_buffer(width, height,
                                           camera.buffer == SyntheticBuffer::LyingPitched, &buffer);
        break;
    default:
        hr = make_plain_buffer(pattern, camera,
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
        sample->SetSampleTime(LONGLONG(frames) * 333333);
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
    if (stream != DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM) && stream != 0) {
        return MF_E_INVALIDSTREAMNUMBER;
    }
    if (source->shut_down) {
        return MF_E_SHUTDOWN;
    }
    const SyntheticCamera& camera = source->camera;
    const int call = read_calls++;
    if (call == camera.block_at_read) {
        WaitForSingleObject(source->shutdown_event.handle, INFINITE);
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
    if (camera.tick_every > 0 && (call + 1) % camera.tick_every == 0) {
        *stream_flags = MF_SOURCE_READERF_STREAMTICK;
        return S_OK;
    }
    if (camera.frame_interval_ms > 0) {
        // Frames fall due on a fixed schedule, as a sensor delivers them,
        // however long each one took to make.
        const ULONGLONG now = GetTickCount64();
        if (next_due == 0 || next_due + 4 * camera.frame_interval_ms < now) {
            next_due = now;
        }
        next_due += camera.frame_interval_ms;
        const DWORD wait = next_due > now ? DWORD(next_due - now) : 0;
        if (WaitForSingleObject(source->shutdown_event.handle, wait) == WAIT_OBJECT_0) {
            return MF_E_SHUTDOWN;
        }
    }
    if (synthetic_is_unplugged(camera.symbolic_link)) {
        return HRESULT(hresult_device_invalidated);
    }
    if (call == camera.type_change_at_read) {
        width = camera.changed_width;
        height = camera.changed_height;
        *stream_flags |= MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED;
    }
    const HRESULT hr = make_sample(call, sample);
    if (SUCCEEDED(hr)) {
        ++frames;
        synthetic_note_sample();
    }
    return hr;
}

} // namespace

long synthetic_live_sources() {
    return SyntheticSource::live.load();
}
long synthetic_live_readers() {
    return SyntheticReader::live.load();
}

HRESULT synthetic_create_source(const SyntheticCamera& camera, IMFMediaSource** out) {
    *out = nullptr;
    auto* source = new SyntheticSource();
    ComPtr<IMFMediaSource> owner = adopt_new<IMFMediaSource>(source);
    source->camera = camera;

    std::vector<ComPtr<IMFMediaType>> types(camera.types.size());
    std::vector<IMFMediaType*> raw(camera.types.size());
    for (size_t i = 0; i < camera.types.size(); ++i) {
        const HRESULT hr = make_native_type(camera.types[i], &types[i]);
        if (FAILED(hr)) {
            return hr;
        }
        raw[i] = types[i].Get();
    }
    ComPtr<IMFStreamDescriptor> stream;
    HRESULT hr = MFCreateStreamDescriptor(0, DWORD(raw.size()), raw.data(), &stream);
    if (SUCCEEDED(hr)) {
        hr = stream->GetMediaTypeHandler(&source->handler);
    }
    IMFStreamDescriptor* streams[] = {stream.Get()};
    if (SUCCEEDED(hr)) {
        hr = MFCreatePresentationDescriptor(1, streams, &source->presentation);
    }
    if (SUCCEEDED(hr)) {
        hr = source->presentation->SelectStream(0);
    }
    if (FAILED(hr)) {
        return hr;
    }
    synthetic_note_source_created();
    *out = owner.Detach();
    return S_OK;
}

HRESULT synthetic_create_reader(IMFMediaSource* media_source, IMFSourceReader** out) {
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
    *out = reader;
    return S_OK;
}

uint32_t synthetic_pattern_pixel(uint32_t x, uint32_t y, uint32_t frame) {
    // Diagonal colour bands over a grid that marks every 32nd row and column,
    // all moving one pixel a frame to the left; it repeats every 256 frames.
    const uint32_t u = x + (frame & 0xFF);
    const uint32_t band = (u + y) & 0xFF;
    const bool grid = (u % 32 == 0) || (y % 32 == 0);
    const uint32_t blue = grid ? 0xFF : band;
    const uint32_t green = grid ? 0xFF : (y / 4) & 0xFF;
    const uint32_t red = grid ? 0xFF : (255 - band);
    return blue | (green << 8) | (red << 16);
}
