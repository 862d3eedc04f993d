#include "audio/sound_menu_win.h"

#include <shellapi.h>

#include <cstring>
#include <cwchar>

#include "app/context_menu_win.h"
#include "app/main_window.h"
#include "app/window_calls.h"
#include "audio/audio_device_layer.h"
#include "audio/sound_setting.h"
#include "audio/sound_win.h"
#include "base/command_ids.h"
#include "base/messages_win.h"
#include "base/text_win.h"
#include "capture/camera_container_win.h"

namespace {

// The inputs Windows lists now, the camera's own first, into `shown`;
// returns the own input's place there, or -1. An id too long to remember is
// no input the menu could keep.
int32_t list_inputs(std::vector<SoundInput>& shown) {
    shown.clear();
    std::vector<AudioEndpoint> endpoints;
    if (FAILED(audio_enum_capture_endpoints(endpoints))) {
        return -1;
    }
    std::vector<SoundInput> inputs;
    for (const AudioEndpoint& endpoint : endpoints) {
        SoundInput input{};
        to_utf8(endpoint.id.c_str(), input.id, int(sizeof input.id));
        to_utf8(endpoint.name.c_str(), input.name, int(sizeof input.name));
        input.container = container_of_guid(endpoint.container_id);
        if (input.id[0] != '\0' && inputs.size() < size_t(sound_menu_max)) {
            inputs.push_back(input);
        }
    }
    wchar_t link[camera_id_size];
    to_utf16(settings.camera_id, link, int(camera_id_size));
    std::vector<int32_t> order(inputs.size());
    const int32_t own =
        sound_menu_order(inputs.data(), int32_t(inputs.size()), camera_container(link),
                         computer_container(), order.data());
    for (const int32_t index : order) {
        shown.push_back(inputs[size_t(index)]);
    }
    return own < 0 ? -1 : 0;
}

void start_chosen() {
    wchar_t id[sound_endpoint_id_size];
    to_utf16(settings.sound, id, int(sound_endpoint_id_size));
    main_window.sound.access_denied = false; // a new try
    main_window.sound.following = true;
    sound_start(main_window.handle, id);
}

} // namespace

HMENU sound_submenu(UINT first_id) {
    HMENU menu = CreatePopupMenu();
    append_command_row(menu, IDC_SOUND_OFF);
    std::vector<SoundInput>& shown = main_window.sound.shown;
    const int32_t own = list_inputs(shown);
    for (size_t row = 0; row < shown.size(); ++row) {
        wchar_t text[sound_name_size + 20];
        to_utf16(shown[row].name, text, int(sound_name_size));
        if (int32_t(row) == own) {
            wcscat(text, L" (camera's own)");
        }
        const bool chosen = std::strcmp(shown[row].id, settings.sound) == 0;
        AppendMenuW(menu, MF_STRING | (chosen ? MF_CHECKED : 0), first_id + UINT(row), text);
    }
    if (main_window.sound.access_denied) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"Microphone access is off for Tavisko.");
        append_command_row(menu, IDC_OPEN_MICROPHONE_PRIVACY);
    }
    return menu;
}

void run_sound_choice(UINT offset) {
    const std::vector<SoundInput>& shown = main_window.sound.shown;
    if (offset >= shown.size()) {
        return;
    }
    const char* id = shown[offset].id;
    if (!parse_sound_setting(id, std::strlen(id), settings.sound)) {
        return;
    }
    arm_timer(TIMER_SAVE);
    if (main_window.status == StatusStreaming) {
        start_chosen();
    }
}

void sound_off() {
    sound_stop();
    main_window.sound.following = false;
    if (settings.sound[0] != '\0') {
        settings.sound[0] = '\0';
        arm_timer(TIMER_SAVE);
    }
}

bool sound_off_checked() {
    return settings.sound[0] == '\0';
}

void open_microphone_settings() {
    ShellExecuteW(main_window.handle, L"open", L"ms-settings:privacy-microphone", nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void sound_follow_camera() {
    const bool streaming = main_window.status == StatusStreaming;
    if (!streaming && main_window.sound.following) {
        sound_stop();
        main_window.sound.following = false;
    } else if (streaming && !main_window.sound.following && settings.sound[0] != '\0') {
        start_chosen();
    }
}

void on_sound_end(WPARAM wparam, LPARAM) {
    // An input that is gone keeps its choice and shows nothing: it plays
    // again with the next stream once it is back. Only the privacy setting
    // is the user's to change, so only it is said.
    if (SoundEnd(wparam) == SoundEndAccessDenied) {
        main_window.sound.access_denied = true;
    }
}

void sound_close() {
    main_window.sound.following = false;
    main_window.sound.stuck = !sound_shutdown_within(sound_stop_wait_ms);
}
