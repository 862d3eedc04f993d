#include "layout/toolbar_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "field_arrays.h"

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    // A product beyond 32 bits still divides; a zero divisor or a quotient
    // beyond 32 bits gives -1, as MulDiv answers.
    const std::array<int32_t, 4> cases[] = {
        {6, 120, 96, 8},   {-6, 120, 96, -8},     {6, 120, -96, -8},
        {-6, -120, 96, 8}, {1, 1, 3, 0},          {100000, 30000, 60000, 50000},
        {6, 120, 0, -1},   {INT32_MAX, 2, 1, -1}, {INT32_MAX, 1, 1, INT32_MAX},
    };
    for (const auto& [a, b, c, result] : cases) {
        EXPECT_EQ(mul_div(a, b, c), result) << a << " x " << b << " / " << c;
    }
    EXPECT_EQ(font_height(9, 96), -12);
    EXPECT_EQ(font_height(10, 144), -20);
}

TEST(ToolbarPlaces, ScaleWithTheDpiAndClampTheCombo) {
    // m: margin and combo x; b: glyph button side; l: zoom label width.
    const std::array<int32_t, 15> cases[] = {
        {96, 640, 22, 6, 7, 448, 300, 4, 28, 52, 462, 490, 542, 574, 606},
        {96, 640, 23, 6, 6, 448, 300, 4, 28, 52, 462, 490, 542, 574, 606},
        // 272 is the narrowest width at which the combo box is not clamped; the
        // pin keeps to the right edge.
        {96, 271, 22, 6, 7, 80, 300, 4, 28, 52, 94, 122, 174, 206, 237},
        {120, 640, 25, 8, 10, 399, 375, 5, 35, 65, 417, 452, 517, 557, 597},
        {144, 300, 30, 9, 12, 120, 450, 6, 42, 78, 141, 183, 261, 309, 249},
    };
    for (const auto& [dpi, width, field, m, combo_y, combo_w, combo_h, y, b, l, out_x, label_x,
                      in_x, reset_x, pin_x] : cases) {
        const std::array want{m,    combo_y, combo_w, combo_h, out_x,   y, b, b, label_x, y, l, b,
                              in_x, y,       b,       b,       reset_x, y, b, b, pin_x,   y, b, b};
        EXPECT_EQ(ints(toolbar_places(uint32_t(dpi), width, field)), want) << dpi << " " << width;
    }
}

TEST(ToolbarLayout, SettingsButtonAndVideoArea) {
    const std::tuple<PixelRect, uint32_t, ControlPlace> buttons[] = {
        {{0, 54, 960, 594}, 144, {337, 336, 285, 45}},
        // (641 - 190) / 2 = 225.5 and 361 / 2 = 180.5 truncate, from the area's left.
        {{10, 36, 651, 397}, 96, {235, 224, 190, 30}},
        {{0, 36, 101, 396}, 96, {-44, 224, 190, 30}}, // -44.5 truncates toward zero
    };
    for (const auto& [area, dpi, place] : buttons) {
        EXPECT_EQ(ints(settings_button_place(area, dpi)), ints(place)) << area.right << " " << dpi;
    }
    const std::tuple<PixelRect, uint32_t, PixelRect> areas[] = {
        {{0, 0, 640, 396}, 144, {0, 54, 640, 396}},
        {{0, 0, 640, 20}, 96, {0, 20, 640, 20}}, // never above its own top
    };
    for (const auto& [client, dpi, area] : areas) {
        EXPECT_EQ(ints(video_area_of(client, dpi)), ints(area)) << client.bottom << " " << dpi;
    }
    EXPECT_EQ(ints(video_area_of({0, 0, 640, 396}, 144, false)), ints(PixelRect{0, 0, 640, 396}))
        << "without the toolbar, the whole client";
}

} // namespace
