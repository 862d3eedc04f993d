#include "layout/toolbar_layout.h"

#include <gtest/gtest.h>

namespace {

void expect_place(const ControlPlace& p, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.width, width);
    EXPECT_EQ(p.height, height);
}

void expect_rect(const PixelRect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    struct Case {
        int32_t a;
        int32_t b;
        int32_t c;
        int32_t result;
    } cases[] = {
        {6, 120, 96, 8},
        {4, 120, 96, 5},
        {28, 120, 96, 35},
        {52, 120, 96, 65},
        {300, 120, 96, 375},
        {36, 120, 96, 45},
        {80, 120, 96, 100},
        {6, 144, 96, 9},
        {4, 144, 96, 6},
        {28, 144, 96, 42},
        {52, 144, 96, 78},
        {300, 144, 96, 450},
        {36, 144, 96, 54},
        {80, 144, 96, 120},
        {0, 120, 96, 0},
        {96, 96, 96, 96},
        {-6, 120, 96, -8},
        {-4, 120, 96, -5},
        {6, -120, 96, -8},
        {6, 120, -96, -8},
        {-6, -120, 96, 8},
        {190, 120, 96, 238},
        {30, 120, 96, 38},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {-1, 1, 3, 0},
        {-2, 1, 3, -1},
        // The product does not fit in 32 bits; the quotient does.
        {100000, 30000, 60000, 50000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " x " << c.b << " / " << c.c);
        EXPECT_EQ(mul_div(c.a, c.b, c.c), c.result);
    }
}

TEST(MulDiv, ZeroDivisorGivesMinusOne) {
    struct Case {
        int32_t a;
        int32_t b;
    } cases[] = {{6, 120}, {0, 0}, {-6, 120}, {1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " x " << c.b << " / 0");
        EXPECT_EQ(mul_div(c.a, c.b, 0), -1);
    }
}

TEST(FontHeight, IsTheNegatedPointSizeAtTheDpi) {
    struct Case {
        int32_t points;
        uint32_t dpi;
        int32_t height;
    } cases[] = {
        {9, 96, -12},
        {10, 96, -13},
        {10, 144, -20},
        {9, 144, -18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << " pt at " << c.dpi);
        EXPECT_EQ(font_height(c.points, c.dpi), c.height);
    }
}

TEST(ToolbarHeight, ScalesWithTheDpi) {
    struct Case {
        uint32_t dpi;
        int32_t height;
    } cases[] = {{96, 36}, {120, 45}, {144, 54}, {192, 72}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dpi " << c.dpi);
        EXPECT_EQ(toolbar_height(c.dpi), c.height);
    }
}

struct ToolbarCase {
    uint32_t dpi;
    int32_t client_width;
    int32_t combo_field;
    int32_t margin; // combo x
    int32_t combo_y;
    int32_t combo_width;
    int32_t combo_height;
    int32_t button_y;
    int32_t button; // glyph button width and height
    int32_t label_width;
    int32_t zoom_out_x;
    int32_t label_x;
    int32_t zoom_in_x;
    int32_t reset_x;
    int32_t pin_x;
};

void check_toolbar(const ToolbarCase& c) {
    SCOPED_TRACE(testing::Message() << "dpi " << c.dpi << " width " << c.client_width);
    const ToolbarPlaces p = toolbar_places(c.dpi, c.client_width, c.combo_field);
    expect_place(p.combo, c.margin, c.combo_y, c.combo_width, c.combo_height, "combo");
    expect_place(p.zoom_out, c.zoom_out_x, c.button_y, c.button, c.button, "zoom out");
    EXPECT_EQ(p.zoom_label.x, c.label_x) << "zoom label";
    EXPECT_EQ(p.zoom_label.width, c.label_width) << "zoom label";
    EXPECT_EQ(p.zoom_label.height, c.button) << "zoom label";
    expect_place(p.zoom_in, c.zoom_in_x, c.button_y, c.button, c.button, "zoom in");
    expect_place(p.reset, c.reset_x, c.button_y, c.button, c.button, "reset");
    expect_place(p.pin, c.pin_x, c.button_y, c.button, c.button, "pin");
}

