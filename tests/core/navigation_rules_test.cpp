#include "view/navigation_rules.h"

#include <gtest/gtest.h>

#include <tuple>

#include "field_arrays.h"

namespace {

constexpr PixelRect wide{0, 36, 640, 396};     // 640 x 360, fills the area
constexpr PixelRect pillar{133, 36, 666, 436}; // 533 x 400, bars left and right

TEST(NavigationPicture, FitsTheKnownSizeOr16By9) {
    EXPECT_EQ(ints(navigation_picture({0, 36, 640, 516}, 0, -1)), ints(PixelRect{0, 96, 640, 456}));
    EXPECT_EQ(ints(navigation_picture({0, 36, 800, 436}, 640, 480)), ints(pillar));
    EXPECT_EQ(ints(navigation_picture({0, 36, 640, 516}, 1, 1)), ints(PixelRect{80, 36, 560, 516}));
}

TEST(DragStep, PansByThePointerMovementOverThePicture) {
    // From (100, 200); a tenth of each side of the picture pans by a twentieth
    // at zoom 2; mirrored, right on the screen is left in the frame.
    const std::tuple<PixelRect, int32_t, int32_t, bool, bool, ViewState> cases[] = {
        {wide, 164, 236, true, true, {2, 0.55, 0.45}},
        {{150, 36, 650, 436}, 150, 240, false, true, {2, 0.45, 0.45}}, // 500 x 400, letter-boxed
        {{0, 36, 640, 36}, 164, 236, false, false, {2, 0.5, 0.5}},
        {{320, 36, 320, 396}, 164, 236, true, false, {2, 0.5, 0.5}},
    };
    for (const auto& [picture, x, y, mirror, panned, after] : cases) {
        DragState drag{1, 100, 200};
        ViewState view{2, 0.5, 0.5};
        EXPECT_EQ(drag_step(drag, view, picture, x, y, mirror), panned);
        EXPECT_EQ(doubles(view), doubles(after)) << picture.left << " " << mirror;
        EXPECT_EQ(std::pair(drag.last_x, drag.last_y), std::pair(x, y));
    }
}

TEST(WheelZoom, ZoomsAboutThePicturePointUnderThePointer) {
    const std::tuple<double, PixelRect, int32_t, int32_t, int32_t, bool, ViewState> cases[] = {
        {2, wide, 320, 216, -120, false, {1.6, 0.5, 0.5}},
        {1, pillar, 133, 236, 120, false, {1.25, 0.4, 0.5}}, // left edge of the picture
        {1, pillar, 10, 0, 120, false, {1.25, 0.4, 0.4}},    // in the bars: clamped
        {1, pillar, 780, 500, 120, false, {1.25, 0.6, 0.6}},
        {3.2, wide, 160, 216, 120, true, {4, 0.515625, 0.5}},         // frame x 0.578125 stays put
        {1, {320, 36, 320, 396}, 10, 0, 120, true, {1.25, 0.5, 0.4}}, // no width: the middle
    };
    for (const auto& [zoom, picture, x, y, delta, mirror, after] : cases) {
        ViewState view{zoom, 0.5, 0.5};
        wheel_zoom(view, picture, x, y, delta, mirror);
        EXPECT_EQ(doubles(view), doubles(after)) << x << "," << y << " " << delta;
    }
}

TEST(DragMovesWindow, OnlyInTheCompactViewWhenNoPanCouldHappenOrWithCtrl) {
    // {compact, zoom, picture shown, Ctrl, moves}
    const std::tuple<bool, double, bool, bool, bool> cases[] = {
        {false, 1, true, true, false}, {true, 1, true, false, true}, {true, 2, true, false, false},
        {true, 2, false, false, true}, {true, 2, true, true, true},
    };
    for (const auto& [compact, zoom, shown, ctrl, moves] : cases) {
        EXPECT_EQ(drag_moves_window(compact, zoom, shown, ctrl), moves)
            << compact << zoom << shown << ctrl;
    }
}

} // namespace
