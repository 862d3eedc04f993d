#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <wrl/client.h>

#include "capture/camera_format.h"
#include "capture/capture.h"
#include "capture/format_rules.h"
#include "capture/format_select.h"

using Microsoft::WRL::ComPtr;

namespace {

struct FormatCandidate {
    ComPtr<IMFMediaType> media_type;
    FormatTraits traits;
};

// Reads what the choice needs; false when the type has no frame size or no
// subtype.
bool read_candidate(IMFMediaType* type, FormatTraits& traits) {
    CameraFormat format{};
    if (!camera_format_of(type, format)) {
        return false;
    }
    traits = camera_format_traits(format);
    return true;
}

} // namespace

int subtype_preference(const GUID& subtype) {
    // Every video subtype GUID differs from the others in its first field
    // alone.
    return subtype_kind_preference(subtype_kind_of_code(subtype.Data1));
}

namespace {

// The first stream's type handler of the source.
HRESULT stream_type_handler(IMFMediaSource* source, ComPtr<IMFMediaTypeHandler>& handler) {
    ComPtr<IMFPresentationDescriptor> presentation;
    HRESULT hr = source->CreatePresentationDescriptor(&presentation);
    BOOL selected = FALSE;
    ComPtr<IMFStreamDescriptor> stream;
    if (SUCCEEDED(hr)) {
        hr = presentation->GetStreamDescriptorByIndex(0, &selected, &stream);
    }
    if (SUCCEEDED(hr)) {
        hr = stream->GetMediaTypeHandler(&handler);
    }
    return hr;
}

// The best native type within the limits that is not refused, and its index;
// -1 when there is none.
int32_t best_native_type(IMFMediaTypeHandler* handler, const FormatRefusals& refused,
                         ComPtr<IMFMediaType>& best_type) {
    DWORD count = 0;
    if (FAILED(handler->GetMediaTypeCount(&count))) {
        return -1;
    }
    FormatCandidate best;
    int32_t best_index = -1;
    for (DWORD i = 0; i < count && i <= DWORD(INT32_MAX); ++i) {
        FormatCandidate candidate;
        if (format_is_refused(refused, i) ||
            FAILED(handler->GetMediaTypeByIndex(i, &candidate.media_type)) ||
            !read_candidate(candidate.media_type.Get(), candidate.traits) ||
            !format_within_limits(candidate.traits)) {
            continue;
        }
        if (!best.media_type || format_beats(candidate.traits, best.traits)) {
            best = std::move(candidate);
            best_index = int32_t(i);
        }
    }
    best_type = std::move(best.media_type);
    return best_index;
}

} // namespace

int32_t select_native_format(IMFMediaSource* source) {
    ComPtr<IMFMediaTypeHandler> handler;
    ComPtr<IMFMediaType> best;
    if (FAILED(stream_type_handler(source, handler))) {
        return -1;
    }
    const int32_t index = best_native_type(handler.Get(), FormatRefusals{}, best);
    if (index < 0 || FAILED(handler->SetCurrentMediaType(best.Get()))) {
        return -1;
    }
    return index;
}

int32_t select_next_native_format(IMFMediaSource* source, IMFSourceReader* reader,
                                  const FormatRefusals& refused) {
    ComPtr<IMFMediaTypeHandler> handler;
    ComPtr<IMFSourceReaderEx> reader_ex;
    ComPtr<IMFMediaType> next;
    if (FAILED(stream_type_handler(source, handler)) ||
        FAILED(reader->QueryInterface(IID_PPV_ARGS(&reader_ex)))) {
        return -1;
    }
    const int32_t index = best_native_type(handler.Get(), refused, next);
    DWORD flags = 0;
    if (index < 0 || FAILED(reader_ex->SetNativeMediaType(
                         DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM), next.Get(), &flags))) {
        return -1;
    }
    return index;
}

bool camera_format_of(IMFMediaType* type, CameraFormat& format) {
    UINT32 width = 0;
    UINT32 height = 0;
    GUID subtype = GUID_NULL;
    if (FAILED(MFGetAttributeSize(type, MF_MT_FRAME_SIZE, &width, &height)) ||
        FAILED(type->GetGUID(MF_MT_SUBTYPE, &subtype))) {
        return false;
    }
    UINT32 numerator = 0;
    UINT32 denominator = 0;
    if (FAILED(MFGetAttributeRatio(type, MF_MT_FRAME_RATE, &numerator, &denominator))) {
        numerator = denominator = 0;
    }
    format = {width, height, numerator, denominator, uint32_t(subtype.Data1)};
    return true;
}

int32_t select_remembered_format(IMFMediaSource* source, const CameraFormat& wanted) {
    ComPtr<IMFMediaTypeHandler> handler;
    DWORD count = 0;
    if (FAILED(stream_type_handler(source, handler)) ||
        FAILED(handler->GetMediaTypeCount(&count))) {
        return -1;
    }
    for (DWORD i = 0; i < count && i <= DWORD(INT32_MAX); ++i) {
        ComPtr<IMFMediaType> type;
        CameraFormat format{};
        if (SUCCEEDED(handler->GetMediaTypeByIndex(i, &type)) &&
            camera_format_of(type.Get(), format) && same_camera_format(format, wanted)) {
            return SUCCEEDED(handler->SetCurrentMediaType(type.Get())) ? int32_t(i) : -1;
        }
    }
    return -1;
}

void read_run_formats(IMFMediaSource* source, bool picked, RunFormats& formats) {
    formats = RunFormats{};
    formats.picked = picked;
    ComPtr<IMFMediaTypeHandler> handler;
    DWORD count = 0;
    if (FAILED(stream_type_handler(source, handler)) ||
        FAILED(handler->GetMediaTypeCount(&count))) {
        return;
    }
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IMFMediaType> type;
        CameraFormat format{};
        if (SUCCEEDED(handler->GetMediaTypeByIndex(i, &type)) &&
            camera_format_of(type.Get(), format)) {
            format_list_add(formats.list, format);
        }
    }
    ComPtr<IMFMediaType> type;
    if (SUCCEEDED(handler->GetCurrentMediaType(&type))) {
        camera_format_of(type.Get(), formats.running);
    }
}
