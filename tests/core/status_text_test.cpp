#include "view/info_line.h"
#include "view/status_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

TEST(FormatStatusText, GivesEachStateItsTextCutAtTheCapacity) {
    const size_t full = status_text_units;
    const int32_t code = int32_t(0xC00D3E85u);
    const std::tuple<StatusState, const wchar_t*, int32_t, size_t, bool, std::wstring> cases[] = {
        {StatusNoCamera, L"Cam", 0, full, true, L"No camera found. Plug one in."},
        {StatusWaiting, nullptr, 0, full, true, L"Waiting for \u2026"},
        {StatusAccessDenied, L"Cam", 0, full, true, L"Camera access is off for Tavisko."},
        {StatusInUse, L"Cam", 0, full, true, L"Cam is in use by another app. Retrying\u2026"},
        {StatusFailed, L"Cam", code, full, true, L"Cam failed (0xC00D3E85). Retrying\u2026"},
        {StatusFailed, L"Cam", 5, full, true, L"Cam failed (0x00000005). Retrying\u2026"},
        // The states that show the picture, on either side of those with text.
        {StatusStreaming, L"Cam", 0, full, false, L""},
        {StatusState(8), L"Cam", 0, full, false, L""},
        // The ellipsis is one unit: 17 units hold all of "Waiting for Cam…".
        {StatusWaiting, L"Cam", 0, 17, true, L"Waiting for Cam\u2026"},
        {StatusWaiting, L"Cam", 0, 16, true, L"Waiting for Cam"},
        {StatusNoCamera, L"Cam", 0, 1, true, L""},
        {StatusNoCamera, L"Cam", 0, 0, false, L""},
    };
    for (const auto& [status, name, error, capacity, shown, text] : cases) {
        std::wstring buffer(status_text_units + 8, L'#');
        EXPECT_EQ(format_status_text(status, name, error, buffer.data(), capacity), shown)
            << status << " " << capacity;
        // Nothing is written past the capacity, and the text ends inside it.
        EXPECT_EQ(buffer.find_first_not_of(L'#', capacity), std::wstring::npos) << capacity;
        if (capacity > 0) {
            EXPECT_EQ(buffer.substr(0, buffer.find(L'\0')), text) << status << " " << capacity;
            EXPECT_EQ(status_shows_text(status), shown) << status;
        }
    }
}

} // namespace

TEST(FormatInfoLine, NamesTheDeliveryAndStaysInsideItsBuffer) {
    const uint32_t nv12 = 0x3231564E;
    const std::tuple<InfoFigures, size_t, bool, std::wstring> cases[] = {
        {{1920, 1080, nv12, 5994, 5994, 0, false},
         128,
         true,
         L"1920 \u00d7 1080 NV12 \u00b7 59.94 fps \u00b7 shown 59.94 \u00b7 0 dropped"},
        {{640, 480, 0, 705, -1, 12, false},
         128,
         true,
         L"640 \u00d7 480 \u00b7 7.05 fps \u00b7 shown \u2026 \u00b7 12 dropped"},
        {{3840, 2160, 22, -1, 3000, 4294967296LL, true},
         128,
         true,
         L"3840 \u00d7 2160 RGB32 \u00b7 \u2026 fps \u00b7 frozen \u00b7 4294967295 dropped"},
        {{1, 2, 0x12345678, 100, 0, 1, false},
         128,
         true,
         L"1 \u00d7 2 12345678 \u00b7 1.00 fps \u00b7 shown 0.00 \u00b7 1 dropped"},
        {{1920, 1080, nv12, 5994, 5994, 0, false}, 12, false, L"1920 \u00d7 1080"},
        // The sound's glitches only while it plays.
        {{1, 2, 0, 1, 1, 3, false, true, 1},
         99,
         true,
         L"1 \u00d7 2 \u00b7 0.01 fps \u00b7 shown 0.01 \u00b7 3 dropped \u00b7 1 sound glitch"},
        {{1, 2, 0, 1, 1, 3, true, true, 5},
         99,
         true,
         L"1 \u00d7 2 \u00b7 0.01 fps \u00b7 frozen \u00b7 3 dropped \u00b7 5 sound glitches"},
    };
    for (const auto& [figures, capacity, whole, text] : cases) {
        std::wstring buffer(info_line_units + 8, L'#');
        EXPECT_EQ(format_info_line(figures, buffer.data(), capacity), whole) << capacity;
        EXPECT_EQ(buffer.find_first_not_of(L'#', capacity), std::wstring::npos) << capacity;
        EXPECT_EQ(buffer.substr(0, buffer.find(L'\0')), text);
    }
}

TEST(InfoLineBox, SitsInTheTopLeftCornerAndNeverLeavesTheArea) {
    const std::tuple<PixelRect, int32_t, int32_t, uint32_t, PixelRect> cases[] = {
        {{0, 36, 640, 516}, 200, 16, 96, {8, 44, 220, 66}},
        {{10, 0, 1290, 720}, 200, 32, 192, {26, 16, 250, 60}},
        {{0, 0, 100, 30}, 200, 16, 96, {8, 8, 100, 30}},
    };
    for (const auto& [area, width, height, dpi, box] : cases) {
        const PixelRect got = info_line_box(area, width, height, dpi);
        EXPECT_EQ(std::tie(got.left, got.top, got.right, got.bottom),
                  std::tie(box.left, box.top, box.right, box.bottom));
    }
}
