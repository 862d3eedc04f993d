#pragma once
// See-through: the opacities the window offers and the alpha each gives the
// layered window. Platform-free.

#include <cstdint>

// In the order of the Opacity submenu; 100 is the default, an opaque window.
inline constexpr int32_t opacity_levels[] = {100, 85, 70, 50};
inline constexpr int32_t opacity_opaque = 100;

inline constexpr bool opacity_offered(int32_t percent) {
    for (const int32_t level : opacity_levels) {
        if (level == percent) {
            return true;
        }
    }
    return false;
}

// The layered window's alpha, 0..255, to the nearest step.
inline constexpr uint8_t opacity_alpha(int32_t percent) {
    return uint8_t((percent * 255 + 50) / 100);
}
