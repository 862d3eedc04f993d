// The camera's container, from its symbolic link through the device tree:
// the interface's device node, and the node's container id.
//
// The interface's node comes through SetupDiOpenDeviceInterfaceW rather than
// CM_Get_Device_Interface_PropertyW(DEVPKEY_Device_InstanceId) and
// CM_Locate_DevNodeW: both reach the same node on Windows, but Wine 8 has the
// latter only as a stub that raises an exception when called.

#include "capture/camera_container_win.h"

#include <initguid.h>

#include <cfgmgr32.h>
#include <devpkey.h>
#include <setupapi.h>

#include <cstring>

#include "base/owned_win.h"

namespace {

void destroy_device_info_set(HDEVINFO set) {
    SetupDiDestroyDeviceInfoList(set);
}
using OwnedDeviceInfoSet = Owned<HDEVINFO, destroy_device_info_set>;

ContainerId node_container(DEVINST node) {
    GUID container{};
    DEVPROPTYPE type = DEVPROP_TYPE_EMPTY;
    ULONG size = sizeof container;
    if (CM_Get_DevNode_PropertyW(node, &DEVPKEY_Device_ContainerId, &type,
                                 reinterpret_cast<PBYTE>(&container), &size, 0) != CR_SUCCESS ||
        type != DEVPROP_TYPE_GUID || size != sizeof container) {
        return {};
    }
    return container_of_guid(container);
}

} // namespace

ContainerId container_of_guid(const GUID& guid) {
    static_assert(sizeof(GUID) == sizeof(ContainerId::bytes));
    ContainerId id{};
    std::memcpy(id.bytes, &guid, sizeof id.bytes);
    return id;
}

ContainerId camera_container(const wchar_t* symbolic_link) {
    if (symbolic_link == nullptr || symbolic_link[0] == L'\0') {
        return {};
    }
    const HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        return {};
    }
    const OwnedDeviceInfoSet owned{set};
    SP_DEVICE_INTERFACE_DATA interface_data{};
    interface_data.cbSize = sizeof interface_data;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiOpenDeviceInterfaceW(set, symbolic_link, 0, &interface_data) ||
        (!SetupDiGetDeviceInterfaceDetailW(set, &interface_data, nullptr, 0, nullptr, &device) &&
         GetLastError() != ERROR_INSUFFICIENT_BUFFER)) {
        return {};
    }
    return node_container(device.DevInst);
}

ContainerId computer_container() {
    // The root of the device tree stands for the computer itself.
    DEVINST root = 0;
    if (CM_Locate_DevNodeW(&root, nullptr, CM_LOCATE_DEVNODE_NORMAL) != CR_SUCCESS) {
        return {};
    }
    return node_container(root);
}
