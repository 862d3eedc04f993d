#include "settings/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <tuple>

namespace {

Settings parsed(const std::string& text) {
    Settings s;
    settings_parse(s, text.c_str());
    return s;
}

std::string formatted(const Settings& s) {
    char buffer[2048];
    const size_t length = settings_format(s, buffer, sizeof buffer);
    EXPECT_EQ(std::strlen(buffer), length);
    return std::string(buffer, length);
}

const std::string full_text = "version=1\ncamera_id=\\\\?\\usb#vid_046d&id=with=equals\n"
                              "camera_name=Kamera \xC3\xA4\nzoom=3.375000\ncenter_x=0.250000\n"
                              "center_y=0.800000\nwindow_x=-1920\nwindow_y=10\nwindow_w=662\n"
                              "window_h=455\non_top=0\nmirror=1\nrotation=270\ncompact=1\n"
                              "shape=rounded\nopacity=70\ninfo=1\nguides=crosshair\n"
                              "format=3840x2160@30000/1001,MJPG\nsound={0.0.1.00000000}.{a=b}\n";

TEST(SettingsFormat, WritesTheRecordTheReaderTakesBack) {
    // Every field back, a value with "=" included; mirroring is the last line.
    Settings s = parsed(full_text);
    EXPECT_EQ(formatted(s), full_text);
    s.mirror = 5; // any nonzero value is on
    s.compact = 3;
    s.info = -4;
    EXPECT_EQ(formatted(s), full_text);

    settings_parse(s, nullptr);                  // no file: the defaults
    std::strcpy(s.camera_name, "Cam\r\nzoom=8"); // a line break would start a key
    s.window_w = 640;                            // not written without window_valid
    s.on_top = 7;
    // Without mirroring, the compact view or see-through there is no line for
    // them: the file stays as it always was.
    EXPECT_EQ(formatted(s), "version=1\ncamera_id=\ncamera_name=Camzoom=8\nzoom=1.000000\n"
                            "center_x=0.500000\ncenter_y=0.500000\non_top=1\n");
}

TEST(SettingsFormat, LongestRecordFitsAndSmallBuffersAreNeverOverrun) {
    Settings s = parsed("window_x=-2147483648\nwindow_y=-2147483648\nwindow_w=1\nwindow_h=1");
    s.mirror = s.compact = 1;
    s.rotation = 3;
    s.shape = ShapeRounded;
    s.opacity = 70;
    s.info = 1;
    s.guides = GuideCrosshair;
    s.format = {4294967295u, 4294967295u, 4294967295u, 4294967295u, 0xFFFFFFFFu};
    std::memset(s.sound, 's', sizeof s.sound - 1);
    std::memset(s.camera_id, 'i', sizeof s.camera_id - 1);
    std::memset(s.camera_name, 'n', sizeof s.camera_name - 1);
    s.window_w = s.window_h = INT32_MIN;
    const std::string full = formatted(s);
    EXPECT_EQ(full.size(), settings_text_max);
    for (size_t capacity : {size_t{0}, size_t{1}, size_t{10}, full.size(), full.size() + 1}) {
        std::string buffer(capacity + 8, '#');
        EXPECT_EQ(settings_format(s, buffer.data(), capacity), full.size());
        EXPECT_EQ(buffer.substr(capacity), std::string(8, '#')) << capacity;
        const size_t kept = std::min(full.size(), capacity - 1);
        if (capacity > 0) {
            EXPECT_EQ(buffer.substr(0, kept + 1), full.substr(0, kept) + '\0') << capacity;
        }
    }
}

TEST(SettingsFormat, AnUnnormalisedHugeNumberStillEndsItsLine) {
    Settings s;
    settings_reset(s);
    s.view.zoom = 1e300;
    const std::string text = formatted(s);
    const size_t zoom_line = text.find("zoom=");
    const size_t end = text.find('\n', zoom_line);
    EXPECT_EQ(end - zoom_line, 63u); // the 63 bytes the scratch buffer kept
    EXPECT_EQ(text.compare(end + 1, 9, "center_x="), 0);
}

TEST(SettingsParse, KeysAreExactAndBadValuesKeepTheEarlierOne) {
    const std::tuple<std::string, const char*, double, int32_t> cases[] = {
        {"camera_name=A\r\nzoom=2\r\n\r\non_top=0\r\n", "A", 2, 0},
        {"camera_name=A\r\r\n", "A\r", 1, 1},                      // only the CR before the LF goes
        {std::string("zoom=2\nzoom=3\0\nzoom=4\n", 22), "", 3, 1}, // a NUL ends the text
        {"camera_name=first\ncamera_name=", "", 1, 1},
        {"Zoom=2\n zoom=2\nzoom =2\nzoom\nzoom2", "", 1, 1},
        {"zoom=3\nzoom=\nzoom=abc\nzoom=2 \nzoom=2,5\nzoom=nan\nzoom=1e999", "", 3, 1},
        {"zoom=3\nzoom=" + std::string(63, '0') + "2", "", 3, 1}, // 64 bytes
        {"zoom=" + std::string(62, '0') + "2", "", 2, 1},
        {"zoom=20", "", 8, 1},
        {"on_top=0\non_top=2\non_top=-1\non_top=", "", 1, 0},
        {"on_top=0\non_top=1", "", 1, 1},
    };
    for (const auto& [text, name, zoom, on_top] : cases) {
        const Settings s = parsed(text);
        EXPECT_EQ(std::tuple(std::string(s.camera_name), s.view.zoom, s.on_top),
                  std::tuple(std::string(name), zoom, on_top))
            << text;
    }
    // Like on_top, only 0 and 1 count.
    EXPECT_EQ(parsed("mirror=1\nmirror=0").mirror, 0);
    EXPECT_EQ(parsed("mirror=1\nmirror=2\nmirror=-1\nmirror=").mirror, 1);
    EXPECT_EQ(parsed("compact=1\ncompact=0").compact, 0);
    EXPECT_EQ(parsed("compact=1\ncompact=2").compact, 1);
    // Any shape but the two others is the rectangle, which writes no line.
    EXPECT_EQ(parsed("shape=circle").shape, ShapeCircle);
    EXPECT_EQ(parsed("shape=circle\nshape=Circle").shape, ShapeRectangle);
    Settings circle = parsed("shape=circle\nshape=round");
    EXPECT_EQ(formatted(circle).find("shape="), std::string::npos);
    circle.shape = ShapeCircle;
    EXPECT_NE(formatted(circle).find("\non_top=1\nshape=circle\n"), std::string::npos);
    // Only the offered opacities; any other value is the opaque default.
    EXPECT_EQ(parsed("opacity=50\r\n").opacity, 50);
    EXPECT_EQ(parsed("opacity=50\nopacity=60").opacity, 100);
    EXPECT_EQ(parsed("opacity=85\nopacity=").opacity, 100);
    // Any number but zero is the info line on; any other guide is none.
    const std::pair<const char*, std::array<int32_t, 2>> lines[] = {
        {"info=7\nguides=grid", {1, GuideGrid}},
        {"info=1\ninfo=0\nguides=centre", {0, GuideCentre}},
        {"info=-1\ninfo=on\ninfo=\nguides=crosshair\nguides=Grid", {1, GuideNone}},
    };
    for (const auto& [text, fields] : lines) {
        const Settings s = parsed(text);
        EXPECT_EQ((std::array{s.info, s.guides}), fields) << text;
    }
    // Turns are 90, 180 or 270 degrees; any other value is no turn.
    EXPECT_EQ(parsed("rotation=180").rotation, 2);
    EXPECT_EQ(parsed("rotation=90\nrotation=45").rotation, 0);
    EXPECT_EQ(parsed("rotation=90\nrotation=abc").rotation, 0);
    // A format line that is not whole reads as the built-in choice.
    EXPECT_EQ(parsed("format=640x480@30/1,NV12\nformat=640x480@30/1").format.width, 0u);
    EXPECT_EQ(parsed("format=640x480@30/1,YUY2").format.subtype, 0x32595559u);
    // A sound value that is no endpoint id keeps the earlier one.
    EXPECT_STREQ(parsed("sound=a\nsound=a\tb\nsound=" + std::string(257, 'x')).sound, "a");
    double out = 0;
    EXPECT_TRUE(parse_double_value("4.9e-324", 8, &out)); // underflow is still a number
    EXPECT_FALSE(parse_double_value("1e999", 5, &out));   // overflow is not
}

TEST(SettingsParse, IntegersAreDecimalAndFitInt32) {
    const std::tuple<std::string, bool, int32_t> cases[] = {
        {"-2147483648", true, INT32_MIN},
        {"2147483647", true, INT32_MAX},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"0x10", false, 0},
        {std::string(29, '0') + "12", true, 12}, // 31 bytes
        {std::string(30, '0') + "12", false, 0},
    };
    for (const auto& [text, ok, result] : cases) {
        int32_t value = 77;
        EXPECT_EQ(parse_int_value(text.data(), text.size(), &value), ok) << text;
        EXPECT_EQ(value, ok ? result : 77) << text;
    }
}

