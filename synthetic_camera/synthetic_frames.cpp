#include "synthetic_camera/synthetic_frames.h"

#include <mfapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace {

// Draws `rows` rows of the frame's pattern, `step` bytes apart from the top
// row on, and with stamp_time overwrites the top band with the creation
// time, one block a bit. With an aperture that fits the frame, the picture
// is drawn in it and the margin around it filled with 0xEE bytes.
void draw_rows(PatternCache& cache, const SyntheticCamera& camera,
               const SyntheticAperture& aperture, BYTE* top_row, LONG step, uint32_t width,
               uint32_t height, uint32_t rows, uint32_t frame) {
    if (aperture.width != 0 && uint64_t{aperture.x} + aperture.width <= width &&
        uint64_t{aperture.y} + aperture.height <= height) {
        for (uint32_t y = 0; y < rows; ++y) {
            memset(top_row + LONG_PTR(y) * step, 0xEE, size_t(width) * 4);
        }
        top_row += LONG_PTR(aperture.y) * step + LONG_PTR(aperture.x) * 4;
        rows = std::min(aperture.height, rows > aperture.y ? rows - aperture.y : 0);
        width = aperture.width;
        height = aperture.height;
    }
    cache.prepare(width, height);
    for (uint32_t y = 0; y < rows; ++y) {
        memcpy(top_row + LONG_PTR(y) * step, cache.row(y, frame), size_t(width) * 4);
    }
    if (!camera.stamp_time) {
        return;
    }
    const uint32_t stamp = synthetic_stamp_now();
    const uint32_t band = std::min(synthetic_stamp_band(rows), rows);
    for (uint32_t y = 0; y < band; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(top_row + LONG_PTR(y) * step);
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t bit = x * 32 / width;
            row[x] = (stamp >> (31 - bit)) & 1 ? 0x00FFFFFF : 0;
        }
    }
}

} // namespace

HRESULT make_plain_buffer(PatternCache& cache, const SyntheticCamera& camera,
                          const SyntheticAperture& aperture, bool short_buffer, uint32_t width,
                          uint32_t height, uint32_t frame, IMFMediaBuffer** out) {
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
    const bool upwards = bottom_up && !short_buffer;
    draw_rows(cache, camera, aperture, upwards ? data + (height - 1) * row : data,
              upwards ? -LONG(row) : LONG(row), width, height, rows, frame);
    buffer->Unlock();
    buffer->SetCurrentLength(row * rows);
    *out = buffer.Detach();
    return S_OK;
}

HRESULT make_pitched_buffer(PatternCache& cache, const SyntheticCamera& camera,
                            const SyntheticAperture& aperture, uint32_t width, uint32_t height,
                            uint32_t frame, IMFMediaBuffer** out) {
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
    draw_rows(cache, camera, aperture, top_row, pitch, width, height, height, frame);
    pitched->Unlock2D();
    *out = buffer.Detach();
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

int64_t synthetic_frame_stamp(uint64_t n, uint32_t numerator, uint32_t denominator) {
    if (numerator == 0 || denominator == 0) {
        return int64_t(n * 333333);
    }
    // n x period / numerator in 64 bits: with n = q x numerator + r and the
    // period = pq x numerator + pr, every product below stays in range.
    const uint64_t period = 10000000ull * denominator;
    const uint64_t q = n / numerator;
    const uint64_t r = n % numerator;
    const uint64_t pq = period / numerator;
    const uint64_t pr = period % numerator;
    return int64_t(q * period + r * pq + r * pr / numerator);
}
