#include "capture/camera_controls.h"
#include "layout/camera_controls_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "field_arrays.h"

namespace {

TEST(CameraControls, TheTableNamesEachControlAndItsProperty) {
    std::wstring labels;
    std::wstring properties;
    for (const ControlKind& k : control_kinds) {
        labels += std::wstring(k.label) + L"|";
        properties += (k.interface_id == ControlInterface::VideoProcAmp ? L"V" : L"C") +
                      std::to_wstring(k.property) + L" ";
    }
    EXPECT_EQ(labels, L"Brightness|Contrast|Hue|Saturation|Sharpness|Gamma|White balance|"
                      L"Backlight compensation|Gain|Pan|Tilt|Roll|Zoom|Exposure|Iris|Focus|");
    EXPECT_EQ(properties, L"V0 V1 V2 V3 V4 V5 V7 V8 V9 C0 C1 C2 C3 C4 C5 C6 ");
}

TEST(CameraControls, SliderPositionsFollowTheRangeAndItsStep) {
    // min, max, step; usable, slider step, last position, the values at
    // positions -1, 1 and the last; a value and its nearest position.
    const std::array<int32_t, 11> cases[] = {
        {0, 255, 1, 1, 1, 255, 0, 1, 255, 128, 128},
        {-13, -1, 1, 1, 1, 12, -13, -12, -1, -20, 0}, // below the range: clamped
        {0, 250, 5, 1, 5, 50, 0, 5, 250, 12, 2},      // nearest: 10, not 15
        {0, 10, 3, 1, 3, 4, 0, 3, 10, 10, 4},         // 0 3 6 9 10: max is a position
        {0, 10, 3, 1, 3, 4, 0, 3, 10, 8, 3},
        {0, 10, 2, 1, 2, 5, 0, 2, 10, 5, 3},           // halfway goes up
        {0, 100, 10, 1, 10, 10, 0, 10, 100, 1000, 10}, // above the range: clamped
        {0, 4, 0, 1, 1, 4, 0, 1, 4, 3, 3},             // step 0 counts as 1
        {0, 4, -2, 1, 1, 4, 0, 1, 4, 3, 3},            // so does a negative one
        {50, 50, 1, 1, 1, 0, 50, 50, 50, 0, 0},        // a single value
        {10, 0, 1, 0, 1, 0, 0, 0, 0, 5, 0},            // inverted: no slider
        // Too many steps: coarser ones, and the extremes still reached.
        {INT32_MIN, INT32_MAX, 1, 1, 65536, 65536, INT32_MIN, -2147418112, INT32_MAX, 0, 32768},
    };
    for (const auto& [min, max, step, usable, slider_step, last, at_minus, at_one, at_last, value,
                      position] : cases) {
        const ControlRange range{min, max, step, min, control_flag_manual};
        const ControlRow row = control_row(3, range, value, control_flag_manual);
        EXPECT_EQ(
            (std::array{int32_t(control_range_usable(range)), row.slider_step, row.last_position,
                        control_value_at(row, -1), control_value_at(row, 1),
                        control_value_at(row, row.last_position), control_position_of(row, value)}),
            (std::array{usable, slider_step, last, at_minus, at_one, at_last, position}))
            << min << ".." << max << "/" << step;
    }
}

TEST(CameraControls, AutoComesFromTheCapabilitiesAndTheMode) {
    // caps, flags read; has Auto, ticked, the Defaults mode.
    const std::array<int32_t, 5> cases[] = {
        {3, 1, 1, 1, 1}, {3, 2, 1, 0, 1}, {2, 2, 0, 0, 2}, {1, 1, 1, 1, 1}, {0, 0, 0, 0, 2}};
    for (const auto& [caps, flags, has_auto, ticked, default_flags] : cases) {
        const ControlRange range{0, 10, 1, 5, caps};
        EXPECT_EQ((std::array{int32_t(control_has_auto(range)),
                              int32_t(control_row(0, range, 5, flags).automatic),
                              control_default_flags(range)}),
                  (std::array{has_auto, ticked, default_flags}))
            << caps << " " << flags;
    }
}

TEST(CameraControls, TheControlListParsesEachWellFormedEntryOnce) {
    using Offer = std::array<int32_t, 6>; // kind, min, max, step, default, caps
    const std::tuple<const wchar_t*, std::vector<Offer>> cases[] = {
        {L"brightness:0..255/1=128,focus:0..250/5=0auto",
         {{0, 0, 255, 1, 128, 2}, {15, 0, 250, 5, 0, 3}}},
        {L"exposure:-13..-1/1=-6auto", {{13, -13, -1, 1, -6, 3}}},
        {L"whitebalance:2800..6500/100=4600auto,backlight:0..1/1=0",
         {{6, 2800, 6500, 100, 4600, 3}, {7, 0, 1, 1, 0, 2}}},
        {L"gain:-2147483648..2147483647/0=0", {{8, INT32_MIN, INT32_MAX, 0, 0, 2}}},
        {L"hue:0..1/1=0,hue:5..9/1=5", {{2, 0, 1, 1, 0, 2}}},
        {L",,zoom:1..5/1=1,brightnes:0..1/1=0,", {{12, 1, 5, 1, 1, 2}}},
        {L"", {}},
        {L"gain:0..1/1", {}},
        {L"gain:0..1/1=0 auto", {}},
        {L"gain:0..1/1=0automatic", {}},
        {L"gain:0-1/1=0", {}},
        {L"gain:0..2147483648/1=0", {}},
        {L"pan:--1..1/1=0", {}},
        {L"tilt:..1/1=0", {}},
        {L"Iris:0..1/1=0", {}},
    };
    for (const auto& [text, expected] : cases) {
        ControlOffer offers[control_kind_count];
        const int32_t count = parse_control_list(text, offers);
        std::vector<Offer> got;
        for (int32_t i = 0; i < count; ++i) {
            got.push_back(ints(offers[i]));
        }
        EXPECT_EQ(got, expected) << std::wstring(text).size();
    }
}

TEST(CameraControls, AWaitingSetGivesWayToTheNextOfItsControl) {
    ControlRequests requests{};
    for (const ControlSet& set : {ControlSet{13, 5, 2},
                                  {0, 10, 2},
                                  {13, 6, 2},
                                  {0, 11, 2},
                                  {0, 12, 1},
                                  {16, 1, 2},
                                  {-1, 1, 2}}) {
        control_request_set(requests, set);
    }
    std::vector<std::array<int32_t, 3>> taken;
    for (ControlSet set; control_take_set(requests, &set);) {
        taken.push_back(ints(set));
    }
    EXPECT_EQ(taken, (std::vector<std::array<int32_t, 3>>{{0, 12, 1}, {13, 6, 2}}));
}

TEST(CameraControlsLayout, RowsAndTheDefaultsButtonScaleWithTheDpi) {
    using Row = std::array<int32_t, 16>; // name, slider, value, Auto: x, y, width, height
    EXPECT_EQ(ints(controls_row_places(0, 96)),
              (Row{12, 18, 150, 16, 170, 13, 200, 26, 378, 18, 48, 16, 434, 18, 56, 16}));
    EXPECT_EQ(ints(controls_row_places(2, 96)),
              (Row{12, 74, 150, 16, 170, 69, 200, 26, 378, 74, 48, 16, 434, 74, 56, 16}));
    EXPECT_EQ(ints(controls_row_places(2, 144)),
              (Row{18, 111, 225, 24, 255, 103, 300, 39, 567, 111, 72, 24, 651, 111, 84, 24}));
    using Window = std::array<int32_t, 6>; // client width, height; Defaults x, y, width, height
    EXPECT_EQ(ints(controls_window_places(3, 96)), (Window{502, 142, 402, 104, 88, 26}));
    EXPECT_EQ(ints(controls_window_places(3, 144)), (Window{753, 213, 603, 156, 132, 39}));
    EXPECT_EQ(ints(controls_window_places(0, 96)), (Window{502, 52, 0, 0, 0, 0}));
    EXPECT_EQ(ints(controls_window_places(0, 144)), (Window{753, 78, 0, 0, 0, 0}));
    using Place = std::array<int32_t, 4>; // the note: in place of no rows, beside Defaults
    EXPECT_EQ(ints(controls_note_place(0, 96)), (Place{12, 18, 478, 16}));
    EXPECT_EQ(ints(controls_note_place(0, 144)), (Place{18, 27, 717, 24}));
    EXPECT_EQ(ints(controls_note_place(3, 96)), (Place{12, 109, 382, 16}));
    EXPECT_EQ(ints(controls_note_place(3, 144)), (Place{18, 163, 573, 24}));
}

} // namespace
