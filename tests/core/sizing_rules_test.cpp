#include "layout/sizing_rules.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

// 4 px borders and a 23 px caption with its border at 96 DPI; the same at 144.
constexpr SizingFrame frame_96{36, 320, 8, 31};
constexpr SizingFrame frame_144{54, 480, 12, 44};

void expect_rect(const PixelRect& r, const PixelRect& want) {
    EXPECT_EQ(r.left, want.left);
    EXPECT_EQ(r.top, want.top);
    EXPECT_EQ(r.right, want.right);
    EXPECT_EQ(r.bottom, want.bottom);
}

TEST(AspectOfKnownSize, FallsBackTo16By9OnEachSide) {
    struct Case {
        int32_t known;
        double width;
        double height;
    } cases[] = {
        {0, 16, 9}, {-1, 16, 9}, {-640, 16, 9}, {1, 1, 1}, {480, 480, 480}, {640, 640, 640},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "known " << c.known);
        EXPECT_EQ(aspect_width(c.known), c.width);
        EXPECT_EQ(aspect_height(c.known), c.height);
    }
}

struct SizingCase {
    int32_t edge;
    PixelRect proposed;
    PixelRect result;
};

void check_sizing(const SizingCase* cases, size_t count, double aw, double ah,
                  const SizingFrame& frame) {
    for (size_t i = 0; i < count; ++i) {
        const SizingCase& c = cases[i];
        SCOPED_TRACE(testing::Message() << "aspect " << aw << ":" << ah << " edge " << c.edge
                                        << " proposed " << c.proposed.left << "," << c.proposed.top
                                        << "," << c.proposed.right << "," << c.proposed.bottom);
        expect_rect(sizing_rect(c.edge, c.proposed, aw, ah, frame), c.result);
    }
}

TEST(SizingRect, DraggingTheRightEdgeKeeps16By9) {
    // Client 400 wide: video 400 x 225, outer height 225 + 36 + 31.
    const SizingCase cases[] = {
        {EdgeRight, {100, 100, 508, 300}, {100, 100, 508, 392}},
        {EdgeRight, {100, 100, 508, 1000}, {100, 100, 508, 392}},
    };
    check_sizing(cases, std::size(cases), 16, 9, frame_96);
}

// Proposed 200 x 150 outer: both the width (192) and the height-derived width
// are below the minimum, so the result is always 328 outer wide and the case
// shows which edges the drag moves.
constexpr PixelRect small_proposal{500, 400, 700, 550};

TEST(SizingRect, EachEdgeMovesItsOwnSidesAt16By9) {
    // Video 320 x 180: outer 328 x 247.
    const SizingCase cases[] = {
        {EdgeLeft, small_proposal, {372, 400, 700, 647}},
        {EdgeRight, small_proposal, {500, 400, 828, 647}},
        {EdgeTop, small_proposal, {500, 303, 828, 550}},
        {EdgeTopLeft, small_proposal, {372, 303, 700, 550}},
        {EdgeTopRight, small_proposal, {500, 303, 828, 550}},
        {EdgeBottom, small_proposal, {500, 400, 828, 647}},
        {EdgeBottomLeft, small_proposal, {372, 400, 700, 647}},
        {EdgeBottomRight, small_proposal, {500, 400, 828, 647}},
        {0, small_proposal, {500, 400, 828, 647}},
        {9, small_proposal, {500, 400, 828, 647}},
    };
    check_sizing(cases, std::size(cases), 16, 9, frame_96);
}

TEST(SizingRect, EachEdgeMovesItsOwnSidesAt4By3) {
    // Video 320 x 240: outer 328 x 307.
    const SizingCase cases[] = {
        {EdgeLeft, small_proposal, {372, 400, 700, 707}},
        {EdgeRight, small_proposal, {500, 400, 828, 707}},
        {EdgeTop, small_proposal, {500, 243, 828, 550}},
        {EdgeTopLeft, small_proposal, {372, 243, 700, 550}},
        {EdgeTopRight, small_proposal, {500, 243, 828, 550}},
        {EdgeBottom, small_proposal, {500, 400, 828, 707}},
        {EdgeBottomLeft, small_proposal, {372, 400, 700, 707}},
        {EdgeBottomRight, small_proposal, {500, 400, 828, 707}},
        {0, small_proposal, {500, 400, 828, 707}},
        {9, small_proposal, {500, 400, 828, 707}},
    };
    check_sizing(cases, std::size(cases), 640, 480, frame_96);
}

// Proposed 508 x 367 outer: video 500 wide, or 300 high, depending on which
// side drives.
constexpr PixelRect large_proposal{500, 400, 1008, 767};

TEST(SizingRect, SideEdgesAndCornersFollowTheWidthTopAndBottomTheHeightAt16By9) {
    // Width drives: 500 x lround(281.25) = 281, outer 508 x 348.
    // Height drives: lround(533.33) = 533 wide, lround(299.8125) = 300 high,
    // outer 541 x 367.
    const SizingCase cases[] = {
        {EdgeLeft, large_proposal, {500, 400, 1008, 748}},
        {EdgeRight, large_proposal, {500, 400, 1008, 748}},
        {EdgeTop, large_proposal, {500, 400, 1041, 767}},
        {EdgeTopLeft, large_proposal, {500, 419, 1008, 767}},
        {EdgeTopRight, large_proposal, {500, 419, 1008, 767}},
        {EdgeBottom, large_proposal, {500, 400, 1041, 767}},
        {EdgeBottomLeft, large_proposal, {500, 400, 1008, 748}},
        {EdgeBottomRight, large_proposal, {500, 400, 1008, 748}},
        {0, large_proposal, {500, 400, 1008, 748}},
    };
    check_sizing(cases, std::size(cases), 16, 9, frame_96);
}

