// Entry point of Tavisko.exe. Everything else lives in the app library so the
// tests can run the real window in process.

#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return app_run(instance, startup_show_command());
}
