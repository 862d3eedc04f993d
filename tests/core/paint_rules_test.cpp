#include "view/paint_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>
#include <tuple>

#include "view/picture_copy.h"

namespace {

template <typename T> auto ints(const T& v) {
    return std::bit_cast<std::array<int32_t, sizeof(T) / 4>>(v);
}

// The centre pushed to the far edge, as normalising leaves it.
ViewState at_far_corner(double zoom) {
    ViewState v{zoom, 1, 1};
    view_normalize(v);
    return v;
}

TEST(FrameCrop, ShowsThePartOfTheFrameTheViewSelects) {
    const std::tuple<int32_t, int32_t, ViewState, FrameCrop> cases[] = {
        {640, 480, {1, 0.5, 0.5}, {0, 0, 640, 480}},
        {640, 480, {8, 0.5, 0.5}, {280, 210, 80, 60}},
        {640, 480, {8, 0.0625, 0.0625}, {0, 0, 80, 60}},
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

TEST(StretchColumns, AMirroredPictureRunsLeftFromItsLastColumn) {
    const std::tuple<PixelRect, bool, StretchColumns> cases[] = {
        {{133, 36, 666, 436}, false, {133, 533}},
        {{133, 36, 666, 436}, true, {665, -533}},
        {{0, 36, 1, 436}, true, {0, -1}},
    };
    for (const auto& [picture, mirror, columns] : cases) {
        EXPECT_EQ(ints(stretch_columns(picture, mirror)), ints(columns)) << mirror;
    }
}

TEST(CopyPictureRows, BottomRowFirstMirroredAsShownWithTheFourthByteSet) {
    const uint32_t frame[] = {0x01, 0x02, 0x03, 0x00AABBCC, 0x05, 0x77000006}; // 3 x 2
    const std::pair<bool, std::array<uint32_t, 7>> cases[] = {
        // The word after the bitmap stays untouched.
        {false, {0xFFAABBCC, 0xFF000005, 0xFF000006, 0xFF000001, 0xFF000002, 0xFF000003, 7}},
        {true, {0xFF000006, 0xFF000005, 0xFFAABBCC, 0xFF000003, 0xFF000002, 0xFF000001, 7}},
    };
    for (const auto& [mirror, rows] : cases) {
        std::array<uint32_t, 7> copied{0, 0, 0, 0, 0, 0, 7};
        copy_picture_rows(reinterpret_cast<uint8_t*>(copied.data()),
                          reinterpret_cast<const uint8_t*>(frame), 3, 2, mirror);
        EXPECT_EQ(copied, rows) << mirror;
    }
}

TEST(StatusText, SitsInsideTruncatedMarginsAndEndsAboveTheMiddle) {
    const std::tuple<PixelRect, double, int32_t, PixelRect, PixelRect> cases[] = {
        {{0, 36, 640, 436}, 1.0, 16, {24, 36, 616, 436}, {24, 212, 616, 228}},
        {{0, 54, 960, 654}, 1.5, 24, {36, 54, 924, 654}, {36, 318, 924, 342}},
        // trunc(34.8) = 34, 401 / 2 = 200, trunc(11.6) = 11; two lines grow upward.
        {{0, 36, 640, 437}, 1.45, 32, {34, 36, 606, 437}, {34, 193, 606, 225}},
    };
    for (const auto& [area, scale, text_height, want_bounds, want_place] : cases) {
        const PixelRect bounds = status_text_bounds(area, scale);
        EXPECT_EQ(ints(bounds), ints(want_bounds)) << scale;
        EXPECT_EQ(ints(status_text_place(bounds, area, scale, text_height)), ints(want_place))
            << scale;
    }
}

TEST(BarsAround, AboveBelowLeftRightOfThePicture) {
    // Bars left and right, then above and below; the other two are empty.
    const std::tuple<PixelRect, PixelRect, std::array<PixelRect, 4>> cases[] = {
        {{0, 36, 800, 436},
         {133, 36, 666, 436},
         {{{0, 36, 800, 36}, {0, 436, 800, 436}, {0, 36, 133, 436}, {666, 36, 800, 436}}}},
        {{0, 36, 640, 516},
         {0, 96, 640, 456},
         {{{0, 36, 640, 96}, {0, 456, 640, 516}, {0, 96, 0, 456}, {640, 96, 640, 456}}}},
    };
    for (const auto& [area, picture, bands] : cases) {
        EXPECT_EQ(ints(bars_around(area, picture)), ints(bands));
    }
}

} // namespace
