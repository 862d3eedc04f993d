#include "view/view_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/command_ids.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

void expect_view(const ViewState& v, double zoom, double cx, double cy) {
    EXPECT_DOUBLE_EQ(v.zoom, zoom);
    EXPECT_DOUBLE_EQ(v.center_x, cx);
    EXPECT_DOUBLE_EQ(v.center_y, cy);
}

TEST(ViewNormalize, BringsEveryFieldIntoRange) {
    struct Case {
        ViewState in;
        ViewState out;
    } cases[] = {
        {{nan, 0.3, 0.7}, {1, 0.5, 0.5}},
        {{0.5, 0.1, 0.9}, {1, 0.5, 0.5}},
        {{1.0000000005, 0.2, 0.8}, {1, 0.5, 0.5}},
        {{-inf, 0.2, 0.8}, {1, 0.5, 0.5}},
        {{inf, 0.2, 0.8}, {1, 0.5, 0.5}},
        {{9, 0, 1}, {8, 0.0625, 0.9375}},
        {{8, 0.5, 0.5}, {8, 0.5, 0.5}},
        {{2, inf, -3}, {2, 0.5, 0.25}},
        {{2, nan, -nan}, {2, 0.5, 0.5}},
        {{4, 0.1, 0.95}, {4, 0.125, 0.875}},
        {{1.5, 0.4, 0.6}, {1.5, 0.4, 0.6}},
    };
    for (const Case& c : cases) {
        ViewState v = c.in;
        view_normalize(v);
        SCOPED_TRACE(testing::Message()
                     << c.in.zoom << " " << c.in.center_x << " " << c.in.center_y);
        // Exact: these are the values the settings file and the painter see.
        EXPECT_EQ(v.zoom, c.out.zoom);
        EXPECT_EQ(v.center_x, c.out.center_x);
        EXPECT_EQ(v.center_y, c.out.center_y);
    }
}

TEST(ViewZoomAt, KeepsTheFramePointUnderTheAnchor) {
    ViewState v{1, 0.5, 0.5};
    view_zoom_at(v, 0, 0, 1.5);
    expect_view(v, 1.5, 1.0 / 3.0, 1.0 / 3.0);

    v = {1, 0.5, 0.5};
    view_zoom_at(v, 0.25, 0.75, 2);
    EXPECT_EQ(v.zoom, 2.0);
    EXPECT_EQ(v.center_x, 0.375);
    EXPECT_EQ(v.center_y, 0.625);
    view_zoom_at(v, 0.25, 0.75, 0.5);
    EXPECT_EQ(v.zoom, 1.0);
    EXPECT_EQ(v.center_x, 0.5);
    EXPECT_EQ(v.center_y, 0.5);

    v = {1, 0.5, 0.5};
    view_zoom_at(v, 0.5, 0.5, zoom_out_factor);
    expect_view(v, 1, 0.5, 0.5);

    v = {7, 0.5, 0.5};
    view_zoom_at(v, 0.5, 0.5, 2);
    EXPECT_EQ(v.zoom, 8.0);
}

TEST(ViewZoomAt, IgnoresUnusableFactorsWithoutNormalising) {
    for (double factor : {0.0, -1.0, inf, -inf, nan}) {
        ViewState v{20, -4, 7};
        view_zoom_at(v, 0.5, 0.5, factor);
        EXPECT_EQ(v.zoom, 20.0) << factor;
        EXPECT_EQ(v.center_x, -4.0) << factor;
        EXPECT_EQ(v.center_y, 7.0) << factor;
    }
}

TEST(ViewPan, MovesAgainstTheDragAndStopsAtEdges) {
    ViewState v{1, 0.5, 0.5};
    view_pan(v, 0.3, -0.2);
    expect_view(v, 1, 0.5, 0.5);

    v = {2, 0.5, 0.5};
    view_pan(v, 0.25, 0);
    EXPECT_EQ(v.center_x, 0.375);
    EXPECT_EQ(v.center_y, 0.5);

    v = {2, 0.5, 0.5};
    view_pan(v, 1.0, -1.0); // a full picture width: the centre would leave the frame
    EXPECT_EQ(v.center_x, 0.25);
    EXPECT_EQ(v.center_y, 0.75);
}

