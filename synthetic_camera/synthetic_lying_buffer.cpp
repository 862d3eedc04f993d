// Two-dimensional buffers as faulty drivers hand them out. A lying one's lock
// reports a pitch of one packed row and a frame of `height` rows, but the
// memory behind it holds only half of them. A stalling one holds the whole
// frame, but every lock first waits in the "driver" until the test lets hung
// calls return.

#include <mfapi.h>
#include <mferror.h>

#include <memory>

#include "synthetic_camera/com_object.h"
#include "synthetic_camera/synthetic_internal.h"

namespace {

struct LyingBuffer final : ComObject<LyingBuffer, IMFMediaBuffer, IMF2DBuffer2>,
                           LiveCounter<live_buffers> {
    bool newer_interface;
    bool stalls;
    LONG pitch;
    DWORD length;
    std::unique_ptr<BYTE[]> memory;

    LyingBuffer(uint32_t width, uint32_t height, bool newer, bool stalling)
        : newer_interface(newer), stalls(stalling), pitch(LONG(width * 4)),
          length(DWORD(width * 4 * (stalling ? height : height / 2))),
          memory(new BYTE[length + 1]()) {}

    void enter_driver() const {
        if (stalls) {
            synthetic_hang();
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IMF2DBuffer) || (newer_interface && iid == __uuidof(IMF2DBuffer2))) {
            return answer_query(iid, out, static_cast<IMF2DBuffer2*>(this), {iid});
        }
        return answer_query(iid, out, static_cast<IMFMediaBuffer*>(this),
                            {__uuidof(IUnknown), __uuidof(IMFMediaBuffer)});
    }

    // IMFMediaBuffer: the plain lock tells the truth about the length.
    HRESULT STDMETHODCALLTYPE Lock(BYTE** data, DWORD* max_length, DWORD* current) override {
        enter_driver();
        *data = memory.get();
        if (max_length != nullptr) {
            *max_length = length;
        }
        if (current != nullptr) {
            *current = length;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unlock() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetCurrentLength(DWORD* current) override {
        *current = length;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCurrentLength(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* max_length) override {
        *max_length = length;
        return S_OK;
    }

    // IMF2DBuffer: claims a whole frame at the pitch.
    HRESULT STDMETHODCALLTYPE Lock2D(BYTE** scanline0, LONG* out_pitch) override {
        enter_driver();
        *scanline0 = memory.get();
        *out_pitch = pitch;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unlock2D() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetScanline0AndPitch(BYTE** scanline0, LONG* out_pitch) override {
        return Lock2D(scanline0, out_pitch);
    }
    HRESULT STDMETHODCALLTYPE IsContiguousFormat(BOOL* contiguous) override {
        *contiguous = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetContiguousLength(DWORD* out) override {
        *out = length;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContiguousCopyTo(BYTE*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContiguousCopyFrom(const BYTE*, DWORD) override { return E_NOTIMPL; }

    // IMF2DBuffer2: reports the real extent of the memory.
    HRESULT STDMETHODCALLTYPE Lock2DSize(MF2DBuffer_LockFlags, BYTE** scanline0, LONG* out_pitch,
                                         BYTE** start, DWORD* out_length) override {
        *start = memory.get();
        *out_length = length;
        return Lock2D(scanline0, out_pitch);
    }
    HRESULT STDMETHODCALLTYPE Copy2DTo(IMF2DBuffer2*) override { return E_NOTIMPL; }
};

} // namespace

HRESULT synthetic_create_lying_buffer(uint32_t width, uint32_t height, bool newer_interface,
                                      IMFMediaBuffer** out) {
    *out = new LyingBuffer(width, height, newer_interface, false);
    return S_OK;
}

HRESULT synthetic_create_stalling_buffer(uint32_t width, uint32_t height, uint32_t frame,
                                         IMFMediaBuffer** out) {
    auto* buffer = new LyingBuffer(width, height, true, true);
    auto* pixels = reinterpret_cast<uint32_t*>(buffer->memory.get());
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            pixels[size_t(y) * width + x] = synthetic_pattern_pixel(x, y, frame);
        }
    }
    *out = buffer;
    return S_OK;
}