TEST(SettingsParse, WindowRectangleNeedsAllFourKeysAndAPositiveSize) {
    const std::pair<const char*, std::array<int32_t, 5>> cases[] = {
        {"window_y=2\nwindow_w=3\nwindow_h=4", {}}, // each of the four missing
        {"window_x=1\nwindow_w=3\nwindow_h=4", {}},
        {"window_x=1\nwindow_y=2\nwindow_h=4", {}},
        {"window_x=1\nwindow_y=2\nwindow_w=3", {}},
        {"window_x=1\nwindow_y=2\nwindow_w=0\nwindow_h=4", {}},
        {"window_x=1\nwindow_y=2\nwindow_w=3\nwindow_h=-4", {}},
        {"window_x=bad\nwindow_y=2\nwindow_w=3\nwindow_h=4", {}},
        {"window_x=1\nwindow_y=2\nwindow_w=3\nwindow_h=4\nwindow_w=9\nwindow_w=x", {1, 1, 2, 9, 4}},
    };
    for (const auto& [text, window] : cases) {
        const Settings s = parsed(text);
        EXPECT_EQ((std::array{s.window_valid, s.window_x, s.window_y, s.window_w, s.window_h}),
                  window)
            << text;
    }
}

TEST(CopyCutUtf8, NeverEndsInsideASequence) {
    const std::pair<std::string, const char*> cases[] = {
        {"abcdef\xC3\xA4z", "abcdef"},       // a two-byte character over the limit
        {"abcde\xF0\x9F\x93\xB7x", "abcde"}, // a four-byte one goes whole
        {std::string(10, '\x80'), ""},       // nothing but continuation bytes
    };
    for (const auto& [value, kept] : cases) {
        char field[8];
        copy_cut_utf8(field, sizeof field, value.data(), value.size());
        EXPECT_STREQ(field, kept) << value;
    }
    char field[8];
    copy_cut_utf8(field, sizeof field, "abcdefg\x80", 7); // what follows the value is not read
    EXPECT_STREQ(field, "abcdefg");
    EXPECT_EQ(std::strlen(parsed("camera_id=" + std::string(600, 'a')).camera_id), 511u);
    EXPECT_EQ(std::strlen(parsed("camera_name=" + std::string(600, 'a')).camera_name), 255u);
}

} // namespace
