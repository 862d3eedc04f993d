// Entry point of tavisko-demo.exe: the program itself, linked with the
// synthetic camera instead of the device layer, so it runs without a camera.

#include <windows.h>

#include "app/startup.h"
#include "synthetic_camera/synthetic_camera.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Libraries loaded from here on come from the system folder, never from
    // the program's own (a Downloads folder holds whatever lies there).
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    synthetic_set_enumeration_hook(synthetic_load_control_file);
    synthetic_set_read_hook(synthetic_poll_control_file);
    return app_run(instance, startup_show_command());
}
