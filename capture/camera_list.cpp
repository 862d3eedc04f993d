#include "capture/camera_list.h"

#include <cstring>

int32_t pick_camera(const CameraEntry* list, int32_t count, const char* id, const char* name) {
    if (count <= 0) {
        return -1;
    }
    if (id[0] != '\0') {
        for (int32_t i = 0; i < count; ++i) {
            if (std::strcmp(list[i].id, id) == 0) {
                return i;
            }
        }
    } else if (name[0] == '\0') {
        return 0;
    }
    if (name[0] != '\0') {
        for (int32_t i = 0; i < count; ++i) {
            if (std::strcmp(list[i].name, name) == 0) {
                return i;
            }
        }
    }
    return -1;
}
