#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "capture/capture_codes.h"
#include "capture/format_rules.h"
#include "capture/picture_area.h"
#include "capture/row_copy.h"
#include "field_arrays.h"

namespace {

TEST(ClassifyCaptureError, FollowsTheOrderOfTheRules) {
    const std::tuple<uint32_t, bool, CaptureCode> cases[] = {
        {0x80070005, true, CaptureAccessDenied}, {0xC00D3EA3, true, CaptureBusy},
        {0xC00D3704, false, CaptureBusy},        {0x80070020, false, CaptureBusy},
        {0xC00D3EA2, false, CaptureLost},        {0x80004005, true, CaptureLost},
        {0x80004005, false, CaptureFailed},
    };
    for (const auto& [hr, streamed, code] : cases) {
        EXPECT_EQ(classify_capture_error(int32_t(hr), streamed), code) << std::hex << hr;
    }
    EXPECT_EQ(uint32_t(hresult_from_win32(0)), 0u);
    EXPECT_EQ(uint32_t(hresult_from_win32(0xF12345)), 0x80072345u);
    EXPECT_EQ(uint32_t(hresult_from_win32(0x80004005)), 0x80004005u);
}

TEST(CaptureRules, RefusedFormatsAreRememberedUpToTheBound) {
    EXPECT_TRUE(reader_refuses_format(int32_t(0xC00D36B4)));  // the decoder refused RGB32
    EXPECT_TRUE(reader_refuses_format(int32_t(0xC00D5212)));  // no decoder at all
    EXPECT_FALSE(reader_refuses_format(int32_t(0x80070005))); // denied: no other format helps
    FormatRefusals refused{};
    EXPECT_FALSE(format_is_refused(refused, 0));
    for (uint32_t i = 0; i < 32; ++i) {
        EXPECT_TRUE(format_refuse(refused, 100 + i));
    }
    EXPECT_FALSE(format_refuse(refused, 7)) << "full";
    EXPECT_TRUE(format_is_refused(refused, 100));
    EXPECT_TRUE(format_is_refused(refused, 131));
    EXPECT_FALSE(format_is_refused(refused, 7));
    EXPECT_FALSE(format_is_refused(refused, 132));
}

TEST(FormatRules, RateAndSizeLimits) {
    EXPECT_TRUE(meets_rate(24.9));
    EXPECT_FALSE(meets_rate(frame_rate_from_ratio(24000, 1001)));
    EXPECT_EQ(frame_rate_from_ratio(30, 0), 0.0);
    EXPECT_EQ(frame_rate_from_ratio(4294967295u, 2), 2147483647.5);
    const std::tuple<uint32_t, uint32_t, bool> limits[] = {
        {1920, 1080, true},  {1, 1, true},    {1921, 1080, false},
        {1920, 1081, false}, {0, 480, false}, {640, 0, false},
    };
    for (const auto& [w, h, ok] : limits) {
        EXPECT_EQ(format_within_limits({w, h, 30, 0}), ok) << w << "x" << h;
    }
}

TEST(FormatRules, FirstDifferingRuleDecides) {
    using K = SubtypeKind;
    // {width, height, fps, kind} of the candidate, then of the best so far.
    const std::tuple<uint32_t, uint32_t, double, K, uint32_t, uint32_t, double, K, bool> cases[] = {
        {640, 480, 30, K::Other, 1920, 1080, 15, K::NV12, true}, // smooth rate first
        {1920, 1080, 15, K::NV12, 640, 480, 30, K::Other, false},
        {1920, 1080, 30, K::MJPG, 1280, 720, 30, K::NV12, true}, // then area
        {1280, 720, 30, K::NV12, 1920, 1080, 30, K::MJPG, false},
        {1280, 720, 60, K::YUY2, 1280, 720, 30, K::NV12, true},    // a tie on area: the rate
        {1080, 1920, 25, K::NV12, 1920, 1080, 30, K::MJPG, false}, // same area, other shape
        // A tie on size and rate: NV12, then YUY2 and RGB32, then MJPG, then the rest.
        {640, 480, 30, K::NV12, 640, 480, 30, K::YUY2, true},
        {640, 480, 30, K::RGB32, 640, 480, 30, K::MJPG, true},
        {640, 480, 30, K::YUY2, 640, 480, 30, K::RGB32, false}, // a full tie keeps the earlier
        {640, 480, 30, K::MJPG, 640, 480, 30, K::Other, true},
    };
    for (const auto& [cw, ch, cfps, ck, bw, bh, bfps, bk, beats] : cases) {
        const FormatTraits candidate{cw, ch, cfps, subtype_kind_preference(ck)};
        const FormatTraits best{bw, bh, bfps, subtype_kind_preference(bk)};
        EXPECT_EQ(format_beats(candidate, best), beats)
            << cw << "x" << ch << "@" << cfps << " kind " << int(ck) << " vs kind " << int(bk);
    }
}

TEST(PlanPlainRows, RefusesAnythingThatWouldReadOutsideTheBuffer) {
    const std::tuple<uint64_t, int32_t, int32_t, int32_t, bool, int64_t> cases[] = {
        {2560 * 480, -2560, 640, 480, true, 479 * 2560},
        {2560 * 480 - 1, 2560, 640, 480, false, 0}, // short buffer
        {2560 * 480, 2556, 640, 480, false, 0},     // stride shorter than a row
        {2560 * 480, 2560, 0, 480, false, 0},
        {2560 * 480, 2560, 640, 0, false, 0},
        {UINT32_MAX, INT32_MIN, 640, 480, false, 0}, // |stride| x height beyond any buffer
        {UINT32_MAX, 2560, INT32_MAX, 1, false, 0},  // a row beyond the stride
    };
    for (const auto& [length, stride, width, height, ok, top] : cases) {
        RowSource rows{-1, -1};
        EXPECT_EQ(plan_plain_rows(length, stride, width, height, &rows), ok)
            << length << " " << stride << " " << width << "x" << height;
        if (ok) {
            EXPECT_EQ(std::pair(rows.top_row_offset, rows.step), std::pair(top, int64_t{stride}));
        }
    }
}

TEST(PlanPitchedRows, EveryRowMustLieInsideTheBuffer) {
    const std::tuple<uint64_t, int64_t, int32_t, int32_t, int32_t, bool> cases[] = {
        {2816 * 479 + 2560, 0, 2816, 640, 480, true}, // last row without its padding
        {2816 * 479 + 2559, 0, 2816, 640, 480, false},
        {2560 * 480, 2560 * 479, -2560, 640, 480, true},  // bottom-up
        {2560 * 480, 2560 * 478, -2560, 640, 480, false}, // would start before the buffer
        {2560 * 480, 0, 2556, 640, 480, false},           // pitch shorter than a row
        {2560 * 480, 0, 2560, 0, 480, false},
        {UINT64_MAX, 0, INT32_MAX, 640, INT32_MAX, false}, // beyond any real buffer
    };
    for (const auto& [length, top, pitch, width, height, ok] : cases) {
        RowSource rows{-1, -1};
        EXPECT_EQ(plan_pitched_rows(length, top, pitch, width, height, &rows), ok)
            << length << " " << top << " " << pitch << " " << width << "x" << height;
        if (ok) {
            EXPECT_EQ(std::pair(rows.top_row_offset, rows.step), std::pair(top, int64_t{pitch}));
        }
    }
}

TEST(CopyRows, PacksRowsTopFirstAndDropsPadding) {
    // Three rows of one pixel with 4 bytes of padding each; the first row in
    // memory is the picture's bottom row when the stride is negative.
    const std::vector<uint8_t> padded = {9, 10, 11, 12, 0xEE, 0xEE, 0xEE, 0xEE,
                                         5, 6,  7,  8,  0xEE, 0xEE, 0xEE, 0xEE,
                                         1, 2,  3,  4,  0xEE, 0xEE, 0xEE, 0xEE};
    const std::vector<uint8_t> packed = {9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4};
    const std::tuple<const std::vector<uint8_t>*, int32_t, std::vector<uint8_t>> cases[] = {
        {&padded, -8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {&padded, 8, {9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4}},
        {&packed, 4, {9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4}},
    };
    for (auto [buffer, stride, frame] : cases) {
        RowSource rows;
        ASSERT_TRUE(plan_plain_rows(buffer->size(), stride, 1, 3, &rows));
        std::vector<uint8_t> out(13, 0x55); // the byte after the frame stays untouched
        copy_rows(out.data(), buffer->data(), rows, packed_row_bytes(1), 3);
        frame.push_back(0x55);
        EXPECT_EQ(out, frame) << stride;
    }
}

TEST(CropRows, BeginsAtTheAreasCornerWhicheverWayTheRowsRun) {
    // A 2 x 3 frame whose pixels are numbered 1 to 6 from the top left;
    // bottom-up, its top row lies last in memory. Each area is its last two
    // rows from column x on, followed by a pixel the copy leaves untouched.
    const std::vector<uint32_t> top_down = {1, 2, 3, 4, 5, 6}, bottom_up = {5, 6, 3, 4, 1, 2};
    const std::tuple<const std::vector<uint32_t>*, int32_t, int32_t, std::vector<uint32_t>>
        cases[] = {{&top_down, 8, 1, {4, 6, 0x55}},
                   {&bottom_up, -8, 1, {4, 6, 0x55}},
                   {&top_down, 8, 0, {3, 4, 5, 6, 0x55}}}; // whole rows: one copy
    for (const auto& [buffer, stride, x, picture] : cases) {
        RowSource rows;
        ASSERT_TRUE(plan_plain_rows(24, stride, 2, 3, &rows));
        std::vector<uint32_t> out(picture.size(), 0x55);
        copy_rows(reinterpret_cast<uint8_t*>(out.data()),
                  reinterpret_cast<const uint8_t*>(buffer->data()), crop_rows(rows, x, 1),
                  packed_row_bytes(2 - x), 2);
        EXPECT_EQ(out, picture) << stride << " " << x;
    }
}

TEST(PictureArea, MinimumDisplayApertureFirstThenGeometricCutToTheCodedFrame) {
    using A = VideoArea; // x fraction, x, y fraction, y, width, height
    const A rows_1080{0, 0, 0, 0, 1920, 1080}, inset{0, 8, 0, 4, 1904, 1072};
    // clang-format off
    const std::tuple<std::optional<A>, std::optional<A>, std::array<int32_t, 4>> cases[] = {
        {{}, {}, {0, 0, 1920, 1088}},
        {rows_1080, {}, {0, 0, 1920, 1080}},
        {{}, inset, {8, 4, 1904, 1072}},
        {rows_1080, inset, {0, 0, 1920, 1080}},
        {A{0, 0, 0, 0, 1920, 0}, inset, {8, 4, 1904, 1072}},    // no height: not usable
        {A{0, 0, 0, 0, -4, 1080}, {}, {0, 0, 1920, 1088}},      // nor a negative width
        {A{0x8000, 15, 0x7FFF, 3, 100, 50}, {}, {16, 3, 100, 50}}, // to the nearest pixel
        {A{0, -8, 0, -2, 100, 50}, {}, {0, 0, 92, 48}},         // cut at the top left
        {A{0, 1900, 0, 1080, 100, 50}, {}, {1900, 1080, 20, 8}}, // and at the bottom right
        {A{0, 1820, 0, 1038, 100, 50}, {}, {1820, 1038, 100, 50}},
        {A{0, 1920, 0, 0, 100, 50}, {}, {0, 0, 1920, 1088}},    // wholly outside
        {A{0, 0, 0, 1088, 100, 50}, {}, {0, 0, 1920, 1088}},
    };
    // clang-format on
    for (const auto& [minimum, geometric, picture] : cases) {
        EXPECT_EQ(ints(picture_area(minimum ? &*minimum : nullptr,
                                    geometric ? &*geometric : nullptr, 1920, 1088)),
                  picture)
            << (minimum ? minimum->x : -1) << " " << (minimum ? minimum->width : -1);
    }
}

} // namespace
