#include "view/status_text.h"

#include "base/wide_text.h"

bool format_status_text(StatusState state, const wchar_t* name, int32_t error, wchar_t* out,
                        size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    WideText sink{out, capacity};
    out[0] = L'\0';
    if (!status_shows_text(state)) {
        return false;
    }
    if (name == nullptr) {
        name = L"";
    }
    switch (state) {
    case StatusNoCamera:
        sink.text(L"No camera found. Plug one in.");
        return true;
    case StatusWaiting:
        sink.text(L"Waiting for ");
        sink.text(name);
        sink.text(L"\u2026");
        return true;
    case StatusAccessDenied:
        sink.text(L"Camera access is off for Tavisko.");
        return true;
    case StatusInUse:
        sink.text(name);
        sink.text(L" is in use by another app. Retrying\u2026");
        return true;
    case StatusFailed:
        sink.text(name);
        sink.text(L" failed (0x");
        sink.hex8(static_cast<uint32_t>(error));
        sink.text(L"). Retrying\u2026");
        return true;
    default: // the picture states, excluded above
        return false;
    }
}
