#include "app/context_menu.h"

#include "base/command_ids.h"

bool menu_item_checked(int command, const MenuChecks& checks) {
    switch (command) {
    case IDC_MIRROR:
        return checks.mirror;
    case IDC_ON_TOP:
        return checks.on_top;
    case IDC_COMPACT:
        return checks.compact;
    case IDC_FULL_SCREEN:
        return checks.full_screen;
    case IDC_FREEZE:
        return checks.frozen;
    default:
        return false;
    }
}

bool menu_item_enabled(int command, bool streaming) {
    return command != IDC_CAMERA_CONTROLS || streaming;
}