TEST(SizingRect, SideEdgesAndCornersFollowTheWidthTopAndBottomTheHeightAt4By3) {
    // Width drives: 500 x 375, outer 508 x 442.
    // Height drives: 400 x 300, outer 408 x 367.
    const SizingCase cases[] = {
        {EdgeLeft, large_proposal, {500, 400, 1008, 842}},
        {EdgeRight, large_proposal, {500, 400, 1008, 842}},
        {EdgeTop, large_proposal, {500, 400, 908, 767}},
        {EdgeTopLeft, large_proposal, {500, 325, 1008, 767}},
        {EdgeTopRight, large_proposal, {500, 325, 1008, 767}},
        {EdgeBottom, large_proposal, {500, 400, 908, 767}},
        {EdgeBottomLeft, large_proposal, {500, 400, 1008, 842}},
        {EdgeBottomRight, large_proposal, {500, 400, 1008, 842}},
        {9, large_proposal, {500, 400, 1008, 842}},
    };
    check_sizing(cases, std::size(cases), 640, 480, frame_96);
}

TEST(SizingRect, SnapsToTheMinimumVideoWidth) {
    struct Case {
        double aw;
        double ah;
        int32_t video_height;
    } cases[] = {
        {16, 9, 180},
        {640, 480, 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "aspect " << c.aw << ":" << c.ah);
        const PixelRect r = sizing_rect(EdgeRight, {100, 100, 300, 200}, c.aw, c.ah, frame_96);
        EXPECT_EQ(r.right - r.left - frame_96.nonclient_width, 320);
        EXPECT_EQ(r.bottom - r.top - frame_96.toolbar - frame_96.nonclient_height, c.video_height);
    }
}

TEST(SizingRect, RoundsHalvesAwayFromZero) {
    const SizingCase wide[] = {
        // Video 328 wide: 328 x 9 / 16 = 184.5 gives 185, outer height 252.
        {EdgeRight, {100, 100, 436, 300}, {100, 100, 436, 352}},
        {EdgeTopLeft, {100, 100, 436, 300}, {100, 48, 436, 300}},
    };
    check_sizing(wide, std::size(wide), 16, 9, frame_96);

    // 1:2, bottom edge: video 641 high gives lround(320.5) = 321 wide, then
    // 642 high; outer 329 x 709.
    const SizingCase tall[] = {
        {EdgeBottom, {0, 0, 100, 708}, {0, 0, 329, 709}},
    };
    check_sizing(tall, std::size(tall), 1, 2, frame_96);
}

TEST(SizingRect, At144Dpi) {
    const SizingCase wide[] = {
        // Below the minimum: 480 x 270, outer 492 x 368.
        {EdgeRight, {100, 100, 200, 200}, {100, 100, 592, 468}},
        {EdgeTopLeft, {100, 100, 200, 200}, {-292, -168, 200, 200}},
        // 1280 x 720, outer 1292 x 818.
        {EdgeBottomRight, {0, 0, 1292, 500}, {0, 0, 1292, 818}},
    };
    check_sizing(wide, std::size(wide), 16, 9, frame_144);

    // Top edge at 4:3: video 546 high gives 728 x 546, outer 740 x 644.
    const SizingCase four_three[] = {
        {EdgeTop, {0, 0, 1000, 644}, {0, 0, 740, 644}},
        {EdgeBottom, {0, 0, 1000, 644}, {0, 0, 740, 644}},
    };
    check_sizing(four_three, std::size(four_three), 640, 480, frame_144);
}

TEST(MinimumTrackSize, IsTheMinimumVideoAt16By9PlusTheFrame) {
    struct Case {
        SizingFrame frame;
        int32_t width;
        int32_t height;
    } cases[] = {
        {frame_96, 328, 247},
        {frame_144, 492, 368},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "toolbar " << c.frame.toolbar);
        int32_t width = -1;
        int32_t height = -1;
        minimum_track_size(c.frame, &width, &height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

TEST(FittedVideoHeight, GivesTheClientTheFrameAspect) {
    struct Case {
        int32_t client_width;
        int32_t frame_width;
        int32_t frame_height;
        int32_t height;
    } cases[] = {
        {640, 640, 480, 480}, {640, 1280, 720, 360}, {400, 16, 9, 225}, {400, 1920, 1080, 225},
        {328, 16, 9, 185},    {1, 2, 1, 1},          {3, 2, 1, 2},      {640, 480, 640, 853},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "client " << c.client_width << " frame " << c.frame_width
                                        << "x" << c.frame_height);
        EXPECT_EQ(fitted_video_height(c.client_width, c.frame_width, c.frame_height), c.height);
    }
}

} // namespace
