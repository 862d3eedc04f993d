#include "view/picture_save.h"

#include "base/wide_text.h"

bool format_picture_name(const LocalTime& time, int32_t counter, wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    WideText name{out, capacity};
    out[0] = L'\0';
    if (counter < 1 || counter > picture_name_tries) {
        return false;
    }
    name.text(L"Tavisko ");
    name.number(uint32_t(time.year), 4);
    name.put(L'-');
    name.number(uint32_t(time.month), 2);
    name.put(L'-');
    name.number(uint32_t(time.day), 2);
    name.put(L' ');
    name.number(uint32_t(time.hour), 2);
    name.put(L'.');
    name.number(uint32_t(time.minute), 2);
    name.put(L'.');
    name.number(uint32_t(time.second), 2);
    if (counter > 1) {
        name.text(L" (");
        name.number(uint32_t(counter), 1);
        name.put(L')');
    }
    name.text(L".png");
    if (name.cut) {
        out[0] = L'\0'; // a part of a name is no name
        return false;
    }
    return true;
}

void format_save_tip(const wchar_t* name, int32_t error, wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return;
    }
    WideText tip{out, capacity};
    out[0] = L'\0';
    if (error == 0) {
        tip.text(L"Saved ");
        tip.text(name != nullptr ? name : L"");
    } else {
        tip.text(L"Could not save the picture (0x");
        tip.hex8(static_cast<uint32_t>(error));
        tip.put(L')');
    }
}
