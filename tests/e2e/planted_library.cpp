// A stand-in for a library someone left beside the program: it exports
// nothing and leaves a file next to itself when it is loaded.

#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH];
        std::wstring folder(path, GetModuleFileNameW(instance, path, MAX_PATH));
        folder = folder.substr(0, folder.find_last_of(L'\\'));
        HANDLE mark = CreateFileW((folder + L"\\planted-library-loaded").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, 0, nullptr);
        if (mark != INVALID_HANDLE_VALUE) {
            CloseHandle(mark);
        }
    }
    return TRUE;
}
