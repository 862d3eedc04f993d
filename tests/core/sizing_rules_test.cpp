#include "layout/sizing_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "field_arrays.h"

namespace {

// 4 px borders and a 23 px caption with its border at 96 DPI; the same at 144.
constexpr SizingFrame frame_96{36, 320, 8, 31};
constexpr SizingFrame frame_144{54, 480, 12, 44};

// Proposed 200 x 150 outer: the width and the height-derived width are both
// below the minimum, so the video snaps to 320 wide and the rows show which
// sides an edge moves.
constexpr PixelRect small{500, 400, 700, 550};
// Proposed 508 x 367 outer: video 500 wide, or 300 high, depending on which
// side drives.
constexpr PixelRect large{500, 400, 1008, 767};

TEST(SizingRect, KeepsTheAspectFromTheDraggedSide) {
    const std::tuple<double, double, int32_t, PixelRect, PixelRect> cases[] = {
        // 16:9 snapped: video 320 x 180, outer 328 x 247. The edges that move the
        // left or the top side, and a corner that moves neither.
        {16, 9, EdgeLeft, small, {372, 400, 700, 647}},
        {16, 9, EdgeTop, small, {500, 303, 828, 550}},
        {16, 9, EdgeTopLeft, small, {372, 303, 700, 550}},
        {16, 9, EdgeTopRight, small, {500, 303, 828, 550}},
        {16, 9, EdgeBottomLeft, small, {372, 400, 700, 647}},
        {16, 9, EdgeBottomRight, small, {500, 400, 828, 647}},
        // 4:3: the width drives to 500 x 375 (outer 508 x 442); only the top and
        // bottom edges let the height drive, to 400 x 300 (outer 408 x 367).
        {640, 480, EdgeLeft, large, {500, 400, 1008, 842}},
        {640, 480, EdgeTop, large, {500, 400, 908, 767}},
        {640, 480, EdgeBottom, large, {500, 400, 908, 767}},
        // 16:9 unsnapped: 400 x 225; lround(533.33) x lround(299.81).
        {16, 9, EdgeTop, large, {500, 400, 1041, 767}},
        // Halves round away from zero: 328 x 184.5 gives 185 high; at 1:2 a
        // video 641 high gives 320.5, so 321 wide and 642 high.
        {16, 9, EdgeRight, {100, 100, 436, 300}, {100, 100, 436, 352}},
        {1, 2, EdgeBottom, {0, 0, 100, 708}, {0, 0, 329, 709}},
    };
    for (const auto& [aw, ah, edge, proposed, result] : cases) {
        EXPECT_EQ(ints(sizing_rect(edge, proposed, aw, ah, frame_96)), ints(result))
            << aw << ":" << ah << " edge " << edge << " from " << proposed.right;
    }
}

TEST(SizingRect, AspectMinimumAndFittedSizes) {
    // An unknown side counts as 16 by 9, each on its own; the circle is 1:1
    // whatever the picture.
    auto pair = [](Aspect a) { return std::pair(a.width, a.height); };
    EXPECT_EQ(pair(window_aspect(0, -1, false)), std::pair(16, 9));
    EXPECT_EQ(pair(window_aspect(640, 0, false)), std::pair(640, 9));
    EXPECT_EQ(pair(window_aspect(640, 480, true)), std::pair(1, 1));
    EXPECT_EQ(pair(window_aspect(0, 0, true)), std::pair(1, 1));
    int32_t width = -1, height = -1;
    minimum_track_size(frame_144, &width, &height);
    EXPECT_EQ(std::pair(width, height), std::pair(492, 368));
    EXPECT_EQ(fitted_video_height(328, 16, 9), 185); // 184.5
}

TEST(FitWindowToFrame, KeepsTheWindowAboveTheWorkAreaBottom) {
    constexpr PixelRect work{0, 0, 1280, 800};
    constexpr PixelRect high{100, 100, 748, 527};    // 640 x 360 video
    constexpr PixelRect centred{100, 186, 748, 613}; // the same, lower
    const std::tuple<PixelRect, int32_t, int32_t, PixelRect, PixelRect> cases[] = {
        {high, 640, 480, work, {100, 100, 748, 647}},                 // fits: width and place kept
        {centred, 1080, 1920, work, {100, 164, 428, 800}},            // 320 x 569, moved up 22
        {centred, 1080, 1920, {0, 0, 1280, 600}, {100, 0, 428, 636}}, // no higher than the top
    };
    for (const auto& [outer, fw, fh, area, result] : cases) {
        EXPECT_EQ(ints(fit_window_to_frame(outer, 640, fw, fh, frame_96, area)), ints(result))
            << fw << "x" << fh << " from top " << outer.top;
    }
}

TEST(CompactWindow, EdgesTheMinimumAndTheWorkArea) {
    // A 320 x 180 window with a 6-pixel band inside its edges.
    const std::tuple<int32_t, int32_t, int32_t> edges[] = {
        {0, 0, 4},   {5, 90, 1},  {6, 6, 0},     {313, 173, 0}, {314, 90, 2},
        {319, 0, 5}, {160, 5, 3}, {160, 174, 6}, {0, 179, 7},   {319, 179, 8},
    };
    for (const auto& [x, y, edge] : edges) {
        EXPECT_EQ(compact_edge_at(320, 180, x, y, 6), edge) << x << "," << y;
    }
    int32_t width = 0;
    int32_t height = 0;
    compact_minimum_size(240, 4, 3, &width, &height); // 160 units at 144 DPI, a 4:3 picture
    EXPECT_EQ(std::pair(width, height), std::pair(240, 180));
    compact_minimum_size(160, 720, 1280, &width, &height); // portrait
    EXPECT_EQ(std::pair(width, height), std::pair(160, 284));

    constexpr PixelRect work{0, 0, 1280, 800};
    const std::tuple<PixelRect, PixelRect> moves[] = {
        {{100, 100, 500, 400}, {100, 100, 500, 400}}, // inside: stays
        {{-50, 700, 350, 1000}, {0, 500, 400, 800}},  // pulled in from the left and bottom
        {{1000, -20, 1400, 280}, {880, 0, 1280, 300}},
        {{10, 10, 1410, 910}, {0, 0, 1400, 900}}, // larger: left and top kept
    };
    for (const auto& [r, kept] : moves) {
        EXPECT_EQ(ints(keep_inside(r, work)), ints(kept)) << r.left << "," << r.top;
    }

    // Maximised: the largest picture of its aspect in the work area, centred.
    const std::tuple<PixelRect, double, double, PixelRect> largest[] = {
        {{0, 0, 1280, 770}, 4, 3, {126, 0, 1153, 770}},         // taller than wide: full height
        {{0, 0, 1280, 770}, 16, 9, {0, 25, 1280, 745}},         // full width
        {{100, 40, 1380, 810}, 720, 1280, {523, 40, 956, 810}}, // portrait, offset work area
        {{0, 0, 1280, 770}, 1, 1, {255, 0, 1025, 770}},         // the circle
    };
    for (const auto& [area, aw, ah, want] : largest) {
        EXPECT_EQ(ints(largest_aspect_rect(area, aw, ah)), ints(want)) << aw << ":" << ah;
    }
}

TEST(CompactWindow, TheCircleIsTheMiddleSquareAndItsBandFollowsTheArc) {
    // To the square and back about the same centre, the shorter side kept.
    const std::tuple<PixelRect, Aspect, PixelRect> reshapes[] = {
        {{100, 100, 740, 580}, {1, 1}, {180, 100, 660, 580}},
        {{180, 100, 660, 580}, {4, 3}, {100, 100, 740, 580}},
        {{180, 100, 660, 580}, {720, 1280}, {180, -86, 660, 767}},
    };
    for (const auto& [r, aspect, want] : reshapes) {
        EXPECT_EQ(ints(reshape_about_centre(r, aspect)), ints(want)) << aspect.width;
    }
    EXPECT_EQ((std::array{shape_radius(0, 200, 150, 144), shape_radius(1, 200, 150, 144),
                          shape_radius(2, 200, 151, 96)}),
              (std::array{0, 18, 75}));
    // A 200 x 200 circle (radius 100) and a 320 x 180 window with 12-pixel
    // corners; a 6-pixel band.
    const std::tuple<int32_t, int32_t, int32_t, int32_t> edges[] = {
        {100, 100, 2, 3},   {100, 100, 10, 0}, {100, 31, 31, 4},   {100, 40, 40, 0},
        {100, 100, 197, 6}, {100, 2, 100, 1},  {100, 169, 169, 8}, {100, 195, 80, 2},
        {12, 7, 7, 4},      {12, 8, 8, 0},     {12, 3, 90, 1},     {12, 316, 8, 2},
    };
    for (const auto& [radius, x, y, edge] : edges) {
        const bool circle = radius == 100;
        EXPECT_EQ(shape_edge_at(circle ? 200 : 320, circle ? 200 : 180, x, y, 6, radius), edge)
            << x << "," << y;
    }
}

TEST(TopEdgeMiddle, OutsideThe32BitRangeIsOnNoMonitor) {
    // Widths come from the settings file, always positive.
    const std::tuple<int32_t, int32_t, bool, int32_t> cases[] = {
        {-2147483647 - 1, 2, true, -2147483647},
        {2147483646, 2, true, 2147483647},
        {2147483647, 2, false, 0},
    };
    for (const auto& [x, width, inside, middle] : cases) {
        int32_t got = 0;
        EXPECT_EQ(top_edge_middle(x, width, &got), inside) << x << " + " << width;
        EXPECT_EQ(got, middle) << x << " + " << width;
    }
}

} // namespace
