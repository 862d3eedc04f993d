#pragma once
// The camera's sound as the window offers it: the Sound submenu (Off, the
// camera's own input first, every other input), the choice remembered for
// the camera, the sound following the camera's stream, and what the sound
// thread's end reports show. User-interface thread only; that thread is in
// the COM apartment app_run made, which the endpoint list needs.

#include <windows.h>

#include <memory>

#include "audio/sound_pairing.h"
#include "audio/sound_win.h"

// The inputs the submenu offers at most.
inline constexpr int32_t sound_menu_max = 64;

// The main window's part of the sound.
struct SoundMenuState {
    // The inputs as the last submenu showed them, in its order, so that a
    // choice made in it plays the input the user saw though the list of
    // endpoints has changed since.
    std::unique_ptr<SoundInput[]> shown; // sound_menu_max of them once a menu was shown
    int32_t shown_count = 0;
    // A flow was started for the camera's current stream; it may have ended
    // on its own since, and is tried again with the next stream.
    bool following = false;
    // The last flow ended because the microphone privacy setting denies the
    // program: the submenu says so until an input is tried again.
    bool access_denied = false;
    // The flow, started and stopped here; the info line reads its figures.
    SoundPlayer player{};
    // Closing had to leave a sound thread inside a driver call.
    bool stuck = false;
};

// The submenu as things are now; its inputs' items are `first_id` and on.
HMENU sound_submenu(UINT first_id);
// The input the last submenu showed at `offset`: remembered for the camera,
// and played at once while the camera streams.
void run_sound_choice(UINT offset);
// The Off row: no sound, and no choice remembered.
void sound_off();
bool sound_off_checked();
void open_microphone_settings();
// After each status change: the chosen input starts with the camera's
// stream and stops when the stream does.
void sound_follow_camera();
// WM_APP_SOUND: the flow ended on its own.
void on_sound_end(WPARAM wparam, LPARAM lparam);
// Closing: stops the sound, waiting at most sound_stop_wait_ms.
void sound_close();
