#pragma once
// Text at the Win32 boundary: persisted and enumerated text is UTF-8 in fixed
// fields, the window system's is UTF-16; an empty text stands in when a
// conversion fails or does not fit.

#include <windows.h>

// UTF-16 to UTF-8 into a fixed field; an empty text when it does not fit.
inline void to_utf8(const wchar_t* text, char* field, int size) {
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, field, size, nullptr, nullptr) == 0) {
        field[0] = '\0';
    }
}

// UTF-8 to UTF-16 into a fixed buffer; an empty text when it does not fit.
inline void to_utf16(const char* text, wchar_t* out, int units) {
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, out, units) == 0) {
        out[0] = L'\0';
    }
}

// The calling thread's last error as an HRESULT; E_FAIL when a failed call
// left none.
inline HRESULT last_error_result() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}
