#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

Settings parsed(const std::string& text) {
    Settings s;
    settings_parse(s, text.c_str());
    return s;
}

std::string formatted(const Settings& s) {
    char buffer[2048];
    const size_t length = settings_format(s, buffer, sizeof buffer);
    EXPECT_LT(length, sizeof buffer);
    EXPECT_EQ(std::strlen(buffer), length);
    return std::string(buffer, length);
}

const char* const default_text = "version=1\ncamera_id=\ncamera_name=\nzoom=1.000000\n"
                                 "center_x=0.500000\ncenter_y=0.500000\non_top=1\n";

TEST(SettingsFormat, DefaultRecordIsNinetyThreeBytesInSevenLines) {
    Settings s;
    settings_reset(s);
    const std::string text = formatted(s);
    EXPECT_EQ(text, default_text);
    EXPECT_EQ(text.size(), 93u);
}

TEST(SettingsFormat, WritesWindowLinesOnlyWhenValidAndDropsLineBreaks) {
    Settings s;
    settings_reset(s);
    std::strcpy(s.camera_id, "\\\\?\\usb#vid_046d\r\n#x");
    std::strcpy(s.camera_name, "Cam\nzoom=8");
    s.view = {2.25, 0.3, 0.7};
    s.window_valid = 1;
    s.window_x = -1920;
    s.window_y = 10;
    s.window_w = 662;
    s.window_h = 455;
    s.on_top = 7;
    EXPECT_EQ(formatted(s), "version=1\ncamera_id=\\\\?\\usb#vid_046d#x\ncamera_name=Camzoom=8\n"
                            "zoom=2.250000\ncenter_x=0.300000\ncenter_y=0.700000\n"
                            "window_x=-1920\nwindow_y=10\nwindow_w=662\nwindow_h=455\non_top=1\n");
}

