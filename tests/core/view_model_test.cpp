#include "view/view_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "field_arrays.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(ViewNormalize, BringsEveryFieldIntoRange) {
    // A zoom a hair above 1 counts as 1 and leaves no pan room.
    const std::pair<ViewState, ViewState> cases[] = {
        {{inf, 0.2, 0.8}, {1, 0.5, 0.5}},    {{1.0000000005, 0.2, 0.8}, {1, 0.5, 0.5}},
        {{9, 0, 1}, {8, 0.0625, 0.9375}},    {{2, inf, -3}, {2, 0.5, 0.25}},
        {{4, 0.1, 0.95}, {4, 0.125, 0.875}},
    };
    for (const auto& [in, out] : cases) {
        ViewState v = in;
        view_normalize(v);
        EXPECT_EQ(doubles(v), doubles(out)) << in.zoom << " " << in.center_x;
    }
}

TEST(ViewZoomAt, KeepsTheFramePointUnderTheAnchor) {
    const std::tuple<ViewState, double, double, double, ViewState> cases[] = {
        {{1, 0.5, 0.5}, 0.25, 0.75, 2, {2, 0.375, 0.625}},
        {{4, 0.5, 0.5}, 1, 0.25, 4, {8, 0.5625, 0.46875}}, // the anchor holds at the clamped zoom
        // Unusable factors leave the view alone, not even normalised.
        {{20, -4, 7}, 0.5, 0.5, 0, {20, -4, 7}},
        {{20, -4, 7}, 0.5, 0.5, -1, {20, -4, 7}},
        {{20, -4, 7}, 0.5, 0.5, inf, {20, -4, 7}},
        {{20, -4, 7}, 0.5, 0.5, nan, {20, -4, 7}},
    };
    for (const auto& [before, ax, ay, factor, after] : cases) {
        ViewState v = before;
        view_zoom_at(v, ax, ay, factor);
        EXPECT_EQ(doubles(v), doubles(after)) << ax << "," << ay << " x" << factor;
    }
}

TEST(ZoomCommands, StepThroughTheDocumentedZoomsAndLabels) {
    ViewState v;
    view_reset(v);
    const std::pair<double, int> steps_in[] = {{1.5, 150},    {2.25, 225},    {3.375, 338},
                                               {5.0625, 506}, {7.59375, 759}, {8, 800}};
    for (const auto& [zoom, label] : steps_in) {
        view_zoom_at(v, 0.5, 0.5, zoom_in_factor);
        EXPECT_EQ(std::pair(v.zoom, view_zoom_percent(v)), std::pair(zoom, label));
    }
    for (int label : {533, 356, 237, 158, 105, 100}) {
        view_zoom_at(v, 0.5, 0.5, zoom_out_factor);
        EXPECT_EQ(view_zoom_percent(v), label);
    }
    EXPECT_EQ(v.zoom, 1.0);
    v = {3, 0.3, 0.6};
    view_reset(v);
    EXPECT_EQ(doubles(v), doubles(ViewState{1, 0.5, 0.5}));
}

TEST(FitRectPixels, RoundsOriginAndSizeSeparately) {
    constexpr int32_t lo = INT32_MIN, hi = INT32_MAX;
    const std::tuple<PixelRect, int32_t, int32_t, PixelRect> cases[] = {
        // 1000 x 562.5 from 68.75: the top and the height round on their own.
        {{0, 36, 1000, 736}, 1920, 1080, {0, 105, 1000, 668}},
        {{0, 36, 800, 436}, 0, 480, {0, 36, 800, 436}}, // no frame size: the whole area
        {{10, 20, 10, 60}, 640, 480, {10, 20, 10, 60}}, // an empty area stays as it is
        {{lo, lo, hi, hi}, 1, 1, {lo, lo, hi, hi}},     // no overflow on the widest area
    };
    for (const auto& [area, fw, fh, out] : cases) {
        EXPECT_EQ(ints(fit_rect_pixels(area, fw, fh)), ints(out)) << fw << "x" << fh;
    }
}

} // namespace
