#include "view/navigation_rules.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "field_arrays.h"

namespace {

constexpr PixelRect wide{0, 36, 640, 396};     // 640 x 360, fills the area
constexpr PixelRect pillar{133, 36, 666, 436}; // 533 x 400, bars left and right

TEST(NavigationPicture, FitsTheKnownSizeOr16By9) {
    EXPECT_EQ(ints(navigation_picture({0, 36, 640, 516}, 0, -1)), ints(PixelRect{0, 96, 640, 456}));
    EXPECT_EQ(ints(navigation_picture({0, 36, 800, 436}, 640, 480)), ints(pillar));
    EXPECT_EQ(ints(navigation_picture({0, 36, 640, 516}, 1, 1)), ints(PixelRect{80, 36, 560, 516}));
    // The circle: the middle square fills the area, the rest reaches past it.
    EXPECT_EQ(ints(navigation_picture({10, 20, 310, 320}, 480, 640, true)),
              ints(PixelRect{10, -30, 310, 370}));
    // So the wheel at (400, 100) of a 480 x 480 circle zooms about the frame
    // point shown there, three quarters across and 5/24 down: it stays put.
    ViewState view{1, 0.5, 0.5};
    wheel_zoom(view, navigation_picture({0, 0, 480, 480}, 640, 480, true), 400, 100, 120, {});
    EXPECT_NEAR(view.center_x, 0.55, 1e-12);
    EXPECT_NEAR(view.center_y, 53.0 / 120, 1e-12);
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
        EXPECT_EQ(drag_step(drag, view, picture, x, y, {0, mirror}), panned);
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
        wheel_zoom(view, picture, x, y, delta, {0, mirror});
        EXPECT_EQ(doubles(view), doubles(after)) << x << "," << y << " " << delta;
    }
}

TEST(TurnedPicture, TheWheelAnchorAndTheDragFollowThePictureAsShown) {
    // A 400 x 400 picture. The wheel at (100, 300), a quarter across and three
    // quarters down as shown, zooms 1 to 1.25 about the frame point there; a
    // drag by (40, 80) at zoom 2 moves the picture with the pointer.
    // {quarter, mirror, centre after the wheel, centre after the drag}
    const std::tuple<int32_t, bool, UnitPoint, UnitPoint> cases[] = {
        {0, false, {0.45, 0.55}, {0.45, 0.40}}, {0, true, {0.55, 0.55}, {0.55, 0.40}},
        {1, false, {0.55, 0.55}, {0.40, 0.55}}, {1, true, {0.55, 0.45}, {0.40, 0.45}},
        {2, false, {0.55, 0.45}, {0.55, 0.60}}, {2, true, {0.45, 0.45}, {0.45, 0.60}},
        {3, false, {0.45, 0.45}, {0.60, 0.45}}, {3, true, {0.45, 0.55}, {0.60, 0.55}},
    };
    constexpr PixelRect square{0, 0, 400, 400};
    for (const auto& [quarter, mirror, wheeled, dragged] : cases) {
        ViewState view{1, 0.5, 0.5};
        wheel_zoom(view, square, 100, 300, 120, {quarter, mirror});
        EXPECT_NEAR(view.center_x, wheeled.u, 1e-12) << quarter << mirror;
        EXPECT_NEAR(view.center_y, wheeled.v, 1e-12) << quarter << mirror;
        view = {2, 0.5, 0.5};
        DragState drag{1, 100, 100};
        drag_step(drag, view, square, 140, 180, {quarter, mirror});
        EXPECT_NEAR(view.center_x, dragged.u, 1e-12) << quarter << mirror;
        EXPECT_NEAR(view.center_y, dragged.v, 1e-12) << quarter << mirror;
    }
}

TEST(TurnedPicture, PixelsSizesAndDegrees) {
    // A 3 x 2 frame; which frame pixel each shown pixel is, row by row.
    // {quarter, mirror, frame (x, y) of every shown pixel}
    const std::tuple<int32_t, bool, std::vector<int32_t>> cases[] = {
        {0, true, {2, 0, 1, 0, 0, 0, 2, 1, 1, 1, 0, 1}},
        {1, false, {0, 1, 0, 0, 1, 1, 1, 0, 2, 1, 2, 0}},
        {2, false, {2, 1, 1, 1, 0, 1, 2, 0, 1, 0, 0, 0}},
        {3, true, {2, 1, 2, 0, 1, 1, 1, 0, 0, 1, 0, 0}},
    };
    for (const auto& [quarter, mirror, expected] : cases) {
        const int32_t w = shown_width(3, 2, quarter);
        const int32_t h = shown_height(3, 2, quarter);
        std::vector<int32_t> got;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                int32_t fx = -1, fy = -1;
                frame_pixel_of(x, y, 3, 2, {quarter, mirror}, &fx, &fy);
                got.insert(got.end(), {fx, fy});
            }
        }
        EXPECT_EQ(got, expected) << quarter << mirror;
    }
    // The paint's turned crop: the middle 2 x 3 of a 4 x 3 frame whose pixels
    // count 0, 1, 2, ... row by row.
    const uint32_t frame[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    // The word after the turned pixels stays untouched.
    uint32_t out[7] = {0, 0, 0, 0, 0, 0, 77};
    turn_crop(out, frame, 4, 1, 0, 2, 3, 1);
    EXPECT_EQ(std::vector<uint32_t>(out, out + 7), (std::vector<uint32_t>{9, 5, 1, 10, 6, 2, 77}));
    turn_crop(out, frame, 4, 1, 0, 2, 3, 3);
    EXPECT_EQ(std::vector<uint32_t>(out, out + 7), (std::vector<uint32_t>{2, 6, 10, 1, 5, 9, 77}));
    // Shrunk: each out pixel the mean of a 2 x 2 block, byte by byte.
    const uint32_t ramp[16] = {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48, 52, 56, 60};
    out[4] = 77;
    turn_crop(out, ramp, 4, 0, 0, 4, 4, 1, 2);
    EXPECT_EQ(std::vector<uint32_t>(out, out + 5), (std::vector<uint32_t>{42, 10, 50, 18, 77}));
    const uint32_t bytes[4] = {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF};
    turn_crop(out, bytes, 2, 0, 0, 2, 2, 3, 2);
    EXPECT_EQ(out[0], 0x3F3F3F3Fu);
    // A whole 1080p frame, shown 1080 x 1920, into 540 x 960 or less.
    EXPECT_EQ(turn_shrink(1920, 1080, 540, 960), 2);
    EXPECT_EQ(turn_shrink(1920, 1080, 541, 960), 1);
    EXPECT_EQ(turn_shrink(1920, 1080, 540, 961), 1);
    const std::pair<int32_t, int32_t> degrees[] = {{90, 1},  {180, 2}, {270, 3}, {0, 0},
                                                   {360, 0}, {-90, 0}, {45, 0}};
    for (const auto& [d, quarter] : degrees) {
        EXPECT_EQ(quarter_of_degrees(d), quarter) << d;
    }
    EXPECT_EQ(degrees_of_quarter(3), 270);
    EXPECT_EQ(turned_quarter(3, 1), 0);
    EXPECT_EQ(turned_quarter(0, -1), 3);
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
