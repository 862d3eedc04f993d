#include "view/status_text.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t sentinel = L'#';

// A buffer wider than the capacity handed over, so writes past it show.
struct Buffer {
    wchar_t units[status_text_units + 64];
    Buffer() {
        for (wchar_t& u : units) {
            u = sentinel;
        }
    }
    bool untouched_from(size_t index) const {
        for (size_t i = index; i < std::size(units); ++i) {
            if (units[i] != sentinel) {
                return false;
            }
        }
        return true;
    }
};

TEST(FormatStatusText, GivesEachMessageState) {
    struct Case {
        int32_t status;
        const wchar_t* name;
        int32_t error;
        const wchar_t* text;
    } cases[] = {
        {StatusNoCamera, L"Cam", 0, L"No camera found. Plug one in."},
        {StatusWaiting, L"Cam", 0, L"Waiting for Cam\u2026"},
        {StatusWaiting, L"", 0, L"Waiting for \u2026"},
        {StatusWaiting, nullptr, 0, L"Waiting for \u2026"},
        {StatusAccessDenied, L"Cam", 0, L"Camera access is off for Tavisko."},
        {StatusInUse, L"Cam", 0, L"Cam is in use by another app. Retrying\u2026"},
        {StatusFailed, L"Cam", int32_t(0xC00D3E85u), L"Cam failed (0xC00D3E85). Retrying\u2026"},
        {StatusFailed, L"Cam", 5, L"Cam failed (0x00000005). Retrying\u2026"},
        {StatusFailed, L"Cam", int32_t(0x8007000Au), L"Cam failed (0x8007000A). Retrying\u2026"},
        {StatusFailed, L"Cam", 0, L"Cam failed (0x00000000). Retrying\u2026"},
        {StatusFailed, L"Cam", -1, L"Cam failed (0xFFFFFFFF). Retrying\u2026"},
        {StatusWaiting, L"USB Kamera \u00e9", 0, L"Waiting for USB Kamera \u00e9\u2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "status " << c.status << " error " << std::hex << uint32_t(c.error));
        Buffer out;
        EXPECT_TRUE(format_status_text(StatusState(c.status), c.name, c.error, out.units,
                                       status_text_units));
        EXPECT_EQ(std::wstring(out.units), std::wstring(c.text));
        EXPECT_TRUE(out.untouched_from(status_text_units));
    }
}

TEST(FormatStatusText, TheEllipsisIsOneCharacter) {
    Buffer out;
    ASSERT_TRUE(format_status_text(StatusWaiting, L"Cam", 0, out.units, status_text_units));
    const size_t length = std::wcslen(out.units);
    ASSERT_EQ(length, 16u); // "Waiting for Cam" and the ellipsis
    EXPECT_EQ(out.units[length - 1], wchar_t(0x2026));
    EXPECT_EQ(out.units[length - 2], L'm');
}

TEST(FormatStatusText, StatesThatShowThePictureGiveNoText) {
    const int32_t states[] = {StatusNone, StatusStarting, StatusStreaming, 99, -1, 8};
    for (int32_t status : states) {
        SCOPED_TRACE(testing::Message() << "status " << status);
        Buffer out;
        EXPECT_FALSE(format_status_text(StatusState(status), L"Cam", int32_t(0xC00D3E85u),
                                        out.units, status_text_units));
        EXPECT_EQ(out.units[0], L'\0');
        EXPECT_TRUE(out.untouched_from(status_text_units));
    }
}

TEST(FormatStatusText, ANullNameIsAnEmptyName) {
    const int32_t states[] = {StatusNoCamera, StatusWaiting, StatusAccessDenied, StatusInUse,
                              StatusFailed};
    for (int32_t status : states) {
        SCOPED_TRACE(testing::Message() << "status " << status);
        Buffer with_null;
        Buffer with_empty;
        EXPECT_TRUE(format_status_text(StatusState(status), nullptr, 7, with_null.units,
                                       status_text_units));
        EXPECT_TRUE(
            format_status_text(StatusState(status), L"", 7, with_empty.units, status_text_units));
        EXPECT_EQ(std::wstring(with_null.units), std::wstring(with_empty.units));
    }
}

TEST(FormatStatusText, CutsAtTheCapacity) {
    const std::wstring long_name(600, L'x');
    const std::wstring waiting_long = L"Waiting for " + long_name + L"\u2026";
    struct Case {
        const char* what;
        int32_t status;
        const wchar_t* name;
        size_t capacity;
        std::wstring text;
    } cases[] = {
        {"600-character name", StatusWaiting, long_name.c_str(), status_text_units,
         waiting_long.substr(0, status_text_units - 1)},
        {"600-character name, in use", StatusInUse, long_name.c_str(), status_text_units,
         long_name.substr(0, status_text_units - 1)},
        {"just fits", StatusWaiting, L"Cam", 17, L"Waiting for Cam\u2026"},
        {"ellipsis cut", StatusWaiting, L"Cam", 16, L"Waiting for Cam"},
        {"one unit short", StatusNoCamera, L"Cam", 29, L"No camera found. Plug one in"},
        {"exact fit", StatusNoCamera, L"Cam", 30, L"No camera found. Plug one in."},
        {"inside the code", StatusFailed, L"Cam", 16, L"Cam failed (0xC"},
        {"capacity 2", StatusNoCamera, L"Cam", 2, L"N"},
        {"capacity 1", StatusNoCamera, L"Cam", 1, L""},
        {"capacity 1, long name", StatusWaiting, long_name.c_str(), 1, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Buffer out;
        EXPECT_TRUE(format_status_text(StatusState(c.status), c.name, int32_t(0xC00D3E85u),
                                       out.units, c.capacity));
        EXPECT_EQ(out.units[c.capacity - 1], L'\0');
        EXPECT_EQ(std::wcslen(out.units), c.capacity - 1);
        EXPECT_EQ(std::wstring(out.units), c.text);
        EXPECT_TRUE(out.untouched_from(c.capacity));
    }
}

} // namespace
