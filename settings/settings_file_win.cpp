#include "settings/settings_file.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>

#include "base/file_hold_win.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Bounded concatenation; false when the result does not fit in 259 units.
// A cut path must never be used: cut short enough, settings.tmp and
// settings.txt become the same name, and opening the one for writing would
// empty the other.
bool compose_path(wchar_t* out, const wchar_t* base, const wchar_t* suffix) {
    size_t n = 0;
    for (const wchar_t* parts[2] = {base, suffix}; const wchar_t* part : parts) {
        for (const wchar_t* p = part; *p != L'\0'; ++p) {
            if (n == settings_path_units - 1) {
                out[n] = L'\0';
                return false;
            }
            out[n++] = *p;
        }
    }
    out[n] = L'\0';
    return true;
}

// A program holding settings.txt for a moment (base/file_hold_win.h) refuses
// the rename; it is tried again while the hold lasts, up to about half a
// second, on the user-interface thread. When it fails, settings.tmp stays and
// the next save writes it afresh.
void replace_settings_file(const wchar_t* temporary, const wchar_t* file) {
    retry_while_held([&] {
        return MoveFileExW(temporary, file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
               FALSE;
    });
}

} // namespace

bool settings_paths(wchar_t* folder, wchar_t* file, wchar_t* temporary) {
    wchar_t appdata[settings_path_units];
    const DWORD count = GetEnvironmentVariableW(L"APPDATA", appdata, settings_path_units);
    if (count < 1 || count > settings_path_units - 1) {
        return false;
    }
    // All three are composed, so that each is terminated whatever the result.
    const bool folder_fits = compose_path(folder, appdata, L"\\Tavisko");
    const bool file_fits = compose_path(file, appdata, L"\\Tavisko\\settings.txt");
    const bool temporary_fits = compose_path(temporary, appdata, L"\\Tavisko\\settings.tmp");
    return folder_fits && file_fits && temporary_fits;
}

void settings_load(Settings& settings) {
    settings_reset(settings);
    wchar_t folder[settings_path_units];
    wchar_t file[settings_path_units];
    wchar_t temporary[settings_path_units];
    if (!settings_paths(folder, file, temporary)) {
        return;
    }
    FileHandle stream(_wfopen(file, L"rb"));
    if (!stream) {
        return;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[settings_file_max + 1]);
    if (!buffer) {
        return;
    }
    const size_t read = std::fread(buffer.get(), 1, settings_file_max, stream.get());
    buffer[read] = '\0';
    settings_parse(settings, buffer.get());
}

void settings_save(const Settings& settings) {
    char text[2048];
    const size_t length = settings_format(settings, text, sizeof text);
    if (length >= sizeof text) {
        return;
    }
    wchar_t folder[settings_path_units];
    wchar_t file[settings_path_units];
    wchar_t temporary[settings_path_units];
    if (!settings_paths(folder, file, temporary)) {
        return;
    }
    CreateDirectoryW(folder, nullptr);
    FileHandle stream(_wfopen(temporary, L"wb"));
    if (!stream) {
        return;
    }
    const size_t written = std::fwrite(text, 1, length, stream.get());
    // The close result counts: a full disk may only show up when the stream
    // flushes, and then the old settings.txt must stay.
    const bool closed = std::fclose(stream.release()) == 0;
    if (written == length && closed) {
        replace_settings_file(temporary, file);
    }
}