TEST(SettingsFormat, LongestRecordFitsAndSmallBuffersAreNeverOverrun) {
    Settings s;
    settings_reset(s);
    std::memset(s.camera_id, 'i', sizeof s.camera_id - 1);
    std::memset(s.camera_name, 'n', sizeof s.camera_name - 1);
    s.view = {1.5, 0.5, 0.5};
    s.window_valid = 1;
    s.window_x = s.window_y = INT32_MIN;
    s.window_w = s.window_h = INT32_MIN;
    s.on_top = 0;
    const std::string full = formatted(s);
    EXPECT_LE(full.size(), settings_text_max);

    for (size_t capacity :
         {size_t{0}, size_t{1}, size_t{10}, size_t{600}, full.size(), full.size() + 1}) {
        std::string buffer(capacity + 8, '#');
        const size_t length = settings_format(s, buffer.data(), capacity);
        EXPECT_EQ(length, full.size());
        EXPECT_EQ(buffer.substr(capacity), std::string(8, '#')) << capacity;
        if (capacity > 0) {
            const size_t kept = std::min(length, capacity - 1);
            EXPECT_EQ(buffer.substr(0, kept), full.substr(0, kept));
            EXPECT_EQ(buffer[kept], '\0');
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
    EXPECT_EQ(parsed(text).view.zoom, 8.0);
}

TEST(SettingsParse, ReadsWhatTheWriterWrites) {
    Settings s;
    settings_reset(s);
    std::strcpy(s.camera_id, "id=with=equals");
    std::strcpy(s.camera_name, "Kamera \xC3\xA4");
    s.view = {3.375, 0.25, 0.8};
    s.window_valid = 1;
    s.window_x = -5;
    s.window_y = -7;
    s.window_w = 800;
    s.window_h = 600;
    s.on_top = 0;
    const Settings r = parsed(formatted(s));
    EXPECT_STREQ(r.camera_id, s.camera_id);
    EXPECT_STREQ(r.camera_name, s.camera_name);
    EXPECT_EQ(r.view.zoom, 3.375);
    EXPECT_EQ(r.view.center_x, 0.25);
    EXPECT_EQ(r.view.center_y, 0.8);
    EXPECT_EQ(r.window_valid, 1);
    EXPECT_EQ(r.window_x, -5);
    EXPECT_EQ(r.window_y, -7);
    EXPECT_EQ(r.window_w, 800);
    EXPECT_EQ(r.window_h, 600);
    EXPECT_EQ(r.on_top, 0);
}

TEST(SettingsParse, LineEndsEmptyLinesAndNul) {
    const std::string lf = "camera_name=A\nzoom=2\n\non_top=0";
    const std::string crlf = "camera_name=A\r\nzoom=2\r\n\r\non_top=0\r\n";
    for (const std::string& text : {lf, crlf}) {
        const Settings s = parsed(text);
        EXPECT_STREQ(s.camera_name, "A");
        EXPECT_EQ(s.view.zoom, 2.0);
        EXPECT_EQ(s.on_top, 0);
    }
    // Only the one CR before the LF is dropped.
    EXPECT_STREQ(parsed("camera_name=A\r\r\n").camera_name, "A\r");

    std::string with_nul = "zoom=2\nzoom=3";
    with_nul += '\0';
    with_nul += "\nzoom=4\n";
    Settings s;
    settings_parse(s, with_nul.data());
    EXPECT_EQ(s.view.zoom, 3.0);

    settings_parse(s, nullptr);
    EXPECT_EQ(formatted(s), default_text);
    EXPECT_EQ(formatted(parsed("")), default_text);
}

TEST(SettingsParse, KeysAreExactAndValuesKeepEquals) {
    struct Case {
        const char* text;
        const char* name;
        double zoom;
    } cases[] = {
        {"camera_name=a=b", "a=b", 1},
        {"camera_name==x", "=x", 1},
        {"Zoom=2", "", 1},
        {" zoom=2", "", 1},
        {"zoom =2", "", 1},
        {"=2", "", 1},
        {"zoom", "", 1},
        {"camera_name", "", 1},
        {"version=7\nzoom=2", "", 2},
        {"zoom=2\nversion=1", "", 2},
        {"camera_name=first\ncamera_name=second", "second", 1},
        {"camera_name=x\ncamera_name=", "", 1},
    };
    for (const Case& c : cases) {
        const Settings s = parsed(c.text);
        EXPECT_STREQ(s.camera_name, c.name) << c.text;
        EXPECT_EQ(s.view.zoom, c.zoom) << c.text;
    }
}

TEST(SettingsParse, NumberRejectionRules) {
    struct Case {
        const char* text;
        double zoom;
    } cases[] = {
        {"zoom=", 1},          {"zoom=abc", 1},   {"zoom=2 ", 1},  {"zoom= 2", 2},
        {"zoom=\t2.5", 2.5},   {"zoom=+3", 3},    {"zoom=nan", 1}, {"zoom=inf", 1},
        {"zoom=-inf", 1},      {"zoom=1e999", 1}, {"zoom=20", 8},  {"zoom=2,5", 1},
        {"zoom=3\nzoom=x", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parsed(c.text).view.zoom, c.zoom) << c.text;
    }
    // Values are 1 to 63 bytes long.
    EXPECT_EQ(parsed("zoom=" + std::string(62, '0') + "2").view.zoom, 2.0);
    EXPECT_EQ(parsed("zoom=" + std::string(63, '0') + "2").view.zoom, 1.0);
    double out = 42;
    EXPECT_TRUE(parse_double_value("0", 1, &out));
    EXPECT_EQ(out, 0.0);
    EXPECT_TRUE(parse_double_value("4.9e-324", 8, &out));
    EXPECT_GT(out, 0.0);
    out = 42;
    EXPECT_FALSE(parse_double_value("1.5x", 4, &out));
    EXPECT_EQ(out, 42.0);

    struct IntCase {
        const char* value;
        bool ok;
        int32_t result;
    } ints[] = {
        {"0", true, 0},
        {"-2147483648", true, INT32_MIN},
        {"2147483647", true, INT32_MAX},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {" 12", true, 12},
        {"+12", true, 12},
        {"12 ", false, 0},
        {"1.0", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"0x10", false, 0},
    };
    for (const IntCase& c : ints) {
        int32_t value = 77;
        EXPECT_EQ(parse_int_value(c.value, std::strlen(c.value), &value), c.ok) << c.value;
        EXPECT_EQ(value, c.ok ? c.result : 77) << c.value;
    }
    int32_t value = 0;
    const std::string longest = std::string(29, '0') + "12";
    EXPECT_TRUE(parse_int_value(longest.c_str(), 31, &value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(parse_int_value(("0" + longest).c_str(), 32, &value));
}

TEST(SettingsParse, OnTopAcceptsOnlyZeroOrOne) {
    struct Case {
        const char* text;
        int32_t on_top;
    } cases[] = {
        {"on_top=0", 0},  {"on_top=1", 1},           {"on_top=2", 1},
        {"on_top=-1", 1}, {"on_top=0\non_top=2", 0}, {"on_top=", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parsed(c.text).on_top, c.on_top) << c.text;
    }
}

TEST(SettingsParse, WindowRectangleNeedsAllFourKeysAndAPositiveSize) {
    struct Case {
        const char* text;
        int32_t valid, x, y, w, h;
    } cases[] = {
        {"window_x=-100\nwindow_y=-20\nwindow_w=640\nwindow_h=480", 1, -100, -20, 640, 480},
        {"window_x=1\nwindow_y=2\nwindow_w=3", 0, 0, 0, 0, 0},
        {"window_x=1\nwindow_y=2\nwindow_w=0\nwindow_h=4", 0, 0, 0, 0, 0},
        {"window_x=1\nwindow_y=2\nwindow_w=3\nwindow_h=-4", 0, 0, 0, 0, 0},
        {"window_x=1\nwindow_y=2\nwindow_w=3\nwindow_h=2147483648", 0, 0, 0, 0, 0},
        {"window_x=1\nwindow_y=2\nwindow_w=3\nwindow_h=4\nwindow_w=bad", 1, 1, 2, 3, 4},
        {"window_x=1\nwindow_y=2\nwindow_w=3\nwindow_h=4\nwindow_w=9", 1, 1, 2, 9, 4},
        {"window_x=bad\nwindow_y=2\nwindow_w=3\nwindow_h=4", 0, 0, 0, 0, 0},
        {"Window_x=1\nwindow_y=2\nwindow_w=3\nwindow_h=4", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const Settings s = parsed(c.text);
        EXPECT_EQ(s.window_valid, c.valid) << c.text;
        EXPECT_EQ(s.window_x, c.x) << c.text;
        EXPECT_EQ(s.window_y, c.y) << c.text;
        EXPECT_EQ(s.window_w, c.w) << c.text;
        EXPECT_EQ(s.window_h, c.h) << c.text;
    }
}

TEST(SettingsParse, CutsLongTextsOutsideUtf8Sequences) {
    const std::string id(600, 'a');
    EXPECT_EQ(std::string(parsed("camera_id=" + id).camera_id), id.substr(0, 511));

    // Byte 255 is the second byte of a two-byte character starting at 254:
    // the name is cut back to 254 bytes.
    std::string name(254, 'n');
    name += "\xC3\xA4tail";
    EXPECT_EQ(std::string(parsed("camera_name=" + name).camera_name), name.substr(0, 254));

    // A four-byte character straddling the limit is dropped whole.
    name = std::string(253, 'n') + "\xF0\x9F\x93\xB7" + "x";
    EXPECT_EQ(std::string(parsed("camera_name=" + name).camera_name), name.substr(0, 253));

    // Exactly the limit is kept whole, without UTF-8 validation.
    name = std::string(254, 'n') + "\xC3";
    EXPECT_EQ(std::string(parsed("camera_name=" + name).camera_name), name);

    // Only continuation bytes: the cut walks down to nothing.
    name = std::string(300, '\x80');
    EXPECT_STREQ(parsed("camera_name=" + name).camera_name, "");
}

} // namespace
