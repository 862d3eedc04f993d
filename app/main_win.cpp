// Entry point of Tavisko.exe. Everything else lives in the app library so the
// tests can run the real window in process.

#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Libraries loaded from here on come from the system folder, never from
    // the program's own (a Downloads folder holds whatever lies there).
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return app_run(instance, startup_show_command());
}
