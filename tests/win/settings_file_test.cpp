#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <tuple>

#include "test_support.h"

namespace {

// What loads without a usable file.
const char* const defaults =
    "version=1\ncamera_id=\ncamera_name=\nzoom=1.000000\ncenter_x=0.500000\n"
    "center_y=0.500000\non_top=1\n";

struct SettingsFileTest : testing::Test {
    TempFolder appdata;
    std::wstring folder = appdata.path + L"\\Tavisko";
    std::wstring file = folder + L"\\settings.txt";
    std::wstring temporary = folder + L"\\settings.tmp";

    void SetUp() override { SetEnvironmentVariableW(L"APPDATA", appdata.path.c_str()); }

    static Settings sample(const char* camera_name) {
        Settings s;
        settings_parse(s, "camera_id=\\\\?\\usb#vid_046d&pid_0825#6&1\nzoom=2.25\ncenter_x=0.4\n"
                          "center_y=0.6\nwindow_x=-1200\nwindow_y=40\nwindow_w=656\nwindow_h=459\n"
                          "on_top=0\n");
        std::strcpy(s.camera_name, camera_name);
        return s;
    }
    static std::string text_of(const Settings& s) {
        char buffer[2048];
        return std::string(buffer, settings_format(s, buffer, sizeof buffer));
    }
    std::string bytes_of(const std::wstring& path) {
        std::string bytes;
        EXPECT_TRUE(read_file_bytes(path, bytes));
        return bytes;
    }
    std::string loaded_text() {
        Settings loaded;
        std::memset(&loaded, 0x5A, sizeof loaded);
        settings_load(loaded);
        return text_of(loaded);
    }
};

TEST_F(SettingsFileTest, SaveThenLoadRoundTripsAHeldFileIsKeptOrReplacedAndOnly64KiBAreRead) {
    EXPECT_EQ(loaded_text(), defaults) << "no file";

    const Settings first = sample("Logitech \xE2\x80\x9CHD\xE2\x80\x9D");
    settings_save(first);
    EXPECT_EQ(bytes_of(file), text_of(first));
    EXPECT_FALSE(file_exists(temporary)) << "the temporary file is renamed away";
    EXPECT_EQ(loaded_text(), text_of(first));

    // Another program reading settings.txt (a virus scanner, an indexer)
    // holds it open for a while and does not share deletion, which refuses
    // the rename: the file is replaced once freed within half a second, else kept.
    const std::tuple<DWORD, const char*, const char*, bool> holds[] = {
        {1000, "Held", "Logitech \xE2\x80\x9CHD\xE2\x80\x9D", true},
        {150, "Freed", "Freed", false}};
    for (const auto& [held_ms, saved, kept, left_temporary] : holds) {
        std::promise<bool> opened;
        std::jthread holder([&, held_ms] {
            OwnedHandle held(CreateFileW(file.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
            opened.set_value(bool(held));
            Sleep(held_ms);
        });
        ASSERT_TRUE(opened.get_future().get());
        settings_save(sample(saved));
        EXPECT_EQ(bytes_of(file), text_of(sample(kept))) << held_ms;
        EXPECT_EQ(file_exists(temporary), left_temporary) << held_ms;
    }

    // Only the first 65536 bytes are parsed: an unknown key pads the file so
    // that the limit cuts the zoom line after "zoom=2"; the line after it is
    // never read.
    std::string text = "camera_name=Far\npadding=";
    text += std::string(settings_file_max - 6 - text.size() - 1, 'p') + "\n";
    text += "zoom=2.75\non_top=0\n";
    ASSERT_TRUE(write_file_bytes(file, text));
    Settings loaded;
    settings_load(loaded);
    EXPECT_STREQ(loaded.camera_name, "Far");
    EXPECT_EQ(loaded.view.zoom, 2.0);
    EXPECT_EQ(loaded.on_top, 1);
}

TEST_F(SettingsFileTest, UnusableAppdataWritesNothing) {
    // Under a folder that does not exist, so that any folder made shows.
    const std::wstring roaming = appdata.path + L"\\Roaming";
    // An existing folder of n units with a file where the settings path, cut
    // to 259 units, would lead: "...\Tavisko\settings.tx".
    const std::string bait = "zoom=2.5\n";
    auto existing = [&](size_t n) {
        const std::wstring path =
            appdata.path + L"\\" + std::wstring(n - appdata.path.size() - 1, L'y');
        std::filesystem::create_directories(path + L"\\Tavisko");
        write_file_bytes(path + L"\\Tavisko\\settings.tx", bait);
        return path;
    };
    // clang-format off
    struct Case { const char* what; bool set; std::wstring value; bool paths; };
    const Case cases[] = {
        {"unset", false, L"", false},
        {"parent missing: only the last folder is made", true, roaming, true},
        {"238 units: the settings paths take all 259", true, existing(238), true},
        {"239 units: they would be cut", true, existing(239), false},
        {"260 units: APPDATA does not fit", true,
         roaming + L"\\" + std::wstring(259 - roaming.size(), L'x'), false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SetEnvironmentVariableW(L"APPDATA", c.set ? c.value.c_str() : nullptr);
        wchar_t f[settings_path_units], s[settings_path_units], t[settings_path_units];
        EXPECT_EQ(settings_paths(f, s, t), c.paths) << c.what;
        EXPECT_TRUE(!c.paths || std::wstring(s) == c.value + L"\\Tavisko\\settings.txt") << c.what;
        EXPECT_EQ(loaded_text(), defaults) << c.what;
        settings_save(sample("x"));
    }
    EXPECT_FALSE(file_exists(roaming));
    EXPECT_FALSE(file_exists(folder));
    EXPECT_FALSE(file_exists(L"\\Tavisko"));
    EXPECT_EQ(bytes_of(cases[2].value + L"\\Tavisko\\settings.txt"), text_of(sample("x")));
    EXPECT_EQ(bytes_of(cases[3].value + L"\\Tavisko\\settings.tx"), bait);
    EXPECT_FALSE(file_exists(cases[3].value + L"\\Tavisko\\settings.tm"));
}

} // namespace
