#include <windows.h>

#include <dbt.h>

#include <mfapi.h>
#include <mfidl.h>
#include <wrl/client.h>

#include <cstring>
#include <cwchar>

#include "app/camera_controls_win.h"
#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/owned_win.h"
#include "base/text_win.h"
#include "capture/camera_select.h"
#include "capture/capture.h"
#include "capture/device_layer.h"
#include "capture/media_foundation.h"
#include "layout/toolbar.h"
#include "settings/settings.h"
#include "view/shown_picture.h"

using Microsoft::WRL::ComPtr;

CameraList camera_list;

namespace {

// {E5323777-F976-4F5B-9B55-B94699C46E44}
constexpr GUID camera_interface_class = {
    0xE5323777, 0xF976, 0x4F5B, {0x9B, 0x55, 0xB9, 0x46, 0x99, 0xC4, 0x6E, 0x44}};

void add_row(const wchar_t* text, LPARAM data) {
    const LRESULT row =
        SendMessageW(main_window.toolbar.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (row >= 0) {
        SendMessageW(main_window.toolbar.combo, CB_SETITEMDATA, WPARAM(row), data);
    }
}

} // namespace

void camera_notifications_register(HWND window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = camera_interface_class;
    main_window.camera_notifications.reset(
        RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
}

void camera_notifications_unregister() {
    main_window.camera_notifications.reset();
}

int32_t enumerate_cameras(CameraEntry* entries, int32_t maximum) {
    ComPtr<IMFAttributes> attributes;
    if (FAILED(media_foundation.create_attributes(&attributes, 1)) ||
        FAILED(attributes->SetGUID(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE,
                                   MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_GUID))) {
        return 0;
    }
    TaskMemory<IMFActivate*> devices;
    UINT32 count = 0;
    if (FAILED(device_enum_sources(attributes.Get(), devices.put(), &count))) {
        return 0;
    }
    attributes.Reset();
    int32_t n = 0;
    for (UINT32 i = 0; i < count; ++i) {
        // Every element is a reference of ours, listed or not: the pointer
        // takes it over. Not through Attach, which adds a reference of its
        // own in MinGW's headers.
        ComPtr<IMFActivate> device;
        *device.GetAddressOf() = devices.get()[i];
        if (n >= maximum || device == nullptr) {
            continue;
        }
        TaskMemory<wchar_t> link;
        TaskMemory<wchar_t> name;
        UINT32 length = 0;
        if (FAILED(device->GetAllocatedString(
                MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_SYMBOLIC_LINK, link.put(), &length)) ||
            FAILED(device->GetAllocatedString(MF_DEVSOURCE_ATTRIBUTE_FRIENDLY_NAME, name.put(),
                                              &length))) {
            continue;
        }
        CameraEntry& entry = entries[n];
        to_utf8(link.get(), entry.id, int(sizeof entry.id));
        to_utf8(name.get(), entry.name, int(sizeof entry.name));
        if (entry.id[0] != '\0') {
            ++n;
        }
    }
    return n;
}

void fill_camera_combo(const CameraEntry* list, int32_t count, int32_t selected,
                       const char* absent_name) {
    SendMessageW(main_window.toolbar.combo, CB_RESETCONTENT, 0, 0);
    for (int32_t i = 0; i < count; ++i) {
        wchar_t text[300];
        to_utf16(list[i].name, text, 300);
        add_row(text, i);
    }
    if (absent_name != nullptr) {
        wchar_t name[260];
        to_utf16(absent_name, name, 260);
        wchar_t text[300];
        std::swprintf(text, 300, L"%ls (disconnected)", name);
        text[299] = L'\0';
        add_row(text, -1);
        const LRESULT rows = SendMessageW(main_window.toolbar.combo, CB_GETCOUNT, 0, 0);
        SendMessageW(main_window.toolbar.combo, CB_SETCURSEL, WPARAM(rows - 1), 0);
    } else if (selected >= 0 && selected < count) {
        SendMessageW(main_window.toolbar.combo, CB_SETCURSEL, WPARAM(selected), 0);
    }
}

int32_t selected_camera_index() {
    const LRESULT row = SendMessageW(main_window.toolbar.combo, CB_GETCURSEL, 0, 0);
    if (row == CB_ERR) {
        return -1;
    }
    return static_cast<int32_t>(
        SendMessageW(main_window.toolbar.combo, CB_GETITEMDATA, WPARAM(row), 0));
}

namespace {

// The format and the sound input belong to the camera they were picked for.
void forget_camera_choices() {
    settings.format = CameraFormat{};
    settings.sound[0] = '\0';
}

} // namespace

void switch_to_camera(int32_t index) {
    const CameraEntry& entry = camera_list.cameras[index];
    if (settings.camera_id[0] == '\0') {
        forget_camera_choices();
    }
    if (std::strcmp(settings.camera_id, entry.id) != 0 ||
        std::strcmp(settings.camera_name, entry.name) != 0) {
        copy_cut_utf8(settings.camera_id, sizeof settings.camera_id, entry.id,
                      std::strlen(entry.id));
        copy_cut_utf8(settings.camera_name, sizeof settings.camera_name, entry.name,
                      std::strlen(entry.name));
        arm_timer(TIMER_SAVE);
    }
    if (main_window.status == StatusNone || main_window.status == StatusStreaming ||
        main_window.status == StatusNoCamera) {
        set_status(StatusStarting);
    }
    main_window.capture_active = 1;
    capture_start(main_window.handle, settings.camera_id, &settings.format);
}

void restart_capture() {
    if (main_window.capture_active == 0) {
        return;
    }
    end_freeze();
    capture_stop_if_running();
    if (main_window.status == StatusStreaming) {
        set_status(StatusStarting);
    }
    capture_start(main_window.handle, settings.camera_id, &settings.format);
}

void rescan_cameras() {
    if (SendMessageW(main_window.toolbar.combo, CB_GETDROPPEDSTATE, 0, 0) != 0) {
        // Refilling an open list would empty it under the user's pointer, and
        // a new camera list would no longer match the rows' item data. The
        // whole scan waits until the list closes.
        camera_list.scan_owed = true;
        return;
    }
    camera_list.camera_count = enumerate_cameras(camera_list.cameras, max_cameras);
    if (main_window.capture_active == 0) {
        const int32_t i = pick_camera(camera_list.cameras, camera_list.camera_count,
                                      settings.camera_id, settings.camera_name);
        if (i >= 0) {
            switch_to_camera(i);
        } else {
            set_status(settings.camera_id[0] != '\0' ? StatusWaiting : StatusNoCamera);
        }
    }
    int32_t listed = -1;
    for (int32_t i = 0; i < camera_list.camera_count; ++i) {
        if (std::strcmp(camera_list.cameras[i].id, settings.camera_id) == 0) {
            listed = i;
            break;
        }
    }
    // A remembered camera that is not listed gets its "(disconnected)" row.
    const bool remembered = settings.camera_id[0] != '\0';
    fill_camera_combo(camera_list.cameras, camera_list.camera_count, listed,
                      listed < 0 && remembered ? settings.camera_name : nullptr);
    if (main_window.capture_active == 0) {
        arm_timer(TIMER_RESCAN);
    }
}

void on_camera_list_closed() {
    if (camera_list.scan_owed) {
        camera_list.scan_owed = false;
        // A selection made in the list may be reported after the close: as a
        // timer, the scan runs once the combo box's notifications are handled.
        SetTimer(main_window.handle, TIMER_RESCAN, USER_TIMER_MINIMUM, nullptr);
    }
}

void on_camera_selection_change() {
    const int32_t i = selected_camera_index();
    if (i < 0 || i >= camera_list.camera_count) {
        return;
    }
    if (main_window.capture_active == 1 &&
        std::strcmp(camera_list.cameras[i].id, settings.camera_id) == 0) {
        return;
    }
    camera_controls_close();
    end_freeze();
    capture_stop_if_running();
    main_window.capture_active = 0;
    if (std::strcmp(camera_list.cameras[i].id, settings.camera_id) != 0) {
        forget_camera_choices();
    }
    view_reset(settings.view);
    toolbar_update_zoom_label(100);
    main_window.status = StatusNone;
    switch_to_camera(i);
    SetFocus(main_window.handle);
}
