#pragma once
// A struct of int32_t or double fields as an array of them: compared whole,
// with every field printed on a mismatch. Doubles compare exactly: they are
// the values the settings file and the painter see.

#include <array>
#include <bit>
#include <cstdint>

template <typename T> auto ints(const T& v) {
    return std::bit_cast<std::array<int32_t, sizeof(T) / 4>>(v);
}

template <typename T> auto doubles(const T& v) {
    return std::bit_cast<std::array<double, sizeof(T) / 8>>(v);
}
