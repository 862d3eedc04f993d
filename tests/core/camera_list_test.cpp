#include "capture/camera_list.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(PickCamera, ByIdThenByNameThenTheFirst) {
    // Entry 4 repeats the id of entry 1; entry 3's name did not fit.
    const CameraEntry list[] = {
        {"usb#A", "Cam"}, {"usb#B", "Other"}, {"usb#C", "Cam"}, {"usb#D", ""}, {"usb#B", "Second"},
    };
    const std::tuple<int32_t, const char*, const char*, int32_t> cases[] = {
        {0, "", "", -1},           // an empty list has no first camera
        {5, "", "", 0},            // nothing remembered
        {5, "usb#C", "Cam", 2},    // the id wins over an earlier name
        {5, "usb#B", "Second", 1}, // the first of equal ids
        {5, "usb#X", "Cam", 0},    // no id match: the first with the name
        {5, "", "Other", 1},       // only a name remembered
        {5, "usb#X", "", -1},      // the empty name of entry 3 is no match
        {5, "", "cam", -1},        // exact bytes, neither case nor prefixes
        {5, "usb#", "Cam ", -1},
        {2, "usb#C", "", -1}, // only the counted entries
        {4, "", "Second", -1},
    };
    for (const auto& [count, id, name, index] : cases) {
        EXPECT_EQ(pick_camera(list, count, id, name), index)
            << count << " \"" << id << "\" \"" << name << "\"";
    }
}

} // namespace
