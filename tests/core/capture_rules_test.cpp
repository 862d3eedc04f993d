#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "capture/capture_codes.h"
#include "capture/format_rules.h"
#include "capture/row_copy.h"

namespace {

TEST(ClassifyCaptureError, FollowsTheOrderOfTheRules) {
    struct Case {
        uint32_t hr;
        bool streamed;
        CaptureCode code;
    } cases[] = {
        {0x80070005, false, CaptureAccessDenied}, {0x80070005, true, CaptureAccessDenied},
        {0xC00D3EA3, false, CaptureBusy},         {0xC00D3704, true, CaptureBusy},
        {0x80070020, false, CaptureBusy},         {0xC00D3EA2, false, CaptureLost},
        {0xC00D3EA2, true, CaptureLost},          {0x80004005, true, CaptureLost},
        {0x80004005, false, CaptureFailed},       {0xC00D36B2, false, CaptureFailed},
        {0x80070002, false, CaptureFailed},       {0x00000000, false, CaptureFailed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classify_capture_error(int32_t(c.hr), c.streamed), c.code)
            << std::hex << c.hr << " " << c.streamed;
    }
}

TEST(HresultFromWin32, KeepsLowBitsInTheWin32Facility) {
    EXPECT_EQ(uint32_t(hresult_from_win32(0)), 0u);
    EXPECT_EQ(uint32_t(hresult_from_win32(8)), 0x80070008u);
    EXPECT_EQ(uint32_t(hresult_from_win32(0x12345)), 0x80072345u);
    EXPECT_EQ(uint32_t(hresult_from_win32(0x80004005)), 0x80004005u);
}

TEST(FormatRules, RateThresholdIsJustBelow25) {
    EXPECT_TRUE(meets_rate(frame_rate_from_ratio(25, 1)));
    EXPECT_TRUE(meets_rate(frame_rate_from_ratio(30000, 1001)));
    EXPECT_TRUE(meets_rate(24.9));
    EXPECT_FALSE(meets_rate(frame_rate_from_ratio(24, 1)));
    EXPECT_FALSE(meets_rate(frame_rate_from_ratio(24000, 1001)));
    EXPECT_EQ(frame_rate_from_ratio(30, 0), 0.0);
    EXPECT_EQ(frame_rate_from_ratio(4294967295u, 1), 4294967295.0);
}

TEST(FormatRules, LimitsAreInclusive) {
    struct Case {
        uint32_t w, h;
        bool ok;
    } cases[] = {{1920, 1080, true},  {1, 1, true},        {1921, 1080, false},
                 {1920, 1081, false}, {0, 480, false},     {640, 0, false},
                 {1920, 1200, false}, {3840, 2160, false}, {4294967295u, 1, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(format_within_limits({c.w, c.h, 30, 0}), c.ok) << c.w << "x" << c.h;
    }
}

TEST(FormatRules, FirstDifferingRuleDecides) {
    struct Case {
        FormatTraits candidate, best;
        bool beats;
    } cases[] = {
        {{640, 480, 30, 3}, {1920, 1080, 15, 0}, true}, // smooth rate first
        {{1920, 1080, 15, 0}, {640, 480, 30, 3}, false},
        {{1920, 1080, 30, 2}, {1280, 720, 30, 0}, true},   // then area
        {{1280, 720, 60, 1}, {1280, 720, 30, 0}, true},    // then rate
        {{1280, 720, 15, 0}, {640, 480, 20, 0}, true},     // both slow: area
        {{640, 480, 30, 0}, {640, 480, 30, 1}, true},      // then subtype
        {{640, 480, 30, 1}, {640, 480, 30, 1}, false},     // a tie keeps the earlier
        {{1920, 1080, 30, 1}, {1080, 1920, 30, 1}, false}, // same area, other shape
    };
    for (const Case& c : cases) {
        EXPECT_EQ(format_beats(c.candidate, c.best), c.beats)
            << c.candidate.width << "x" << c.candidate.height << "@" << c.candidate.fps;
    }
    EXPECT_EQ(subtype_kind_preference(SubtypeKind::NV12), 0);
    EXPECT_EQ(subtype_kind_preference(SubtypeKind::YUY2), 1);
    EXPECT_EQ(subtype_kind_preference(SubtypeKind::RGB32), 1);
    EXPECT_EQ(subtype_kind_preference(SubtypeKind::MJPG), 2);
    EXPECT_EQ(subtype_kind_preference(SubtypeKind::Other), 3);
}

TEST(PlanPlainRows, RefusesAnythingThatWouldReadOutsideTheBuffer) {
    struct Case {
        uint64_t length;
        int32_t stride, width, height;
        bool ok;
        int64_t top;
    } cases[] = {
        {2560 * 480, 2560, 640, 480, true, 0},
        {2560 * 480, -2560, 640, 480, true, 479 * 2560},
        {2560 * 480 - 1, 2560, 640, 480, false, 0}, // short buffer
        {2560 * 480 - 1, -2560, 640, 480, false, 0},
        {2560 * 480, 2556, 640, 480, false, 0}, // stride shorter than a row
        {2560 * 480, -2556, 640, 480, false, 0},
        {2560 * 480, 0, 640, 480, false, 0},
        {3000 * 480, 3000, 640, 480, true, 0}, // padded stride
        {2560 * 480, 2560, 0, 480, false, 0},  // zero sizes
        {2560 * 480, 2560, 640, 0, false, 0},
        {2560 * 480, 2560, -640, 480, false, 0}, // sizes that read as negative
        {2560 * 480, 2560, 640, -480, false, 0},
        {UINT32_MAX, INT32_MIN, 640, 480, false, 0}, // |stride| x height beyond any buffer
        {UINT32_MAX, 2560, INT32_MAX, 1, false, 0},  // a row beyond the stride
    };
    for (const Case& c : cases) {
        RowSource rows{-1, -1};
        EXPECT_EQ(plan_plain_rows(c.length, c.stride, c.width, c.height, &rows), c.ok)
            << c.length << " " << c.stride << " " << c.width << "x" << c.height;
        if (c.ok) {
            EXPECT_EQ(rows.top_row_offset, c.top);
            EXPECT_EQ(rows.step, c.stride);
        }
    }
}

TEST(PlanPitchedRows, EveryRowMustLieInsideTheBuffer) {
    struct Case {
        uint64_t length;
        int64_t top;
        int32_t pitch, width, height;
        bool ok;
    } cases[] = {
        {2816 * 480, 0, 2816, 640, 480, true},        // padded pitch
        {2816 * 479 + 2560, 0, 2816, 640, 480, true}, // last row without its padding
        {2816 * 479 + 2559, 0, 2816, 640, 480, false},
        {2816 * 240, 0, 2816, 640, 480, false},           // claims twice what it holds
        {2560 * 480, 2560 * 479, -2560, 640, 480, true},  // bottom-up
        {2560 * 480, 2560 * 478, -2560, 640, 480, false}, // would start before the buffer
        {2560 * 480, 2560, 2560, 640, 480, false},        // would end after it
        {2560 * 480, 0, 2556, 640, 480, false},           // pitch shorter than a row
        {2560 * 480, -1, 2560, 640, 1, false},
        {2560 * 480, 0, 2560, 0, 480, false},
        {2560 * 480, 0, 2560, 640, -1, false},
        {UINT64_MAX, 0, INT32_MAX, 640, INT32_MAX, false}, // beyond any real buffer
    };
    for (const Case& c : cases) {
        RowSource rows{};
        EXPECT_EQ(plan_pitched_rows(c.length, c.top, c.pitch, c.width, c.height, &rows), c.ok)
            << c.length << " " << c.top << " " << c.pitch << " " << c.width << "x" << c.height;
    }
}

TEST(CopyRows, PacksRowsTopFirstAndDropsPadding) {
    // 3 x 4 pixels, bottom-up, with 8 bytes of padding per row.
    const int32_t width = 3, height = 4, pitch = 3 * 4 + 8;
    std::vector<uint8_t> buffer(size_t(pitch) * height, 0xEE);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width * 4; ++x) {
            buffer[size_t(height - 1 - y) * pitch + x] = uint8_t(y * 16 + x);
        }
    }
    RowSource rows;
    ASSERT_TRUE(plan_plain_rows(buffer.size(), -pitch, width, height, &rows));
    std::vector<uint8_t> out(size_t(width) * 4 * height + 1, 0x55);
    copy_rows(out.data(), buffer.data(), rows, packed_row_bytes(width), height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width * 4; ++x) {
            EXPECT_EQ(out[size_t(y) * width * 4 + x], uint8_t(y * 16 + x));
        }
    }
    EXPECT_EQ(out.back(), 0x55);
}

} // namespace
