#pragma once
// The picture as the clipboard and a saved file get it: the whole frame, as
// the user sees it, in the row order of a bottom-up device-independent bitmap
// or top row first. Platform-free.

#include <cstdint>

#include "view/picture_turn.h"

enum class RowOrder { BottomUp, TopDown };

// Copies a `width` x `height` frame of top-down 32-bit pixels (B, G, R, X)
// into `bitmap_rows` as shown: turned, then mirrored, the shown picture's
// bottom row first (or its top row, TopDown), in one pass. The fourth byte of every pixel becomes
// 0xFF: the frame leaves it undefined, and programs that read a 32-bit bitmap as having alpha would
// otherwise paste a transparent picture.
void copy_picture_rows(uint8_t* bitmap_rows, const uint8_t* frame, int32_t width, int32_t height,
                       const PictureTurn& turn, RowOrder order = RowOrder::BottomUp);
