// Entry point of tavisko-demo.exe: the program itself, linked with the
// synthetic camera instead of the device layer, so it runs without a camera.

#include <windows.h>

#include "app/startup.h"
#include "capture/synthetic/synthetic_camera.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    synthetic_set_enumeration_hook(synthetic_load_control_file);
    return app_run(instance, startup_show_command());
}
