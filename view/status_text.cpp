#include "view/status_text.h"

namespace {

struct WideSink {
    wchar_t* out;
    size_t capacity;
    size_t length;

    void append(const wchar_t* text) {
        for (; *text != L'\0' && length + 1 < capacity; ++text) {
            out[length++] = *text;
        }
        out[length] = L'\0';
    }
    void append_hex8(uint32_t value) {
        wchar_t digits[9];
        for (int i = 7; i >= 0; --i) {
            digits[i] = L"0123456789ABCDEF"[value & 0xF];
            value >>= 4;
        }
        digits[8] = L'\0';
        append(digits);
    }
};

} // namespace

bool format_status_text(StatusState state, const wchar_t* name, int32_t error, wchar_t* out,
                        size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    WideSink sink{out, capacity, 0};
    out[0] = L'\0';
    if (!status_shows_text(state)) {
        return false;
    }
    if (name == nullptr) {
        name = L"";
    }
    switch (state) {
    case StatusNoCamera:
        sink.append(L"No camera found. Plug one in.");
        return true;
    case StatusWaiting:
        sink.append(L"Waiting for ");
        sink.append(name);
        sink.append(L"\u2026");
        return true;
    case StatusAccessDenied:
        sink.append(L"Camera access is off for Tavisko.");
        return true;
    case StatusInUse:
        sink.append(name);
        sink.append(L" is in use by another app. Retrying\u2026");
        return true;
    case StatusFailed:
        sink.append(name);
        sink.append(L" failed (0x");
        sink.append_hex8(static_cast<uint32_t>(error));
        sink.append(L"). Retrying\u2026");
        return true;
    default: // the picture states, excluded above
        return false;
    }
}
