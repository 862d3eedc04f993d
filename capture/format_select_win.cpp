#include <mfapi.h>
#include <wrl/client.h>

#include "capture/capture.h"
#include "capture/format_rules.h"

using Microsoft::WRL::ComPtr;

namespace {

struct FormatCandidate {
    ComPtr<IMFMediaType> media_type;
    FormatTraits traits;
};

SubtypeKind subtype_kind(const GUID& subtype) {
    if (subtype == MFVideoFormat_NV12) {
        return SubtypeKind::NV12;
    }
    if (subtype == MFVideoFormat_YUY2) {
        return SubtypeKind::YUY2;
    }
    if (subtype == MFVideoFormat_RGB32) {
        return SubtypeKind::RGB32;
    }
    if (subtype == MFVideoFormat_MJPG) {
        return SubtypeKind::MJPG;
    }
    return SubtypeKind::Other;
}

// Reads what the choice needs; false when the type has no frame size or no
// subtype.
bool read_candidate(IMFMediaType* type, FormatTraits& traits) {
    UINT32 width = 0;
    UINT32 height = 0;
    GUID subtype = GUID_NULL;
    if (FAILED(MFGetAttributeSize(type, MF_MT_FRAME_SIZE, &width, &height)) ||
        FAILED(type->GetGUID(MF_MT_SUBTYPE, &subtype))) {
        return false;
    }
    traits.width = width;
    traits.height = height;
    UINT32 numerator = 0;
    UINT32 denominator = 0;
    traits.fps = SUCCEEDED(MFGetAttributeRatio(type, MF_MT_FRAME_RATE, &numerator, &denominator))
                     ? frame_rate_from_ratio(numerator, denominator)
                     : 0.0;
    traits.preference = subtype_preference(subtype);
    return true;
}

} // namespace

int subtype_preference(const GUID& subtype) {
    return subtype_kind_preference(subtype_kind(subtype));
}

void select_native_format(IMFMediaSource* source) {
    ComPtr<IMFPresentationDescriptor> presentation;
    if (FAILED(source->CreatePresentationDescriptor(&presentation))) {
        return;
    }
    BOOL selected = FALSE;
    ComPtr<IMFStreamDescriptor> stream;
    if (FAILED(presentation->GetStreamDescriptorByIndex(0, &selected, &stream))) {
        return;
    }
    ComPtr<IMFMediaTypeHandler> handler;
    if (FAILED(stream->GetMediaTypeHandler(&handler))) {
        return;
    }
    DWORD count = 0;
    if (FAILED(handler->GetMediaTypeCount(&count))) {
        return;
    }
    FormatCandidate best;
    for (DWORD i = 0; i < count; ++i) {
        FormatCandidate candidate;
        if (FAILED(handler->GetMediaTypeByIndex(i, &candidate.media_type)) ||
            !read_candidate(candidate.media_type.Get(), candidate.traits) ||
            !format_within_limits(candidate.traits)) {
            continue;
        }
        if (!best.media_type || format_beats(candidate.traits, best.traits)) {
            best = std::move(candidate);
        }
    }
    if (best.media_type) {
        handler->SetCurrentMediaType(best.media_type.Get());
    }
}
