#include "capture/row_copy.h"

#include <cstring>

uint64_t packed_row_bytes(int32_t width) {
    return width > 0 ? uint64_t(width) * 4 : 0;
}

bool plan_plain_rows(uint64_t length, int32_t stride, int32_t width, int32_t height,
                     RowSource* out) {
    const uint64_t row = packed_row_bytes(width);
    if (row == 0 || height <= 0) {
        return false;
    }
    const int64_t pitch = stride < 0 ? -int64_t{stride} : int64_t{stride};
    if (length < uint64_t(pitch) * uint64_t(height) || uint64_t(pitch) < row) {
        return false;
    }
    out->top_row_offset = stride < 0 ? (int64_t{height} - 1) * pitch : 0;
    out->step = stride;
    return true;
}

bool plan_pitched_rows(uint64_t length, int64_t top_row_offset, int32_t pitch, int32_t width,
                       int32_t height, RowSource* out) {
    const uint64_t row = packed_row_bytes(width);
    if (row == 0 || height <= 0) {
        return false;
    }
    const int64_t magnitude = pitch < 0 ? -int64_t{pitch} : int64_t{pitch};
    if (uint64_t(magnitude) < row || top_row_offset < 0 || length > uint64_t{INT64_MAX}) {
        return false;
    }
    // The rows span from the lowest row start to the highest row start plus
    // one row; both ends must lie inside [0, length].
    const int64_t last_row_offset = top_row_offset + (int64_t{height} - 1) * int64_t{pitch};
    const int64_t lowest = pitch < 0 ? last_row_offset : top_row_offset;
    const int64_t highest = pitch < 0 ? top_row_offset : last_row_offset;
    if (lowest < 0 || uint64_t(highest) + row > length) {
        return false;
    }
    out->top_row_offset = top_row_offset;
    out->step = pitch;
    return true;
}

RowSource crop_rows(const RowSource& rows, int32_t x, int32_t y) {
    return {rows.top_row_offset + int64_t{y} * rows.step + int64_t{x} * 4, rows.step};
}

void copy_rows(uint8_t* destination, const uint8_t* buffer, const RowSource& source,
               uint64_t row_bytes, int32_t rows) {
    if (rows <= 0) {
        return;
    }
    if (source.step == int64_t(row_bytes)) {
        // Packed top-down rows, the commonest layout: one copy of the whole
        // frame, which runs at memcpy's speed where row by row does not.
        std::memcpy(destination, buffer + source.top_row_offset, row_bytes * uint64_t(rows));
        return;
    }
    // The rows in the order they lie in memory, so that the source is always
    // read upwards, as hardware prefetchers follow best: a bottom-up buffer
    // read downwards ran at three quarters of memcpy's speed. Offsets, not a
    // moving pointer: a pointer stepped past the first row of a bottom-up
    // buffer would leave the buffer.
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t r = source.step < 0 ? rows - 1 - i : i;
        std::memcpy(destination + uint64_t(r) * row_bytes,
                    buffer + source.top_row_offset + int64_t{r} * source.step, row_bytes);
    }
}
