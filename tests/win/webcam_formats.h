#pragma once
// The native format list of a real webcam, as published, for the format
// choice tests. A row is "SUBTYPE WxH WxH ... | rate rate ...": every size of
// the row at every rate, sizes outer, which gives the device's own order; the
// order matters because on a full tie the earlier type wins. A rate is frames
// a second ("15/2" is 7.5).

// Source: https://github.com/petminion/petminion/blob/c878151076724017ea0828ae99e96149288ed12e/
//   docs/hardware.md
// `v4l2-ctl --list-formats-ext` output (uvcvideo, Linux 6.5.7), which prints
// each interval as a rounded frame rate. The listing names the card "HD Pro
// Webcam C920" and does not show the USB id.
inline constexpr char logitech_c920[] =
    "YUY2 640x480 160x90 160x120 176x144 320x180 320x240 352x288 | 30 24 20 15 10 15/2 5\n"
    "YUY2 432x240 640x360 800x448 | 30 24 20 15 10 15/2 5\n"
    "YUY2 800x600 864x480 | 24 20 15 10 15/2 5\n"
    "YUY2 960x720 1024x576 | 15 10 15/2 5\n"
    "YUY2 1280x720 | 10 15/2 5\n"
    "YUY2 1600x896 | 15/2 5\n"
    "YUY2 1920x1080 | 5\n"
    "YUY2 2304x1296 2304x1536 | 2\n"
    "H264 640x480 160x90 160x120 176x144 320x180 320x240 352x288 | 30 24 20 15 10 15/2 5\n"
    "H264 432x240 640x360 800x448 800x600 864x480 960x720 1024x576 | 30 24 20 15 10 15/2 5\n"
    "H264 1280x720 1600x896 1920x1080 | 30 24 20 15 10 15/2 5\n"
    "MJPG 640x480 160x90 160x120 176x144 320x180 320x240 352x288 | 30 24 20 15 10 15/2 5\n"
    "MJPG 432x240 640x360 800x448 800x600 864x480 960x720 1024x576 | 30 24 20 15 10 15/2 5\n"
    "MJPG 1280x720 1600x896 1920x1080 | 30 24 20 15 10 15/2 5";

struct Webcam {
    const char* name;
    const char* rows;
    int count;    // types in the list
    int expected; // index of the type the choice should make current
    const char* why;
};

inline constexpr Webcam webcams[] = {
    {"Logitech HD Pro Webcam C920", logitech_c920, 336, 329,
     "MJPG 1920x1080 at 30 fps: the largest size at 24.9 fps or more, tied on size and rate with "
     "H.264 (entry 210), and MJPG is preferred over H.264"},
};
