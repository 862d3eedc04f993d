#include "app/command_keys.h"

#include "base/wide_text.h"

namespace {

bool put_key_name(WideText& sink, uint16_t code) {
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
        sink.put(wchar_t(code));
    } else if (code >= vk_f1 && code < vk_f1 + 24) {
        sink.put(L'F');
        sink.number(uint32_t(code - vk_f1 + 1), 1);
    } else if (code >= vk_numpad0 && code < vk_numpad0 + 10) {
        sink.text(L"Num ");
        sink.put(wchar_t(L'0' + (code - vk_numpad0)));
    } else if (code == vk_space) {
        sink.text(L"Space");
    } else if (code == vk_oem_plus) {
        sink.put(L'+');
    } else if (code == vk_oem_minus) {
        sink.put(L'\u2212');
    } else if (code == vk_add) {
        sink.text(L"Num +");
    } else if (code == vk_subtract) {
        sink.text(L"Num \u2212");
    } else {
        return false;
    }
    return true;
}

bool put_key(WideText& sink, CommandKey key) {
    if ((key.modifiers & key_ctrl) != 0) {
        sink.text(L"Ctrl+");
    }
    if ((key.modifiers & key_alt) != 0) {
        sink.text(L"Alt+");
    }
    if ((key.modifiers & key_shift) != 0) {
        sink.text(L"Shift+");
    }
    return put_key_name(sink, key.code);
}

// The name, then the key between `before` and `after`, or the name alone.
bool put_named_key(const wchar_t* name, CommandKey key, const wchar_t* before, const wchar_t* after,
                   wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    WideText sink{out, capacity};
    out[0] = L'\0';
    sink.text(name);
    if (key.code != 0) {
        sink.text(before);
        if (!put_key(sink, key)) {
            out[0] = L'\0';
            return false;
        }
        sink.text(after);
    }
    return !sink.cut;
}

} // namespace

bool key_text(CommandKey key, wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    WideText sink{out, capacity};
    out[0] = L'\0';
    if (!put_key(sink, key)) {
        out[0] = L'\0';
        return false;
    }
    return !sink.cut;
}

bool menu_item_text(const wchar_t* name, CommandKey key, wchar_t* out, size_t capacity) {
    return put_named_key(name, key, L"\t", L"", out, capacity);
}

bool tool_tip_text(const wchar_t* name, CommandKey key, wchar_t* out, size_t capacity) {
    return put_named_key(name, key, L" (", L")", out, capacity);
}
