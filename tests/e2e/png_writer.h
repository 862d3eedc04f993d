#pragma once
// Writes 32-bit BGRX pixels (top row first) as an RGB PNG, uncompressed.

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> encode_png(const uint32_t* pixels, int width, int height);
bool write_png(const std::wstring& path, const uint32_t* pixels, int width, int height);
