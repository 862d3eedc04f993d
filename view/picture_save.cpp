#include "view/picture_save.h"

#include <cwchar>

bool format_picture_name(const LocalTime& time, int32_t counter, wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    out[0] = L'\0';
    if (counter < 1 || counter > picture_name_tries) {
        return false;
    }
    wchar_t suffix[16] = L"";
    if (counter > 1) {
        std::swprintf(suffix, 16, L" (%d)", int(counter));
    }
    const int written = std::swprintf(
        out, capacity, L"Tavisko %04d-%02d-%02d %02d.%02d.%02d%ls.png", int(time.year),
        int(time.month), int(time.day), int(time.hour), int(time.minute), int(time.second), suffix);
    if (written < 0 || size_t(written) >= capacity) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

void format_save_tip(const wchar_t* name, int32_t error, wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return;
    }
    wchar_t full[save_tip_units + picture_name_units];
    if (error == 0) {
        std::swprintf(full, save_tip_units + picture_name_units, L"Saved %ls",
                      name != nullptr ? name : L"");
    } else {
        std::swprintf(full, save_tip_units + picture_name_units,
                      L"Could not save the picture (0x%08lX)",
                      static_cast<unsigned long>(static_cast<uint32_t>(error)));
    }
    full[save_tip_units + picture_name_units - 1] = L'\0'; // a name too long is cut, not lost
    size_t i = 0;
    for (; full[i] != L'\0' && i + 1 < capacity; ++i) {
        out[i] = full[i];
    }
    out[i] = L'\0';
}
