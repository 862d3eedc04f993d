#pragma once
// Settings on disk: "%APPDATA%\Tavisko\settings.txt", replaced atomically
// through settings.tmp. User-interface thread only; every failure is silent.

#include "settings/settings.h"

inline constexpr size_t settings_path_units = 260;

// Fills the folder, file and temporary paths (each 260 units, always
// terminated). False when APPDATA is missing or empty, or when any of the
// three paths does not fit: then nothing may be read or written.
bool settings_paths(wchar_t* folder, wchar_t* file, wchar_t* temporary);

// Resets the record, then fills it from the file when one can be read.
void settings_load(Settings& settings);

// Writes the record to settings.tmp and renames it over settings.txt, so a
// reader sees either the old or the new complete file. While another program
// holds settings.txt open, the rename is retried for about half a second.
void settings_save(const Settings& settings);
