#pragma once
// The container of a camera: Windows gives every function of one physical
// device (a webcam's picture and its microphone, an HDMI dongle's video and
// sound) the same container id, and every device built into the computer
// the computer's own. User-interface thread; no COM needed.

#include <windows.h>

#include "audio/sound_pairing.h"

// The container of the camera with this symbolic link (the device
// interface Media Foundation names it by); all zero when Windows does not
// say, which pairs it with no input.
ContainerId camera_container(const wchar_t* symbolic_link);
// The computer's own container, which built-in devices share; all zero when
// Windows does not say.
ContainerId computer_container();
// A Windows GUID's bytes as a ContainerId holds them.
ContainerId container_of_guid(const GUID& guid);
