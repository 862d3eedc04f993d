#include "audio/sound_menu_win.h"

#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

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

// The inputs Windows lists now, the camera's own first, into the shown
// list; returns the own input's place there, or -1. An id too long to
// remember is no input the menu could keep.
int32_t list_inputs(SoundMenuState& menu) {
    menu.shown_count = 0;
    if (!menu.shown) {
        menu.shown.reset(new (std::nothrow) SoundInput[sound_menu_max]);
    }
    const std::unique_ptr<AudioEndpointList> endpoints(new (std::nothrow) AudioEndpointList);
    const std::unique_ptr<SoundInput[]> inputs(new (std::nothrow) SoundInput[sound_menu_max]);
    if (!menu.shown || !endpoints || !inputs || FAILED(audio_enum_capture_endpoints(*endpoints))) {
        return -1;
    }
    int32_t count = 0;
    for (int32_t i = 0; i < endpoints->count && count < sound_menu_max; ++i) {
        const AudioEndpoint& endpoint = endpoints->endpoints[i];
        SoundInput& input = inputs[count];
        input = SoundInput{};
        to_utf8(endpoint.id, input.id, int(sizeof input.id));
        to_utf8(endpoint.name, input.name, int(sizeof input.name));
        input.container = container_of_guid(endpoint.container_id);
        count += input.id[0] != '\0' ? 1 : 0;
    }
    wchar_t link[camera_id_size];
    to_utf16(settings.camera_id, link, int(camera_id_size));
    int32_t order[sound_menu_max];
    const int32_t own =
        sound_menu_order(inputs.get(), count, camera_container(link), computer_container(), order);
    for (int32_t row = 0; row < count; ++row) {
        menu.shown[row] = inputs[order[row]];
    }
    menu.shown_count = count;
    return own < 0 ? -1 : 0;
}

void start_chosen() {
    wchar_t id[sound_endpoint_id_size];
    to_utf16(settings.sound, id, int(sound_endpoint_id_size));
    main_window.sound.access_denied = false; // a new try
    main_window.sound.following = true;
    sound_start(main_window.sound.player, main_window.handle, id);
}

} // namespace

HMENU sound_submenu(UINT first_id) {
    HMENU menu = CreatePopupMenu();
    append_command_row(menu, IDC_SOUND_OFF);
    const int32_t own = list_inputs(main_window.sound);
    const SoundInput* shown = main_window.sound.shown.get();
    for (int32_t row = 0; row < main_window.sound.shown_count; ++row) {
        wchar_t text[sound_name_size + 20];
        to_utf16(shown[row].name, text, int(sound_name_size));
        if (row == own) {
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
    if (offset >= UINT(main_window.sound.shown_count)) {
        return;
    }
    const char* id = main_window.sound.shown[offset].id;
    if (!parse_sound_setting(id, std::strlen(id), settings.sound)) {
        return;
    }
    arm_timer(TIMER_SAVE);
    if (main_window.status == StatusStreaming) {
        start_chosen();
    }
}

void sound_off() {
    sound_stop(main_window.sound.player);
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
        sound_stop(main_window.sound.player);
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
    main_window.sound.stuck = !sound_shutdown_within(main_window.sound.player, sound_stop_wait_ms);
}