TEST(ViewVisibleRect, IsCentredAndOneOverZoomWide) {
    const DoubleRect r = view_visible_rect({4, 0.25, 0.75});
    EXPECT_EQ(r.x, 0.125);
    EXPECT_EQ(r.y, 0.625);
    EXPECT_EQ(r.width, 0.25);
    EXPECT_EQ(r.height, 0.25);
}

TEST(ZoomCommands, StepThroughTheDocumentedZoomsAndLabels) {
    ViewState v;
    view_reset(v);
    const double in_zooms[] = {1.5, 2.25, 3.375, 5.0625, 7.59375, 8};
    const int in_labels[] = {150, 225, 338, 506, 759, 800};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(view_apply_zoom_command(v, IDC_ZOOM_IN));
        EXPECT_EQ(v.zoom, in_zooms[i]);
        EXPECT_EQ(view_zoom_percent(v), in_labels[i]);
    }
    const int out_labels[] = {533, 356, 237, 158, 105, 100};
    for (int label : out_labels) {
        ASSERT_TRUE(view_apply_zoom_command(v, IDC_ZOOM_OUT));
        EXPECT_EQ(view_zoom_percent(v), label);
    }
    EXPECT_EQ(v.zoom, 1.0);

    v = {3, 0.3, 0.6};
    EXPECT_TRUE(view_apply_zoom_command(v, IDC_ZOOM_RESET));
    expect_view(v, 1, 0.5, 0.5);

    v = {3, 0.3, 0.6};
    for (int id : {IDC_CAMERA, IDC_ON_TOP, IDC_OPEN_PRIVACY, 0}) {
        EXPECT_FALSE(view_apply_zoom_command(v, id));
    }
    expect_view(v, 3, 0.3, 0.6);
}

TEST(FitRect, LetterboxesAndFallsBackToTheWholeArea) {
    DoubleRect r = fit_rect(640, 480, 800, 400);
    EXPECT_DOUBLE_EQ(r.x, (800 - 640 * (400.0 / 480)) * 0.5);
    EXPECT_EQ(r.y, 0.0);
    EXPECT_DOUBLE_EQ(r.height, 400);
    for (auto [w, h] : {std::pair{0.0, 480.0}, {640.0, 0.0}, {-1.0, 5.0}}) {
        r = fit_rect(w, h, 800, 400);
        EXPECT_EQ(r.x, 0.0);
        EXPECT_EQ(r.y, 0.0);
        EXPECT_EQ(r.width, 800.0);
        EXPECT_EQ(r.height, 400.0);
    }
}

TEST(FitPointToUnit, ClampsAndHandlesDegenerateRects) {
    const DoubleRect r{100, 50, 200, 100};
    struct Case {
        double px, py, u, v;
    } cases[] = {
        {100, 50, 0, 0}, {300, 150, 1, 1}, {200, 75, 0.5, 0.25},
        {20, 10, 0, 0},  {900, 900, 1, 1}, {150, 500, 0.25, 1},
    };
    for (const Case& c : cases) {
        const UnitPoint p = fit_point_to_unit(r, c.px, c.py);
        EXPECT_EQ(p.u, c.u) << c.px;
        EXPECT_EQ(p.v, c.v) << c.py;
    }
    const UnitPoint p = fit_point_to_unit({10, 10, 0, -3}, 50, 50);
    EXPECT_EQ(p.u, 0.5);
    EXPECT_EQ(p.v, 0.5);
}

TEST(FitRectPixels, RoundsOriginAndSizeSeparately) {
    struct Case {
        PixelRect area;
        int fw, fh;
        PixelRect out;
    } cases[] = {
        {{0, 36, 800, 436}, 640, 480, {133, 36, 666, 436}},
        {{0, 36, 1000, 736}, 1920, 1080, {0, 105, 1000, 668}},
        {{0, 36, 640, 396}, 1280, 720, {0, 36, 640, 396}},
        {{10, 20, 10, 20}, 640, 480, {10, 20, 10, 20}},
        {{0, 36, 800, 436}, 0, 480, {0, 36, 800, 436}},
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
         1,
         1,
         {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}},
    };
    for (const Case& c : cases) {
        const PixelRect r = fit_rect_pixels(c.area, c.fw, c.fh);
        EXPECT_EQ(r.left, c.out.left);
        EXPECT_EQ(r.top, c.out.top);
        EXPECT_EQ(r.right, c.out.right);
        EXPECT_EQ(r.bottom, c.out.bottom);
    }
}

} // namespace
