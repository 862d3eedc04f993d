#include "view/navigation_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(NavigationPicture, FitsTheKnownSizeOr16By9) {
    struct Case {
        PixelRect area;
        int32_t known_width;
        int32_t known_height;
        PixelRect picture;
    } cases[] = {
        {{0, 36, 640, 396}, 0, 0, {0, 36, 640, 396}},
        {{0, 36, 640, 516}, 0, 0, {0, 96, 640, 456}},
        {{0, 36, 800, 436}, 640, 480, {133, 36, 666, 436}},
        {{0, 36, 640, 396}, 1920, 1080, {0, 36, 640, 396}},
        {{0, 36, 640, 516}, 640, 480, {0, 36, 640, 516}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "area " << c.area.right << "x" << c.area.bottom
                                        << " known " << c.known_width << "x" << c.known_height);
        const PixelRect p = navigation_picture(c.area, c.known_width, c.known_height);
        EXPECT_EQ(p.left, c.picture.left);
        EXPECT_EQ(p.top, c.picture.top);
        EXPECT_EQ(p.right, c.picture.right);
        EXPECT_EQ(p.bottom, c.picture.bottom);
    }
}

TEST(DragStep, PansByThePointerMovementOverThePicture) {
    constexpr PixelRect picture{0, 36, 640, 396}; // 640 x 360
    struct Case {
        const char* what;
        ViewState before;
        int32_t x;
        int32_t y;
        ViewState after;
    } cases[] = {
        // A whole picture width at zoom 2 is half the frame: 0.5 - 0.5 = 0,
        // brought back to the smallest centre at zoom 2.
        {"full width right", {2, 0.5, 0.5}, 740, 200, {2, 0.25, 0.5}},
        {"64 px right", {2, 0.5, 0.5}, 164, 200, {2, 0.45, 0.5}},
        {"64 px left", {2, 0.5, 0.5}, 36, 200, {2, 0.55, 0.5}},
        {"36 px down", {2, 0.5, 0.5}, 100, 236, {2, 0.5, 0.45}},
        {"36 px up", {2, 0.5, 0.5}, 100, 164, {2, 0.5, 0.55}},
        {"64 px right at zoom 4", {4, 0.5, 0.5}, 164, 200, {4, 0.475, 0.5}},
        {"no movement", {2, 0.4, 0.6}, 100, 200, {2, 0.4, 0.6}},
        // At zoom 1 the whole frame shows and there is nothing to pan.
        {"zoom 1", {1, 0.5, 0.5}, 164, 236, {1, 0.5, 0.5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DragState drag{1, 100, 200};
        ViewState view = c.before;
        EXPECT_TRUE(drag_step(drag, view, picture, c.x, c.y));
        EXPECT_DOUBLE_EQ(view.zoom, c.after.zoom);
        EXPECT_DOUBLE_EQ(view.center_x, c.after.center_x);
        EXPECT_DOUBLE_EQ(view.center_y, c.after.center_y);
        EXPECT_EQ(drag.last_x, c.x);
        EXPECT_EQ(drag.last_y, c.y);
    }
}

TEST(DragStep, AnEmptyPictureOnlyRecordsThePointer) {
    struct Case {
        const char* what;
        PixelRect picture;
    } cases[] = {
        {"zero height", {0, 36, 640, 36}},
        {"zero width", {320, 36, 320, 396}},
        {"empty", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DragState drag{1, 100, 200};
        ViewState view{2, 0.4, 0.6};
        EXPECT_FALSE(drag_step(drag, view, c.picture, 300, 260));
        EXPECT_EQ(view.zoom, 2.0);
        EXPECT_EQ(view.center_x, 0.4);
        EXPECT_EQ(view.center_y, 0.6);
        EXPECT_EQ(drag.last_x, 300);
        EXPECT_EQ(drag.last_y, 260);
    }
}

TEST(WheelZoom, ZoomsAboutThePicturePointUnderThePointer) {
    constexpr PixelRect wide{0, 36, 640, 396};     // fills the area
    constexpr PixelRect pillar{133, 36, 666, 436}; // bars left and right
    constexpr PixelRect letter{0, 96, 640, 456};   // bars above and below
    struct Case {
        const char* what;
        ViewState before;
        PixelRect picture;
        int32_t x;
        int32_t y;
        int32_t delta;
        ViewState after;
    } cases[] = {
        {"one notch in", {1, 0.5, 0.5}, wide, 320, 216, 120, {1.25, 0.5, 0.5}},
        {"one notch out", {2, 0.5, 0.5}, wide, 320, 216, -120, {1.6, 0.5, 0.5}},
        {"two notches in", {1, 0.5, 0.5}, wide, 320, 216, 240, {1.5625, 0.5, 0.5}},
        {"stops at 8", {7, 0.5, 0.5}, wide, 320, 216, 120, {8, 0.5, 0.5}},
        {"stays at 8", {8, 0.5, 0.5}, wide, 320, 216, 120, {8, 0.5, 0.5}},
        {"stops at 1", {1.1, 0.5, 0.5}, wide, 320, 216, -120, {1, 0.5, 0.5}},
        {"stays at 1", {1, 0.5, 0.5}, wide, 320, 216, -120, {1, 0.5, 0.5}},
        {"top-left corner", {1, 0.5, 0.5}, wide, 0, 36, 120, {1.25, 0.4, 0.4}},
        {"bar left of the picture", {1, 0.5, 0.5}, pillar, 50, 236, 120, {1.25, 0.4, 0.5}},
        {"left edge of the picture", {1, 0.5, 0.5}, pillar, 133, 236, 120, {1.25, 0.4, 0.5}},
        {"bar above the picture", {1, 0.5, 0.5}, letter, 320, 50, 120, {1.25, 0.5, 0.4}},
        {"top edge of the picture", {1, 0.5, 0.5}, letter, 320, 96, 120, {1.25, 0.5, 0.4}},
        {"bar above and left", {1, 0.5, 0.5}, pillar, 10, 0, 120, {1.25, 0.4, 0.4}},
        {"bar right of the picture", {1, 0.5, 0.5}, pillar, 780, 236, 120, {1.25, 0.6, 0.5}},
        {"bar below the picture", {1, 0.5, 0.5}, letter, 320, 500, 120, {1.25, 0.5, 0.6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewState view = c.before;
        wheel_zoom(view, c.picture, c.x, c.y, c.delta);
        EXPECT_DOUBLE_EQ(view.zoom, c.after.zoom);
        EXPECT_DOUBLE_EQ(view.center_x, c.after.center_x);
        EXPECT_DOUBLE_EQ(view.center_y, c.after.center_y);
    }
}

} // namespace
