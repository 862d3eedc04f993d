#include "view/paint_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "field_arrays.h"
#include "view/picture_copy.h"

namespace {

// The centre pushed to the far edge, as normalising leaves it.
ViewState at_far_corner(double zoom) {
    ViewState v{zoom, 1, 1};
    view_normalize(v);
    return v;
}

TEST(FrameCrop, ShowsThePartOfTheFrameTheViewSelects) {
    const std::tuple<int32_t, int32_t, ViewState, FrameCrop> cases[] = {
        {640, 480, {8, 0.5, 0.5}, {280, 210, 80, 60}},
        // 213.67 wide from 427.33, 160.33 high from 320.67: each to the nearest pixel.
        {641, 481, at_far_corner(3), {427, 321, 214, 160}},
        // 2.5 wide from 2.5 rounds to 3 from 3, one past the edge: pulled back inside.
        {5, 7, at_far_corner(2), {2, 3, 3, 4}},
        // An eighth of a pixel still shows one pixel, inside the frame.
        {1, 1, at_far_corner(8), {0, 0, 1, 1}},
    };
    for (const auto& [fw, fh, view, crop] : cases) {
        EXPECT_EQ(ints(frame_crop(fw, fh, view)), ints(crop))
            << fw << "x" << fh << " zoom " << view.zoom;
    }
}

TEST(FrameCrop, TheCircleShowsTheMiddleSquareAroundTheViewsCentre) {
    const std::tuple<int32_t, int32_t, ViewState, FrameCrop> cases[] = {
        {640, 480, {1, 0.5, 0.5}, {80, 0, 480, 480}},
        {480, 640, {1, 0.5, 0.5}, {0, 80, 480, 480}},
        {640, 480, {2, 0.25, 0.75}, {40, 240, 240, 240}},
        {640, 480, at_far_corner(4), {500, 360, 120, 120}},
    };
    for (const auto& [fw, fh, view, crop] : cases) {
        EXPECT_EQ(ints(square_crop(frame_crop(fw, fh, view))), ints(crop)) << view.zoom;
    }
    // The marks near the edges keep to the square inside the circle.
    EXPECT_EQ(ints(shape_inner_area({0, 0, 300, 300}, true)), ints(PixelRect{44, 44, 256, 256}));
    EXPECT_EQ(ints(shape_inner_area({0, 0, 300, 200}, false)), ints(PixelRect{0, 0, 300, 200}));
}

TEST(StretchColumns, AMirroredPictureRunsLeftFromItsLastColumn) {
    constexpr PixelRect picture{133, 36, 666, 436};
    EXPECT_EQ(ints(stretch_columns(picture, false)), ints(StretchColumns{133, 533}));
    EXPECT_EQ(ints(stretch_columns(picture, true)), ints(StretchColumns{665, -533}));
}

TEST(StretchRows, APictureUpsideDownRunsUpFromItsLastRowAndThePauseSignSitsTopRight) {
    constexpr PixelRect picture{133, 36, 666, 436};
    EXPECT_EQ(ints(stretch_rows(picture, false)), ints(StretchColumns{36, 400}));
    EXPECT_EQ(ints(stretch_rows(picture, true)), ints(StretchColumns{435, -400}));
    // At 144 DPI: a 24-pixel box 12 in from the corner at x 924, bars 8 wide
    // (7.5 rounded up) 2 and 15 pixels into it.
    const PauseSign sign = pause_sign({0, 54, 960, 594}, 144);
    EXPECT_EQ(ints(sign.bar[0]), ints(PixelRect{926, 66, 934, 90}));
    EXPECT_EQ(ints(sign.bar[1]), ints(PixelRect{939, 66, 947, 90}));
}

TEST(CopyPictureRows, BottomRowFirstOrTopRowFirstMirroredAsShownWithTheFourthByteSet) {
    const uint32_t frame[] = {0x01, 0x02, 0x03, 0x00AABBCC, 0x05, 0x77000006}; // 3 x 2
    constexpr RowOrder up = RowOrder::BottomUp;
    const std::tuple<PictureTurn, RowOrder, std::array<uint32_t, 7>> cases[] = {
        // The word after the bitmap stays untouched.
        {{0, false},
         up,
         {0xFFAABBCC, 0xFF000005, 0xFF000006, 0xFF000001, 0xFF000002, 0xFF000003, 7}},
        {{0, true},
         up,
         {0xFF000006, 0xFF000005, 0xFFAABBCC, 0xFF000003, 0xFF000002, 0xFF000001, 7}},
        // Turned clockwise: 2 x 3, its bottom row (3, 6) first.
        {{1, false},
         up,
         {0xFF000006, 0xFF000003, 0xFF000005, 0xFF000002, 0xFFAABBCC, 0xFF000001, 7}},
        // Top row first, turned and mirrored: (1, 4) then (2, 5), (3, 6).
        {{1, true},
         RowOrder::TopDown,
         {0xFF000001, 0xFFAABBCC, 0xFF000002, 0xFF000005, 0xFF000003, 0xFF000006, 7}},
        {{2, false},
         RowOrder::TopDown,
         {0xFF000006, 0xFF000005, 0xFFAABBCC, 0xFF000003, 0xFF000002, 0xFF000001, 7}},
        {{3, false},
         RowOrder::TopDown,
         {0xFF000003, 0xFF000006, 0xFF000002, 0xFF000005, 0xFF000001, 0xFFAABBCC, 7}},
    };
    for (const auto& [turn, order, rows] : cases) {
        std::array<uint32_t, 8> copied{7, 0, 0, 0, 0, 0, 0, 7}; // a word either side
        copy_picture_rows(reinterpret_cast<uint8_t*>(copied.data() + 1),
                          reinterpret_cast<const uint8_t*>(frame), 3, 2, turn, order);
        EXPECT_EQ(copied[0], 7u);
        const std::array<uint32_t, 7> bitmap{copied[1], copied[2], copied[3], copied[4],
                                             copied[5], copied[6], copied[7]};
        EXPECT_EQ(bitmap, rows) << turn.quarter << turn.mirror;
    }
}

TEST(StatusText, SitsInsideTruncatedMarginsAndEndsAboveTheMiddle) {
    // trunc(34.8) = 34, 401 / 2 = 200, trunc(11.6) = 11; two lines grow upward.
    constexpr PixelRect area{0, 36, 640, 437};
    const PixelRect bounds = status_text_bounds(area, 1.45);
    EXPECT_EQ(ints(bounds), ints(PixelRect{34, 36, 606, 437}));
    EXPECT_EQ(ints(status_text_place(bounds, area, 1.45, 32)), ints(PixelRect{34, 193, 606, 225}));
}

TEST(SaveTipBox, CentredAboveTheBottomScaledForTheDpiAndKeptInsideTheArea) {
    EXPECT_EQ(ints(save_tip_box({0, 36, 640, 396}, 200, 17, 96)),
              ints(PixelRect{212, 359, 428, 384}));
    EXPECT_EQ(ints(save_tip_box({0, 54, 960, 594}, 300, 26, 144)),
              ints(PixelRect{318, 538, 642, 576}));
    EXPECT_EQ(ints(save_tip_box({10, 0, 110, 20}, 150, 17, 96)), ints(PixelRect{10, 0, 110, 20}));
}

TEST(BarsAround, AboveBelowLeftRightOfThePicture) {
    // A picture inset on every side, so that each bar has edges of its own.
    const std::array<PixelRect, 4> bars{
        {{0, 36, 800, 96}, {0, 456, 800, 516}, {0, 96, 133, 456}, {666, 96, 800, 456}}};
    EXPECT_EQ(ints(bars_around({0, 36, 800, 516}, {133, 96, 666, 456})), ints(bars));
}

} // namespace
