#include "capture/camera_format.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

constexpr uint32_t nv12 = 0x3231564E, yuy2 = 0x32595559, rgb32 = 22, mjpg = 0x47504A4D,
                   h264 = 0x34363248;

std::wstring row(const CameraFormat& f) {
    wchar_t text[80];
    format_row_text(f, text, 80);
    return text;
}

TEST(CameraFormat, SettingsValueIsReadBackOnlyWhenWhole) {
    const std::tuple<std::string, bool, CameraFormat> cases[] = {
        {"3840x2160@30000/1001,MJPG", true, {3840, 2160, 30000, 1001, mjpg}},
        {"640x480@30/1,RGB32", true, {640, 480, 30, 1, rgb32}},
        {"640x480@0/0,HEVC", true, {640, 480, 0, 0, 0x43564548}}, // a type without a rate
        {"1x1@4294967295/1,0000AbCf", true, {1, 1, 4294967295u, 1, 0xABCF}},
        {"640x480@30/1,mjpg", false, {}},
        {"640x480@30/1,ABCDEFG", false, {}}, // 7 hex digits
        {"640x480@30/1,ABCDEFGH", false, {}},
        {"640x480@30/1,abcdefgh", false, {}},
        {"0x480@30/1,NV12", false, {}},
        {"640x0@30/1,NV12", false, {}},
        {"4294967296x480@30/1,NV12", false, {}},
        {"640x480@30,NV12", false, {}},
        {"640x480@30/1NV12", false, {}},
        {"640x480@30/1,", false, {}},
        {"-640x480@30/1,NV12", false, {}},
        {"640 x480@30/1,NV12", false, {}},
        {"00000000640x480@30/1,NV12", false, {}}, // 11 digits
    };
    for (const auto& [text, ok, expected] : cases) {
        CameraFormat format{7, 7, 7, 7, 7};
        EXPECT_EQ(parse_camera_format(text.data(), text.size(), &format), ok) << text;
        const CameraFormat want = ok ? expected : CameraFormat{7, 7, 7, 7, 7};
        EXPECT_EQ(std::tie(format.width, format.height, format.rate_numerator,
                           format.rate_denominator, format.subtype),
                  std::tie(want.width, want.height, want.rate_numerator, want.rate_denominator,
                           want.subtype))
            << text;
    }
    char text[64];
    EXPECT_EQ(camera_format_text({1280, 720, 30, 1, 0x3F}, text, sizeof text), 22u);
    EXPECT_STREQ(text, "1280x720@30/1,0000003F");
}

TEST(CameraFormat, MenuRowsAreDistinctAndOrdered) {
    // In device order, with the same type twice (30/1 and 60/2 are one rate).
    const CameraFormat native[] = {
        {640, 480, 30, 1, yuy2},         {1920, 1080, 30, 1, mjpg}, {3840, 2160, 30000, 1001, mjpg},
        {1920, 1080, 30, 1, nv12},       {1920, 1080, 60, 2, mjpg}, {1920, 1080, 60, 1, h264},
        {640, 480, 30, 1, 0x30313050},   {640, 480, 30, 1, rgb32},  {480, 640, 30, 1, nv12},
        {640, 480, 15, 1, nv12},         {0, 0, 30, 1, nv12},       {640, 480, 0, 0, nv12},
        {3840, 2160, 30000, 1001, mjpg}, // again
        {320, 240, 30, 0, nv12},         // no rate
    };
    FormatList list{};
    for (const CameraFormat& f : native) {
        format_list_add(list, f);
    }
    const wchar_t* expected[] = {
        L"3840 \u00D7 2160, 29.97 fps, MJPG",
        L"1920 \u00D7 1080, 60 fps, H264",
        L"1920 \u00D7 1080, 30 fps, NV12",
        L"1920 \u00D7 1080, 30 fps, MJPG",
        L"480 \u00D7 640, 30 fps, NV12",
        L"640 \u00D7 480, 30 fps, RGB32",
        L"640 \u00D7 480, 30 fps, YUY2",
        L"640 \u00D7 480, 30 fps, 30313050",
        L"640 \u00D7 480, 15 fps, NV12",
        L"640 \u00D7 480, NV12",
        L"320 \u00D7 240, NV12",
    };
    ASSERT_EQ(list.count, 11);
    for (int32_t i = 0; i < list.count; ++i) {
        EXPECT_EQ(row(list.formats[i]), expected[i]) << i;
    }
    EXPECT_EQ(format_list_find(list, {1920, 1080, 120, 4, mjpg}), 3);
    EXPECT_EQ(format_list_find(list, {1920, 1080, 25, 1, mjpg}), -1);
    EXPECT_EQ(row({320, 240, 15, 2, nv12}), L"320 \u00D7 240, 7.5 fps, NV12");
}

TEST(CameraFormat, AFullListKeepsTheFirstInMenuOrder) {
    FormatList list{};
    for (uint32_t i = 1; i <= 100; ++i) {
        format_list_add(list, {i, 10, 30, 1, nv12});
    }
    EXPECT_EQ(list.count, 96);
    EXPECT_EQ(list.formats[0].width, 100u);
    EXPECT_EQ(list.formats[95].width, 5u);
    format_list_add(list, {2, 10, 30, 1, nv12}); // after the last kept row: left out
    EXPECT_EQ(list.formats[95].width, 5u);
}

TEST(CameraFormat, AutomaticNamesWhatItChoseAndTextIsCut) {
    wchar_t text[48];
    automatic_row_text({1280, 720, 30, 1, nv12}, text, 48);
    EXPECT_STREQ(text, L"Automatic (1280 \u00D7 720, 30 fps, NV12)");
    automatic_row_text({}, text, 48);
    EXPECT_STREQ(text, L"Automatic");
    automatic_row_text({1280, 720, 30, 1, nv12}, text, 12);
    EXPECT_STREQ(text, L"Automatic (");
}

} // namespace
