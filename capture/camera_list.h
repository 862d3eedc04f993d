#pragma once
// The enumerated cameras and the rule that picks the one to run.
// Platform-free; the list is filled on the user-interface thread.

#include <cstddef>
#include <cstdint>

inline constexpr size_t camera_entry_id_size = 512;
inline constexpr size_t camera_entry_name_size = 256;
inline constexpr int32_t max_cameras = 16;

struct CameraEntry {
    char id[camera_entry_id_size];     // symbolic link, UTF-8; never empty in a listed entry
    char name[camera_entry_name_size]; // friendly name, UTF-8; empty when it did not fit
};

// The camera to run for the remembered id and name: by id first, then by
// name; with nothing remembered, the first camera. -1 when none fits.
int32_t pick_camera(const CameraEntry* list, int32_t count, const char* id, const char* name);
