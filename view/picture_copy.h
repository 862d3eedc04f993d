#pragma once
// The picture as the clipboard gets it: the whole frame, as the user sees it,
// in the row order of a bottom-up device-independent bitmap. Platform-free.

#include <cstdint>

// Copies a `width` x `height` frame of top-down 32-bit pixels (B, G, R, X)
// into `bitmap_rows`, bottom row first, each row left-right reversed when
// `mirror` is set, in one pass. The fourth byte of every pixel becomes 0xFF:
// the frame leaves it undefined, and programs that read a 32-bit bitmap as
// having alpha would otherwise paste a transparent picture.
void copy_picture_rows(uint8_t* bitmap_rows, const uint8_t* frame, int32_t width, int32_t height,
                       bool mirror);
