#include "view/guides.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "field_arrays.h"
#include "settings/settings.h"

namespace {

using Box = std::array<int32_t, 4>;

// A 640 x 480 frame at zoom 2 panned to (260, 180): the crop 320 x 240 from
// (100, 60), shown twice its size from (10, 20), upright or turned.
PicturePlace zoomed(int32_t quarter, bool mirror) {
    const PixelRect picture =
        quarter % 2 == 0 ? PixelRect{10, 20, 650, 500} : PixelRect{10, 20, 490, 660};
    return {640, 480, {100, 60, 320, 240}, picture, {quarter, mirror}};
}

TEST(GuideStrokes, TheCrosshairMarksTheFramesCentreTurnedMirroredZoomedAndPanned) {
    // {quarter, mirror, the frame's upright line, its level line, inner circle}
    const std::tuple<int32_t, bool, Box, Box, Box> cases[] = {
        {0, false, {450, -100, 451, 860}, {-190, 380, 1090, 381}, {210, 140, 690, 620}},
        {0, true, {210, -100, 211, 860}, {-430, 380, 850, 381}, {-30, 140, 450, 620}},
        {1, false, {-350, 460, 610, 461}, {130, -180, 131, 1100}, {-110, 220, 370, 700}},
        {1, true, {-110, 460, 850, 461}, {370, -180, 371, 1100}, {130, 220, 610, 700}},
        {2, false, {210, -340, 211, 620}, {-430, 140, 850, 141}, {-30, -100, 450, 380}},
        {2, true, {450, -340, 451, 620}, {-190, 140, 1090, 141}, {210, -100, 690, 380}},
        {3, false, {-110, 220, 850, 221}, {370, -420, 371, 860}, {130, -20, 610, 460}},
        {3, true, {-350, 220, 610, 221}, {130, -420, 131, 860}, {-110, -20, 370, 460}},
    };
    for (const auto& [quarter, mirror, upright, level, inner] : cases) {
        const GuideStrokes s = guide_strokes(GuideCrosshair, zoomed(quarter, mirror), 96);
        EXPECT_EQ(std::tuple(s.strokes, s.circles, s.width), std::tuple(2, 2, 1));
        EXPECT_EQ(std::tuple(ints(s.stroke[0]), ints(s.stroke[1]), ints(s.circle[0])),
                  std::tuple(upright, level, inner))
            << quarter << " " << mirror;
    }
    // The outer circle's radius is half the shorter side: 240 frame pixels.
    EXPECT_EQ(ints(guide_strokes(GuideCrosshair, zoomed(0, false), 96).circle[1]),
              (Box{-30, -100, 930, 860}));
}

TEST(GuideStrokes, TheGridLiesAtTheThirdsAndTheCentreMarkKeepsItsSizeInUnits) {
    // One to one: thirds of 640 between pixels, of 360 on them.
    const PicturePlace whole{640, 360, {0, 0, 640, 360}, {0, 36, 640, 396}, {0, false}};
    // The circle: the middle square of 640 x 480 spread over 300 x 300.
    const PicturePlace circle{640, 480, {80, 0, 480, 480}, {0, 0, 300, 300}, {0, false}};
    const std::tuple<PicturePlace, std::array<Box, 4>> cases[] = {
        {whole,
         {{{213, 36, 214, 396}, {0, 156, 640, 157}, {426, 36, 427, 396}, {0, 276, 640, 277}}}},
        {circle,
         {{{83, 0, 84, 300}, {-50, 100, 350, 101}, {216, 0, 217, 300}, {-50, 200, 350, 201}}}},
    };
    for (const auto& [place, lines] : cases) {
        const GuideStrokes s = guide_strokes(GuideGrid, place, 96);
        ASSERT_EQ(std::pair(s.strokes, s.circles), std::pair(4, 0));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(ints(s.stroke[i]), lines[i]) << place.picture.right << " line " << i;
        }
    }
    // At 144 DPI, zoom 2 as at 96: strokes 2 pixels wide, arms 15 pixels out.
    const GuideStrokes mark = guide_strokes(GuideCentre, zoomed(0, false), 144);
    EXPECT_EQ(std::tuple(mark.strokes, mark.circles, mark.width), std::tuple(2, 0, 2));
    EXPECT_EQ(ints(mark.stroke[0]), (Box{435, 380, 466, 382}));
    EXPECT_EQ(ints(mark.stroke[1]), (Box{450, 365, 452, 396}));
    EXPECT_EQ(ints(stroke_outline(mark.stroke[1], 2)), (Box{448, 363, 454, 398}));
    for (const int32_t kind : {0, 4, -1}) {
        const GuideStrokes none = guide_strokes(kind, whole, 96);
        EXPECT_EQ(std::pair(none.strokes, none.circles), std::pair(0, 0)) << kind;
    }
}

} // namespace
