#pragma once
// Moving one frame of 32-bit pixels from a driver's buffer into packed,
// top-down rows. Platform-free: the worker locks the buffer and passes the
// numbers it got; these functions decide whether the rows lie inside it.

#include <cstddef>
#include <cstdint>

// Where the frame's rows are inside a locked buffer: the byte offset of the
// top row from the start of the buffer, and the signed step to the next row.
struct RowSource {
    int64_t top_row_offset;
    int64_t step;
};

// Bytes in one packed row of `width` pixels; 0 when the width is not positive.
uint64_t packed_row_bytes(int32_t width);

// A plain buffer of `length` bytes holding `height` rows at `stride` (negative:
// bottom-up). False when the size is not positive, the stride is shorter than a
// row, or the buffer is shorter than |stride| x height.
bool plan_plain_rows(uint64_t length, int32_t stride, int32_t width, int32_t height,
                     RowSource* out);

// A two-dimensional buffer: `top_row_offset` and `pitch` as the buffer reported
// them, and its total `length`. False unless every one of the `height` rows of
// `width` pixels lies inside the buffer.
bool plan_pitched_rows(uint64_t length, int64_t top_row_offset, int32_t pitch, int32_t width,
                       int32_t height, RowSource* out);

// The planned rows begun `x` pixels in and `y` rows down: the top-left corner
// of a picture area, which must lie inside the planned frame. Down is the
// step's way, so it holds for bottom-up rows as well.
RowSource crop_rows(const RowSource& rows, int32_t x, int32_t y);

// Copies `rows` rows of `row_bytes` each from `buffer` (as planned) into
// `destination`, packed.
void copy_rows(uint8_t* destination, const uint8_t* buffer, const RowSource& source,
               uint64_t row_bytes, int32_t rows);
