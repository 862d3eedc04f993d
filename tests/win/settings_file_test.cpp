#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_support.h"

namespace {

struct SettingsFileTest : testing::Test {
    TempFolder appdata;
    ScopedEnvironment env{L"APPDATA", appdata.path.c_str()};
    std::wstring folder = appdata.path + L"\\Tavisko";
    std::wstring file = folder + L"\\settings.txt";
    std::wstring temporary = folder + L"\\settings.tmp";

    static Settings sample() {
        Settings s;
        settings_reset(s);
        std::strcpy(s.camera_id, "\\\\?\\usb#vid_046d&pid_0825#6&1");
        std::strcpy(s.camera_name, "Logitech \xE2\x80\x9CHD\xE2\x80\x9D");
        s.view = {2.25, 0.4, 0.6};
        s.window_valid = 1;
        s.window_x = -1200;
        s.window_y = 40;
        s.window_w = 656;
        s.window_h = 459;
        s.on_top = 0;
        return s;
    }

    static std::string text_of(const Settings& s) {
        char buffer[2048];
        return std::string(buffer, settings_format(s, buffer, sizeof buffer));
    }
};

TEST_F(SettingsFileTest, SaveThenLoadRoundTripsWithExactBytes) {
    const Settings saved = sample();
    settings_save(saved);
    std::string bytes;
    ASSERT_TRUE(read_file_bytes(file, bytes));
    EXPECT_EQ(bytes, text_of(saved));
    EXPECT_FALSE(file_exists(temporary)) << "the temporary file is renamed away";

    Settings loaded;
    std::memset(&loaded, 0x5A, sizeof loaded);
    settings_load(loaded);
    EXPECT_EQ(text_of(loaded), text_of(saved));
    EXPECT_STREQ(loaded.camera_name, saved.camera_name);
    EXPECT_EQ(loaded.window_x, -1200);

    // A second save replaces the file that now exists.
    Settings changed = saved;
    changed.on_top = 1;
    settings_save(changed);
    ASSERT_TRUE(read_file_bytes(file, bytes));
    EXPECT_EQ(bytes, text_of(changed));
}

TEST_F(SettingsFileTest, NoFileLeavesTheDefaults) {
    Settings loaded;
    std::memset(&loaded, 0x5A, sizeof loaded);
    settings_load(loaded);
    Settings defaults;
    settings_reset(defaults);
    EXPECT_EQ(text_of(loaded), text_of(defaults));
}

TEST_F(SettingsFileTest, CreatesOnlyTheTaviskoFolder) {
    const std::wstring missing = appdata.path + L"\\Roaming";
    ScopedEnvironment nested(L"APPDATA", missing.c_str());
    settings_save(sample());
    EXPECT_FALSE(file_exists(missing));

    ASSERT_TRUE(CreateDirectoryW(missing.c_str(), nullptr));
    settings_save(sample());
    EXPECT_TRUE(file_exists(missing + L"\\Tavisko\\settings.txt"));
}

TEST_F(SettingsFileTest, MissingOrOverlongAppdataWritesNothing) {
    wchar_t a[260], b[260], c[260];
    {
        ScopedEnvironment unset(L"APPDATA", nullptr);
        EXPECT_FALSE(settings_paths(a, b, c));
        settings_save(sample());
        Settings loaded;
        settings_load(loaded);
        EXPECT_EQ(loaded.on_top, 1);
        EXPECT_FALSE(file_exists(L"\\Tavisko"));
    }
    for (size_t length : {260u, 261u, 1000u}) {
        const std::wstring value =
            appdata.path + L"\\" + std::wstring(length - appdata.path.size() - 1, L'x');
        ScopedEnvironment overlong(L"APPDATA", value.c_str());
        EXPECT_FALSE(settings_paths(a, b, c)) << length;
        settings_save(sample());
    }
    EXPECT_FALSE(file_exists(folder));
}

TEST_F(SettingsFileTest, PathsAreComposedAndCutAt259Units) {
    wchar_t f[260], s[260], t[260];
    ASSERT_TRUE(settings_paths(f, s, t));
    EXPECT_EQ(std::wstring(f), folder);
    EXPECT_EQ(std::wstring(s), file);
    EXPECT_EQ(std::wstring(t), temporary);

    const std::wstring long_value(250, L'q');
    ScopedEnvironment near_limit(L"APPDATA", long_value.c_str());
    ASSERT_TRUE(settings_paths(f, s, t));
    EXPECT_EQ(std::wstring(f), long_value + L"\\Tavisko");
    EXPECT_EQ(std::wstring(s), (long_value + L"\\Tavisko\\settings.txt").substr(0, 259));
    EXPECT_EQ(std::wstring(t).size(), 259u);

    const std::wstring longest(259, L'q');
    ScopedEnvironment at_limit(L"APPDATA", longest.c_str());
    ASSERT_TRUE(settings_paths(f, s, t));
    EXPECT_EQ(std::wstring(f), longest);
}

TEST_F(SettingsFileTest, RefusedRenameKeepsTheOldFileAndLeavesTheNewText) {
    Settings old_record = sample();
    settings_save(old_record);
    std::string old_bytes;
    ASSERT_TRUE(read_file_bytes(file, old_bytes));

    Settings new_record = sample();
    std::strcpy(new_record.camera_name, "Another camera");
    {
        // Another process reading settings.txt holds it open.
        ScopedHandle holder(CreateFileW(file.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
        settings_save(new_record);
    }
    std::string bytes;
    ASSERT_TRUE(read_file_bytes(file, bytes));
    EXPECT_EQ(bytes, old_bytes);
    ASSERT_TRUE(read_file_bytes(temporary, bytes));
    EXPECT_EQ(bytes, text_of(new_record));

    // The next save, with the file free again, goes through.
    settings_save(new_record);
    ASSERT_TRUE(read_file_bytes(file, bytes));
    EXPECT_EQ(bytes, text_of(new_record));
}

TEST_F(SettingsFileTest, OnlyTheFirst65536BytesAreParsed) {
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    // Padding lines of unknown keys, then a zoom line that the limit cuts
    // after "zoom=2", then lines that are never read.
    std::string text = "camera_name=Far\n";
    const std::string pad = "padding=" + std::string(90, 'p') + "\n";
    while (text.size() + pad.size() < settings_file_max - 6) {
        text += pad;
    }
    text += std::string(settings_file_max - 6 - text.size() - 1, 'x') + "\n";
    ASSERT_EQ(text.size(), settings_file_max - 6);
    text += "zoom=2.75\non_top=0\n";
    ASSERT_TRUE(write_file_bytes(file, text));

    Settings loaded;
    settings_load(loaded);
    EXPECT_STREQ(loaded.camera_name, "Far");
    EXPECT_EQ(loaded.view.zoom, 2.0);
    EXPECT_EQ(loaded.on_top, 1);
}

TEST_F(SettingsFileTest, TolerantReadOfAHandWrittenFile) {
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(write_file_bytes(file,
                                 "\xEF\xBB\xBFversion=1\r\non_top=0\r\nzoom=abc\r\ncenter_x=0.9\r\n"
                                 "zoom=4\r\nwindow_x=10\r\nwindow_y=20\r\nwindow_w=300\r\n"));
    Settings loaded;
    settings_load(loaded);
    EXPECT_EQ(loaded.on_top, 0);
    EXPECT_EQ(loaded.view.zoom, 4.0);
    EXPECT_EQ(loaded.view.center_x, 0.875);
    EXPECT_EQ(loaded.window_valid, 0);
}

} // namespace
