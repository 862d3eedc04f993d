#include "capture/camera_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <vector>

namespace {

struct Listed {
    const char* id;
    const char* name;
};

std::vector<CameraEntry> make_list(std::initializer_list<Listed> items) {
    std::vector<CameraEntry> list;
    for (const Listed& item : items) {
        CameraEntry entry{};
        std::snprintf(entry.id, sizeof entry.id, "%s", item.id);
        std::snprintf(entry.name, sizeof entry.name, "%s", item.name);
        list.push_back(entry);
    }
    return list;
}

struct PickCase {
    const char* id;
    const char* name;
    int32_t index;
};

void check_picks(const std::vector<CameraEntry>& list, const PickCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const PickCase& c = cases[i];
        SCOPED_TRACE(testing::Message() << "id \"" << c.id << "\" name \"" << c.name << "\"");
        EXPECT_EQ(pick_camera(list.data(), int32_t(list.size()), c.id, c.name), c.index);
    }
}

TEST(PickCamera, NothingToPickFromAnEmptyList) {
    const std::vector<CameraEntry> list = make_list({{"A", "Cam"}});
    struct Case {
        int32_t count;
        const char* id;
        const char* name;
    } cases[] = {
        {0, "", ""}, {0, "A", "Cam"}, {0, "", "Cam"}, {-1, "", ""}, {-5, "A", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "count " << c.count << " id \"" << c.id << "\" name \"" << c.name << "\"");
        EXPECT_EQ(pick_camera(list.data(), c.count, c.id, c.name), -1);
    }
}

TEST(PickCamera, ByIdThenByNameThenTheFirst) {
    const std::vector<CameraEntry> list = make_list({
        {"usb#A", "Cam"},
        {"usb#B", "Other"},
        {"usb#C", "Cam"},
    });
    const PickCase cases[] = {
        // The id decides when it matches.
        {"usb#A", "", 0},
        {"usb#B", "", 1},
        {"usb#C", "", 2},
        {"usb#C", "Cam", 2}, // entry 0 has the name, the id wins
        {"usb#B", "Cam", 1},
        {"usb#A", "Nothing", 0},
        // No id match: the first entry with the name.
        {"usb#X", "Cam", 0},
        {"usb#X", "Other", 1},
        // No id match and no name to fall back on, or no name match.
        {"usb#X", "", -1},
        {"usb#X", "Nothing", -1},
        // Nothing remembered: the first camera.
        {"", "", 0},
        // Only a name remembered.
        {"", "Other", 1},
        {"", "Cam", 0},
        {"", "Nothing", -1},
        // Exact bytes: case and prefixes do not match.
        {"", "cam", -1},
        {"usb#X", "cam", -1},
        {"usb#b", "", -1},
        {"USB#A", "Other", 1},
        {"usb#", "", -1},
        {"usb#AA", "", -1},
        {"", "Ca", -1},
        {"", "Cam ", -1},
    };
    check_picks(list, cases, std::size(cases));
}

TEST(PickCamera, TheFirstOfEqualEntriesWins) {
    const std::vector<CameraEntry> list = make_list({
        {"usb#1", "Webcam"},
        {"usb#2", "Webcam"},
        {"usb#2", "Second"},
        {"usb#4", ""},
    });
    const PickCase cases[] = {
        {"usb#9", "Webcam", 0},
        {"usb#2", "", 1},
        {"usb#2", "Second", 1},
        {"usb#9", "Second", 2},
        {"usb#4", "", 3},
        {"", "Webcam", 0},
        // An entry whose name did not fit is found by its id only.
        {"usb#9", "", -1},
    };
    check_picks(list, cases, std::size(cases));
}

TEST(PickCamera, ComparesNamesAsUtf8Bytes) {
    const std::vector<CameraEntry> list = make_list({
        {"usb#1", "Kamera"},
        {"usb#2", "Kamera \xC3\xA9"},  // precomposed e-acute
        {"usb#3", "Kamera e\xCC\x81"}, // e and a combining acute
    });
    const PickCase cases[] = {
        {"", "Kamera \xC3\xA9", 1},      {"", "Kamera e\xCC\x81", 2},
        {"usb#9", "Kamera \xC3\xA9", 1}, {"", "Kamera \xC3\x89", -1}, // upper-case E-acute
        {"", "Kamera \xC3", -1},
    };
    check_picks(list, cases, std::size(cases));
}

TEST(PickCamera, LooksOnlyAtTheCountedEntries) {
    const std::vector<CameraEntry> list = make_list({
        {"usb#A", "Cam"},
        {"usb#B", "Other"},
        {"usb#C", "Last"},
    });
    struct Case {
        int32_t count;
        const char* id;
        const char* name;
        int32_t index;
    } cases[] = {
        {2, "usb#C", "", -1}, {2, "usb#C", "Cam", 0},    {2, "", "Last", -1},
        {3, "usb#C", "", 2},  {1, "usb#B", "Other", -1}, {1, "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "count " << c.count << " id \"" << c.id << "\" name \"" << c.name << "\"");
        EXPECT_EQ(pick_camera(list.data(), c.count, c.id, c.name), c.index);
    }
}

} // namespace
