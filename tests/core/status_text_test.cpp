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
