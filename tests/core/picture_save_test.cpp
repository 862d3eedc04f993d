#include "view/picture_save.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

TEST(PictureName, IsTheLocalTimeWithACounterBeforeTheEndWithinItsBounds) {
    const LocalTime time{2026, 12, 7, 14, 45, 39};
    const LocalTime early{987, 1, 2, 3, 4, 5};
    const std::tuple<LocalTime, int32_t, size_t, bool, std::wstring> cases[] = {
        {time, 1, picture_name_units, true, L"Tavisko 2026-12-07 14.45.39.png"},
        {time, 2, picture_name_units, true, L"Tavisko 2026-12-07 14.45.39 (2).png"},
        {time, 999, picture_name_units, true, L"Tavisko 2026-12-07 14.45.39 (999).png"},
        {early, 1, picture_name_units, true, L"Tavisko 0987-01-02 03.04.05.png"},
        {time, 1000, picture_name_units, false, L""},
        {time, 0, picture_name_units, false, L""},
        // 31 units and the end: 32 hold it, 31 do not.
        {time, 1, 32, true, L"Tavisko 2026-12-07 14.45.39.png"},
        {time, 1, 31, false, L""},
        {time, 12, 35, false, L""},
        {time, 1, 0, false, L""},
    };
    for (const auto& [at, counter, capacity, made, name] : cases) {
        std::wstring buffer(picture_name_units + 4, L'#');
        EXPECT_EQ(format_picture_name(at, counter, buffer.data(), capacity), made) << counter;
        if (capacity > 0) {
            EXPECT_EQ(buffer.substr(0, buffer.find(L'\0')), name) << counter << " " << capacity;
        }
        EXPECT_EQ(buffer.find_first_not_of(L'#', capacity), std::wstring::npos) << capacity;
    }
}

TEST(SaveTip, NamesTheSavedFileOrTheFailingCodeCutAtTheCapacity) {
    const wchar_t* name = L"Tavisko 2026-12-07 14.45.39.png";
    const std::tuple<int32_t, size_t, std::wstring> cases[] = {
        {0, save_tip_units, L"Saved Tavisko 2026-12-07 14.45.39.png"},
        {int32_t(0x8007A0BFu), save_tip_units, L"Could not save the picture (0x8007A0BF)"},
        {5, save_tip_units, L"Could not save the picture (0x00000005)"},
        {0, 9, L"Saved Ta"},
        {0, 1, L""},
    };
    for (const auto& [error, capacity, tip] : cases) {
        std::wstring buffer(save_tip_units + 4, L'#');
        format_save_tip(name, error, buffer.data(), capacity);
        EXPECT_EQ(buffer.substr(0, buffer.find(L'\0')), tip) << error << " " << capacity;
        EXPECT_EQ(buffer.find_first_not_of(L'#', capacity), std::wstring::npos) << capacity;
    }
}

} // namespace