TEST(ToolbarPlaces, At96Dpi) {
    const ToolbarCase cases[] = {
        {96, 640, 22, 6, 7, 448, 300, 4, 28, 52, 462, 490, 542, 574, 606},
        {96, 1000, 22, 6, 7, 808, 300, 4, 28, 52, 822, 850, 902, 934, 966},
        // 272 is the narrowest width at which the combo box is not clamped.
        {96, 273, 22, 6, 7, 81, 300, 4, 28, 52, 95, 123, 175, 207, 239},
        {96, 272, 22, 6, 7, 80, 300, 4, 28, 52, 94, 122, 174, 206, 238},
        {96, 200, 22, 6, 7, 80, 300, 4, 28, 52, 94, 122, 174, 206, 166},
    };
    for (const ToolbarCase& c : cases) {
        check_toolbar(c);
    }
}

TEST(ToolbarPlaces, At120Dpi) {
    const ToolbarCase cases[] = {
        {120, 640, 25, 8, 10, 399, 375, 5, 35, 65, 417, 452, 517, 557, 597},
        {120, 1000, 25, 8, 10, 759, 375, 5, 35, 65, 777, 812, 877, 917, 957},
        {120, 300, 25, 8, 10, 100, 375, 5, 35, 65, 118, 153, 218, 258, 257},
    };
    for (const ToolbarCase& c : cases) {
        check_toolbar(c);
    }
}

TEST(ToolbarPlaces, At144Dpi) {
    const ToolbarCase cases[] = {
        {144, 640, 30, 9, 12, 352, 450, 6, 42, 78, 373, 415, 493, 541, 589},
        {144, 1000, 30, 9, 12, 712, 450, 6, 42, 78, 733, 775, 853, 901, 949},
        {144, 300, 30, 9, 12, 120, 450, 6, 42, 78, 141, 183, 261, 309, 249},
    };
    for (const ToolbarCase& c : cases) {
        check_toolbar(c);
    }
}

TEST(ToolbarPlaces, LeavesOneGapBeforeThePinWhenNotClamped) {
    struct Case {
        uint32_t dpi;
        int32_t client_width;
        int32_t gap;
    } cases[] = {
        {96, 640, 4}, {96, 272, 4}, {120, 640, 5}, {120, 1000, 5}, {144, 640, 6}, {144, 1000, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dpi " << c.dpi << " width " << c.client_width);
        const ToolbarPlaces p = toolbar_places(c.dpi, c.client_width, 22);
        EXPECT_EQ(p.pin.x - (p.reset.x + p.reset.width), c.gap);
    }
}

TEST(SettingsButtonPlace, CentresBelowTheMiddleOfTheArea) {
    struct Case {
        PixelRect area;
        uint32_t dpi;
        ControlPlace place;
    } cases[] = {
        {{0, 36, 640, 396}, 96, {225, 224, 190, 30}},
        {{0, 54, 960, 594}, 144, {337, 336, 285, 45}},
        {{0, 45, 800, 495}, 120, {281, 280, 238, 38}},
        // Odd sizes: (641 - 190) / 2 = 225.5 and 361 / 2 = 180.5.
        {{0, 36, 641, 397}, 96, {225, 224, 190, 30}},
        // The area need not start at the left edge of the client.
        {{10, 36, 650, 396}, 96, {235, 224, 190, 30}},
        // Narrower than the button: (101 - 190) / 2 = -44.5 truncates to -44.
        {{0, 36, 101, 396}, 96, {-44, 224, 190, 30}},
        {{0, 36, 100, 396}, 96, {-45, 224, 190, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "area " << c.area.left << "," << c.area.top << "," << c.area.right << ","
                     << c.area.bottom << " dpi " << c.dpi);
        const ControlPlace p = settings_button_place(c.area, c.dpi);
        expect_place(p, c.place.x, c.place.y, c.place.width, c.place.height, "settings button");
    }
}

TEST(VideoAreaOf, StartsBelowTheToolbarButNotBelowTheClient) {
    struct Case {
        PixelRect client;
        uint32_t dpi;
        PixelRect area;
    } cases[] = {
        {{0, 0, 640, 396}, 96, {0, 36, 640, 396}},  {{0, 0, 640, 396}, 144, {0, 54, 640, 396}},
        {{0, 0, 640, 396}, 120, {0, 45, 640, 396}}, {{0, 0, 640, 36}, 96, {0, 36, 640, 36}},
        {{0, 0, 640, 20}, 96, {0, 20, 640, 20}},    {{0, 0, 640, 0}, 144, {0, 0, 640, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "client height " << c.client.bottom << " dpi " << c.dpi);
        const PixelRect a = video_area_of(c.client, c.dpi);
        expect_rect(a, c.area.left, c.area.top, c.area.right, c.area.bottom);
        EXPECT_LE(a.top, a.bottom);
    }
}

} // namespace
