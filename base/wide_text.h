#pragma once
// Builds the texts the window shows (UTF-16 on Windows) in a fixed buffer of
// at least one unit, always terminated. What does not fit is left out, and
// `cut` says so. Platform-free.

#include <cstddef>
#include <cstdint>

struct WideText {
    wchar_t* out;
    size_t capacity;
    size_t length = 0;
    bool cut = false;

    void put(wchar_t unit) {
        if (length + 1 < capacity) {
            out[length++] = unit;
        } else {
            cut = true;
        }
        out[length] = L'\0';
    }
    void text(const wchar_t* units) {
        for (; *units != L'\0'; ++units) {
            put(*units);
        }
    }
    // ASCII bytes, as snprintf writes numbers.
    void ascii(const char* bytes) {
        for (; *bytes != '\0'; ++bytes) {
            put(wchar_t(*bytes));
        }
    }
    // Decimal, with leading zeros to `digits` digits.
    void number(uint32_t value, int digits) {
        wchar_t reversed[10];
        int count = 0;
        do {
            reversed[count++] = wchar_t(L'0' + value % 10);
            value /= 10;
        } while (value != 0 || count < digits);
        while (count > 0) {
            put(reversed[--count]);
        }
    }
    void hex8(uint32_t value) {
        for (int shift = 28; shift >= 0; shift -= 4) {
            put(L"0123456789ABCDEF"[(value >> shift) & 0xF]);
        }
    }
};
