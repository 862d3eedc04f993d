#include "view/paint_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

void expect_rect(const PixelRect& r, const PixelRect& want) {
    EXPECT_EQ(r.left, want.left);
    EXPECT_EQ(r.top, want.top);
    EXPECT_EQ(r.right, want.right);
    EXPECT_EQ(r.bottom, want.bottom);
}

bool is_empty(const PixelRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

int64_t area_of(const PixelRect& r) {
    return is_empty(r) ? 0 : int64_t(r.right - r.left) * (r.bottom - r.top);
}

// A view with the centre pushed to the far edge, as normalising leaves it.
ViewState at_far_corner(double zoom) {
    ViewState v{zoom, 1, 1};
    view_normalize(v);
    return v;
}

ViewState at_near_corner(double zoom) {
    ViewState v{zoom, 0, 0};
    view_normalize(v);
    return v;
}

TEST(FrameCrop, ShowsThePartOfTheFrameTheViewSelects) {
    struct Case {
        const char* what;
        int32_t frame_width;
        int32_t frame_height;
        ViewState view;
        FrameCrop crop;
    } cases[] = {
        {"whole 640x480", 640, 480, {1, 0.5, 0.5}, {0, 0, 640, 480}},
        {"whole 1920x1080", 1920, 1080, {1, 0.5, 0.5}, {0, 0, 1920, 1080}},
        {"zoom 8 centred", 640, 480, {8, 0.5, 0.5}, {280, 210, 80, 60}},
        {"zoom 8 top left", 640, 480, at_near_corner(8), {0, 0, 80, 60}},
        {"zoom 8 bottom right", 640, 480, at_far_corner(8), {560, 420, 80, 60}},
        {"zoom 2 centred", 1920, 1080, {2, 0.5, 0.5}, {480, 270, 960, 540}},
        // 641 / 3 = 213.67 wide from 427.33, 481 / 3 = 160.33 high from 320.67,
        // each rounded to the nearest pixel.
        {"zoom 3 bottom right, odd frame", 641, 481, at_far_corner(3), {427, 321, 214, 160}},
        {"1x1 at zoom 8", 1, 1, {8, 0.5, 0.5}, {0, 0, 1, 1}},
        {"1x1 at zoom 8 far corner", 1, 1, at_far_corner(8), {0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FrameCrop crop = frame_crop(c.frame_width, c.frame_height, c.view);
        EXPECT_EQ(crop.x, c.crop.x);
        EXPECT_EQ(crop.y, c.crop.y);
        EXPECT_EQ(crop.width, c.crop.width);
        EXPECT_EQ(crop.height, c.crop.height);
    }
}

TEST(FrameCrop, StaysInsideTheFrameAndIsNeverEmpty) {
    struct Frame {
        int32_t width;
        int32_t height;
    } frames[] = {{641, 481}, {3, 3}, {1, 1}, {2, 1}, {5, 7}, {1920, 1080}, {639, 479}};
    const double zooms[] = {1, 1.25, 1.5, 2, 3, 5, 7.9, 8};
    for (const Frame& f : frames) {
        for (double zoom : zooms) {
            const ViewState views[] = {at_near_corner(zoom), {zoom, 0.5, 0.5}, at_far_corner(zoom)};
            for (const ViewState& v : views) {
                SCOPED_TRACE(testing::Message() << f.width << "x" << f.height << " zoom " << zoom
                                                << " centre " << v.center_x << "," << v.center_y);
                const FrameCrop crop = frame_crop(f.width, f.height, v);
                EXPECT_GE(crop.x, 0);
                EXPECT_GE(crop.y, 0);
                EXPECT_GE(crop.width, 1);
                EXPECT_GE(crop.height, 1);
                EXPECT_LE(crop.x + crop.width, f.width);
                EXPECT_LE(crop.y + crop.height, f.height);
            }
        }
    }
}

TEST(StatusTextBounds, InsetsTheSidesByTruncatedScaledMargins) {
    struct Case {
        PixelRect area;
        double scale;
        PixelRect bounds;
    } cases[] = {
        {{0, 36, 640, 436}, 1.0, {24, 36, 616, 436}},  {{0, 36, 640, 436}, 1.5, {36, 36, 604, 436}},
        {{0, 36, 640, 436}, 1.25, {30, 36, 610, 436}}, {{0, 36, 640, 436}, 1.1, {26, 36, 614, 436}},
        {{0, 54, 960, 654}, 1.5, {36, 54, 924, 654}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "scale " << c.scale << " area " << c.area.right << "x" << c.area.bottom);
        expect_rect(status_text_bounds(c.area, c.scale), c.bounds);
    }
}

TEST(StatusTextPlace, EndsAboveTheMiddleOfTheArea) {
    struct Case {
        PixelRect area;
        double scale;
        int32_t text_height;
        PixelRect place;
    } cases[] = {
        // 36 + 200 - 8 = 228.
        {{0, 36, 640, 436}, 1.0, 16, {24, 212, 616, 228}},
        // 54 + 300 - 12 = 342.
        {{0, 54, 960, 654}, 1.5, 24, {36, 318, 924, 342}},
        // 45 + 250 - 10 = 285.
        {{0, 45, 800, 545}, 1.25, 20, {30, 265, 770, 285}},
        // trunc(8.8) = 8.
        {{0, 36, 640, 436}, 1.1, 16, {26, 212, 614, 228}},
        // Two lines grow upward from the same bottom.
        {{0, 36, 640, 436}, 1.0, 32, {24, 196, 616, 228}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << " text height " << c.text_height);
        const PixelRect bounds = status_text_bounds(c.area, c.scale);
        expect_rect(status_text_place(bounds, c.area, c.scale, c.text_height), c.place);
    }
}

TEST(BarsAround, CoverTheAreaOutsideThePicture) {
    struct Case {
        const char* what;
        PixelRect area;
        PixelRect picture;
        bool empty[4];
        PixelRect band[4]; // checked where the band is not empty
    } cases[] = {
        {"picture fills the area",
         {0, 36, 640, 436},
         {0, 36, 640, 436},
         {true, true, true, true},
         {}},
        {"bars left and right",
         {0, 36, 800, 436},
         {133, 36, 666, 436},
         {true, true, false, false},
         {{}, {}, {0, 36, 133, 436}, {666, 36, 800, 436}}},
        {"bars above and below",
         {0, 36, 640, 516},
         {0, 96, 640, 456},
         {false, false, true, true},
         {{0, 36, 640, 96}, {0, 456, 640, 516}, {}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bars bars = bars_around(c.area, c.picture);
        int64_t covered = area_of(c.picture);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << "band " << i);
            EXPECT_EQ(is_empty(bars.band[i]), c.empty[i]);
            if (!c.empty[i]) {
                expect_rect(bars.band[i], c.band[i]);
            }
            covered += area_of(bars.band[i]);
        }
        EXPECT_EQ(covered, area_of(c.area));
    }
}

TEST(BarsAround, BandsAboveAndBelowSpanTheAreaEvenWhenEmpty) {
    const Bars bars = bars_around({0, 36, 800, 436}, {133, 36, 666, 436});
    expect_rect(bars.band[0], {0, 36, 800, 36});
    expect_rect(bars.band[1], {0, 436, 800, 436});
}

} // namespace
