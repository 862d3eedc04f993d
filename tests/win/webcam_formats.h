#pragma once
// Native format lists of real webcams, as published, for the format choice tests.
#include <cstdint>

enum class WebcamSubtype { NV12, YUY2, RGB32, MJPG, H264, Other };

struct WebcamFormat {
    WebcamSubtype subtype;
    uint32_t width;
    uint32_t height;
    uint32_t fps_numerator; // frame rate as a ratio, e.g. 30/1, or 10000000/333333 from a 333333
                            // (100 ns) interval
    uint32_t fps_denominator;
};

struct Webcam {
    const char* name;   // e.g. "Logitech HD Pro Webcam C920 (046d:082d)"
    const char* source; // where the list was published (URL or repo/path)
    const WebcamFormat* formats;
    int count;
    // The expected pick, as an index into formats, under these rules applied in order:
    // (1) among formats with 1 <= width <= 1920 and 1 <= height <= 1080 only;
    // (2) a format with fps >= 24.9 beats one below it;
    // (3) then the larger width*height wins;
    // (4) then the higher fps wins;
    // (5) then subtype preference NV12 (best) < YUY2 = RGB32 < MJPG < anything else (worst);
    // (6) if still equal, the lower index wins.
    int expected_index;
    const char* why; // one sentence: why that entry wins
};

// Source: https://github.com/petminion/petminion/blob/c878151076724017ea0828ae99e96149288ed12e/
//   docs/hardware.md
// `v4l2-ctl --list-formats-ext` output (uvcvideo, Linux 6.5.7). v4l2-ctl prints each
// interval as a rounded frame rate, so the rates below are those printed (7.500 fps is
// stored as 15/2). The listing names the card "HD Pro Webcam C920" and does not show
// the USB id.
inline constexpr WebcamFormat logitech_c920_formats[] = {
    {WebcamSubtype::YUY2, 640, 480, 30, 1},   // 0
    {WebcamSubtype::YUY2, 640, 480, 24, 1},   // 1
    {WebcamSubtype::YUY2, 640, 480, 20, 1},   // 2
    {WebcamSubtype::YUY2, 640, 480, 15, 1},   // 3
    {WebcamSubtype::YUY2, 640, 480, 10, 1},   // 4
    {WebcamSubtype::YUY2, 640, 480, 15, 2},   // 5
    {WebcamSubtype::YUY2, 640, 480, 5, 1},    // 6
    {WebcamSubtype::YUY2, 160, 90, 30, 1},    // 7
    {WebcamSubtype::YUY2, 160, 90, 24, 1},    // 8
    {WebcamSubtype::YUY2, 160, 90, 20, 1},    // 9
    {WebcamSubtype::YUY2, 160, 90, 15, 1},    // 10
    {WebcamSubtype::YUY2, 160, 90, 10, 1},    // 11
    {WebcamSubtype::YUY2, 160, 90, 15, 2},    // 12
    {WebcamSubtype::YUY2, 160, 90, 5, 1},     // 13
    {WebcamSubtype::YUY2, 160, 120, 30, 1},   // 14
    {WebcamSubtype::YUY2, 160, 120, 24, 1},   // 15
    {WebcamSubtype::YUY2, 160, 120, 20, 1},   // 16
    {WebcamSubtype::YUY2, 160, 120, 15, 1},   // 17
    {WebcamSubtype::YUY2, 160, 120, 10, 1},   // 18
    {WebcamSubtype::YUY2, 160, 120, 15, 2},   // 19
    {WebcamSubtype::YUY2, 160, 120, 5, 1},    // 20
    {WebcamSubtype::YUY2, 176, 144, 30, 1},   // 21
    {WebcamSubtype::YUY2, 176, 144, 24, 1},   // 22
    {WebcamSubtype::YUY2, 176, 144, 20, 1},   // 23
    {WebcamSubtype::YUY2, 176, 144, 15, 1},   // 24
    {WebcamSubtype::YUY2, 176, 144, 10, 1},   // 25
    {WebcamSubtype::YUY2, 176, 144, 15, 2},   // 26
    {WebcamSubtype::YUY2, 176, 144, 5, 1},    // 27
    {WebcamSubtype::YUY2, 320, 180, 30, 1},   // 28
    {WebcamSubtype::YUY2, 320, 180, 24, 1},   // 29
    {WebcamSubtype::YUY2, 320, 180, 20, 1},   // 30
    {WebcamSubtype::YUY2, 320, 180, 15, 1},   // 31
    {WebcamSubtype::YUY2, 320, 180, 10, 1},   // 32
    {WebcamSubtype::YUY2, 320, 180, 15, 2},   // 33
    {WebcamSubtype::YUY2, 320, 180, 5, 1},    // 34
    {WebcamSubtype::YUY2, 320, 240, 30, 1},   // 35
    {WebcamSubtype::YUY2, 320, 240, 24, 1},   // 36
    {WebcamSubtype::YUY2, 320, 240, 20, 1},   // 37
    {WebcamSubtype::YUY2, 320, 240, 15, 1},   // 38
    {WebcamSubtype::YUY2, 320, 240, 10, 1},   // 39
    {WebcamSubtype::YUY2, 320, 240, 15, 2},   // 40
    {WebcamSubtype::YUY2, 320, 240, 5, 1},    // 41
    {WebcamSubtype::YUY2, 352, 288, 30, 1},   // 42
    {WebcamSubtype::YUY2, 352, 288, 24, 1},   // 43
    {WebcamSubtype::YUY2, 352, 288, 20, 1},   // 44
    {WebcamSubtype::YUY2, 352, 288, 15, 1},   // 45
    {WebcamSubtype::YUY2, 352, 288, 10, 1},   // 46
    {WebcamSubtype::YUY2, 352, 288, 15, 2},   // 47
    {WebcamSubtype::YUY2, 352, 288, 5, 1},    // 48
    {WebcamSubtype::YUY2, 432, 240, 30, 1},   // 49
    {WebcamSubtype::YUY2, 432, 240, 24, 1},   // 50
    {WebcamSubtype::YUY2, 432, 240, 20, 1},   // 51
    {WebcamSubtype::YUY2, 432, 240, 15, 1},   // 52
    {WebcamSubtype::YUY2, 432, 240, 10, 1},   // 53
    {WebcamSubtype::YUY2, 432, 240, 15, 2},   // 54
    {WebcamSubtype::YUY2, 432, 240, 5, 1},    // 55
    {WebcamSubtype::YUY2, 640, 360, 30, 1},   // 56
    {WebcamSubtype::YUY2, 640, 360, 24, 1},   // 57
    {WebcamSubtype::YUY2, 640, 360, 20, 1},   // 58
    {WebcamSubtype::YUY2, 640, 360, 15, 1},   // 59
    {WebcamSubtype::YUY2, 640, 360, 10, 1},   // 60
    {WebcamSubtype::YUY2, 640, 360, 15, 2},   // 61
    {WebcamSubtype::YUY2, 640, 360, 5, 1},    // 62
    {WebcamSubtype::YUY2, 800, 448, 30, 1},   // 63
    {WebcamSubtype::YUY2, 800, 448, 24, 1},   // 64
    {WebcamSubtype::YUY2, 800, 448, 20, 1},   // 65
    {WebcamSubtype::YUY2, 800, 448, 15, 1},   // 66
    {WebcamSubtype::YUY2, 800, 448, 10, 1},   // 67
    {WebcamSubtype::YUY2, 800, 448, 15, 2},   // 68
    {WebcamSubtype::YUY2, 800, 448, 5, 1},    // 69
    {WebcamSubtype::YUY2, 800, 600, 24, 1},   // 70
    {WebcamSubtype::YUY2, 800, 600, 20, 1},   // 71
    {WebcamSubtype::YUY2, 800, 600, 15, 1},   // 72
    {WebcamSubtype::YUY2, 800, 600, 10, 1},   // 73
    {WebcamSubtype::YUY2, 800, 600, 15, 2},   // 74
    {WebcamSubtype::YUY2, 800, 600, 5, 1},    // 75
    {WebcamSubtype::YUY2, 864, 480, 24, 1},   // 76
    {WebcamSubtype::YUY2, 864, 480, 20, 1},   // 77
    {WebcamSubtype::YUY2, 864, 480, 15, 1},   // 78
    {WebcamSubtype::YUY2, 864, 480, 10, 1},   // 79
    {WebcamSubtype::YUY2, 864, 480, 15, 2},   // 80
    {WebcamSubtype::YUY2, 864, 480, 5, 1},    // 81
    {WebcamSubtype::YUY2, 960, 720, 15, 1},   // 82
    {WebcamSubtype::YUY2, 960, 720, 10, 1},   // 83
    {WebcamSubtype::YUY2, 960, 720, 15, 2},   // 84
    {WebcamSubtype::YUY2, 960, 720, 5, 1},    // 85
    {WebcamSubtype::YUY2, 1024, 576, 15, 1},  // 86
    {WebcamSubtype::YUY2, 1024, 576, 10, 1},  // 87
    {WebcamSubtype::YUY2, 1024, 576, 15, 2},  // 88
    {WebcamSubtype::YUY2, 1024, 576, 5, 1},   // 89
    {WebcamSubtype::YUY2, 1280, 720, 10, 1},  // 90
    {WebcamSubtype::YUY2, 1280, 720, 15, 2},  // 91
    {WebcamSubtype::YUY2, 1280, 720, 5, 1},   // 92
    {WebcamSubtype::YUY2, 1600, 896, 15, 2},  // 93
    {WebcamSubtype::YUY2, 1600, 896, 5, 1},   // 94
    {WebcamSubtype::YUY2, 1920, 1080, 5, 1},  // 95
    {WebcamSubtype::YUY2, 2304, 1296, 2, 1},  // 96
    {WebcamSubtype::YUY2, 2304, 1536, 2, 1},  // 97
    {WebcamSubtype::H264, 640, 480, 30, 1},   // 98
    {WebcamSubtype::H264, 640, 480, 24, 1},   // 99
    {WebcamSubtype::H264, 640, 480, 20, 1},   // 100
    {WebcamSubtype::H264, 640, 480, 15, 1},   // 101
    {WebcamSubtype::H264, 640, 480, 10, 1},   // 102
    {WebcamSubtype::H264, 640, 480, 15, 2},   // 103
    {WebcamSubtype::H264, 640, 480, 5, 1},    // 104
    {WebcamSubtype::H264, 160, 90, 30, 1},    // 105
    {WebcamSubtype::H264, 160, 90, 24, 1},    // 106
    {WebcamSubtype::H264, 160, 90, 20, 1},    // 107
    {WebcamSubtype::H264, 160, 90, 15, 1},    // 108
    {WebcamSubtype::H264, 160, 90, 10, 1},    // 109
    {WebcamSubtype::H264, 160, 90, 15, 2},    // 110
    {WebcamSubtype::H264, 160, 90, 5, 1},     // 111
    {WebcamSubtype::H264, 160, 120, 30, 1},   // 112
    {WebcamSubtype::H264, 160, 120, 24, 1},   // 113
    {WebcamSubtype::H264, 160, 120, 20, 1},   // 114
    {WebcamSubtype::H264, 160, 120, 15, 1},   // 115
    {WebcamSubtype::H264, 160, 120, 10, 1},   // 116
    {WebcamSubtype::H264, 160, 120, 15, 2},   // 117
    {WebcamSubtype::H264, 160, 120, 5, 1},    // 118
    {WebcamSubtype::H264, 176, 144, 30, 1},   // 119
    {WebcamSubtype::H264, 176, 144, 24, 1},   // 120
    {WebcamSubtype::H264, 176, 144, 20, 1},   // 121
    {WebcamSubtype::H264, 176, 144, 15, 1},   // 122
    {WebcamSubtype::H264, 176, 144, 10, 1},   // 123
    {WebcamSubtype::H264, 176, 144, 15, 2},   // 124
    {WebcamSubtype::H264, 176, 144, 5, 1},    // 125
    {WebcamSubtype::H264, 320, 180, 30, 1},   // 126
    {WebcamSubtype::H264, 320, 180, 24, 1},   // 127
    {WebcamSubtype::H264, 320, 180, 20, 1},   // 128
    {WebcamSubtype::H264, 320, 180, 15, 1},   // 129
    {WebcamSubtype::H264, 320, 180, 10, 1},   // 130
    {WebcamSubtype::H264, 320, 180, 15, 2},   // 131
    {WebcamSubtype::H264, 320, 180, 5, 1},    // 132
    {WebcamSubtype::H264, 320, 240, 30, 1},   // 133
    {WebcamSubtype::H264, 320, 240, 24, 1},   // 134
    {WebcamSubtype::H264, 320, 240, 20, 1},   // 135
    {WebcamSubtype::H264, 320, 240, 15, 1},   // 136
    {WebcamSubtype::H264, 320, 240, 10, 1},   // 137
    {WebcamSubtype::H264, 320, 240, 15, 2},   // 138
    {WebcamSubtype::H264, 320, 240, 5, 1},    // 139
    {WebcamSubtype::H264, 352, 288, 30, 1},   // 140
    {WebcamSubtype::H264, 352, 288, 24, 1},   // 141
    {WebcamSubtype::H264, 352, 288, 20, 1},   // 142
    {WebcamSubtype::H264, 352, 288, 15, 1},   // 143
    {WebcamSubtype::H264, 352, 288, 10, 1},   // 144
    {WebcamSubtype::H264, 352, 288, 15, 2},   // 145
    {WebcamSubtype::H264, 352, 288, 5, 1},    // 146
    {WebcamSubtype::H264, 432, 240, 30, 1},   // 147
    {WebcamSubtype::H264, 432, 240, 24, 1},   // 148
    {WebcamSubtype::H264, 432, 240, 20, 1},   // 149
    {WebcamSubtype::H264, 432, 240, 15, 1},   // 150
    {WebcamSubtype::H264, 432, 240, 10, 1},   // 151
    {WebcamSubtype::H264, 432, 240, 15, 2},   // 152
    {WebcamSubtype::H264, 432, 240, 5, 1},    // 153
    {WebcamSubtype::H264, 640, 360, 30, 1},   // 154
    {WebcamSubtype::H264, 640, 360, 24, 1},   // 155
    {WebcamSubtype::H264, 640, 360, 20, 1},   // 156
    {WebcamSubtype::H264, 640, 360, 15, 1},   // 157
    {WebcamSubtype::H264, 640, 360, 10, 1},   // 158
    {WebcamSubtype::H264, 640, 360, 15, 2},   // 159
    {WebcamSubtype::H264, 640, 360, 5, 1},    // 160
    {WebcamSubtype::H264, 800, 448, 30, 1},   // 161
    {WebcamSubtype::H264, 800, 448, 24, 1},   // 162
    {WebcamSubtype::H264, 800, 448, 20, 1},   // 163
    {WebcamSubtype::H264, 800, 448, 15, 1},   // 164
    {WebcamSubtype::H264, 800, 448, 10, 1},   // 165
    {WebcamSubtype::H264, 800, 448, 15, 2},   // 166
    {WebcamSubtype::H264, 800, 448, 5, 1},    // 167
    {WebcamSubtype::H264, 800, 600, 30, 1},   // 168
    {WebcamSubtype::H264, 800, 600, 24, 1},   // 169
    {WebcamSubtype::H264, 800, 600, 20, 1},   // 170
    {WebcamSubtype::H264, 800, 600, 15, 1},   // 171
    {WebcamSubtype::H264, 800, 600, 10, 1},   // 172
    {WebcamSubtype::H264, 800, 600, 15, 2},   // 173
    {WebcamSubtype::H264, 800, 600, 5, 1},    // 174
    {WebcamSubtype::H264, 864, 480, 30, 1},   // 175
    {WebcamSubtype::H264, 864, 480, 24, 1},   // 176
    {WebcamSubtype::H264, 864, 480, 20, 1},   // 177
    {WebcamSubtype::H264, 864, 480, 15, 1},   // 178
    {WebcamSubtype::H264, 864, 480, 10, 1},   // 179
    {WebcamSubtype::H264, 864, 480, 15, 2},   // 180
    {WebcamSubtype::H264, 864, 480, 5, 1},    // 181
    {WebcamSubtype::H264, 960, 720, 30, 1},   // 182
    {WebcamSubtype::H264, 960, 720, 24, 1},   // 183
    {WebcamSubtype::H264, 960, 720, 20, 1},   // 184
    {WebcamSubtype::H264, 960, 720, 15, 1},   // 185
    {WebcamSubtype::H264, 960, 720, 10, 1},   // 186
    {WebcamSubtype::H264, 960, 720, 15, 2},   // 187
    {WebcamSubtype::H264, 960, 720, 5, 1},    // 188
    {WebcamSubtype::H264, 1024, 576, 30, 1},  // 189
    {WebcamSubtype::H264, 1024, 576, 24, 1},  // 190
    {WebcamSubtype::H264, 1024, 576, 20, 1},  // 191
    {WebcamSubtype::H264, 1024, 576, 15, 1},  // 192
    {WebcamSubtype::H264, 1024, 576, 10, 1},  // 193
    {WebcamSubtype::H264, 1024, 576, 15, 2},  // 194
    {WebcamSubtype::H264, 1024, 576, 5, 1},   // 195
    {WebcamSubtype::H264, 1280, 720, 30, 1},  // 196
    {WebcamSubtype::H264, 1280, 720, 24, 1},  // 197
    {WebcamSubtype::H264, 1280, 720, 20, 1},  // 198
    {WebcamSubtype::H264, 1280, 720, 15, 1},  // 199
    {WebcamSubtype::H264, 1280, 720, 10, 1},  // 200
    {WebcamSubtype::H264, 1280, 720, 15, 2},  // 201
    {WebcamSubtype::H264, 1280, 720, 5, 1},   // 202
    {WebcamSubtype::H264, 1600, 896, 30, 1},  // 203
    {WebcamSubtype::H264, 1600, 896, 24, 1},  // 204
    {WebcamSubtype::H264, 1600, 896, 20, 1},  // 205
    {WebcamSubtype::H264, 1600, 896, 15, 1},  // 206
    {WebcamSubtype::H264, 1600, 896, 10, 1},  // 207
    {WebcamSubtype::H264, 1600, 896, 15, 2},  // 208
    {WebcamSubtype::H264, 1600, 896, 5, 1},   // 209
    {WebcamSubtype::H264, 1920, 1080, 30, 1}, // 210
    {WebcamSubtype::H264, 1920, 1080, 24, 1}, // 211
    {WebcamSubtype::H264, 1920, 1080, 20, 1}, // 212
    {WebcamSubtype::H264, 1920, 1080, 15, 1}, // 213
    {WebcamSubtype::H264, 1920, 1080, 10, 1}, // 214
    {WebcamSubtype::H264, 1920, 1080, 15, 2}, // 215
    {WebcamSubtype::H264, 1920, 1080, 5, 1},  // 216
    {WebcamSubtype::MJPG, 640, 480, 30, 1},   // 217
    {WebcamSubtype::MJPG, 640, 480, 24, 1},   // 218
    {WebcamSubtype::MJPG, 640, 480, 20, 1},   // 219
    {WebcamSubtype::MJPG, 640, 480, 15, 1},   // 220
    {WebcamSubtype::MJPG, 640, 480, 10, 1},   // 221
    {WebcamSubtype::MJPG, 640, 480, 15, 2},   // 222
    {WebcamSubtype::MJPG, 640, 480, 5, 1},    // 223
    {WebcamSubtype::MJPG, 160, 90, 30, 1},    // 224
    {WebcamSubtype::MJPG, 160, 90, 24, 1},    // 225
    {WebcamSubtype::MJPG, 160, 90, 20, 1},    // 226
    {WebcamSubtype::MJPG, 160, 90, 15, 1},    // 227
    {WebcamSubtype::MJPG, 160, 90, 10, 1},    // 228
    {WebcamSubtype::MJPG, 160, 90, 15, 2},    // 229
    {WebcamSubtype::MJPG, 160, 90, 5, 1},     // 230
    {WebcamSubtype::MJPG, 160, 120, 30, 1},   // 231
    {WebcamSubtype::MJPG, 160, 120, 24, 1},   // 232
    {WebcamSubtype::MJPG, 160, 120, 20, 1},   // 233
    {WebcamSubtype::MJPG, 160, 120, 15, 1},   // 234
    {WebcamSubtype::MJPG, 160, 120, 10, 1},   // 235
    {WebcamSubtype::MJPG, 160, 120, 15, 2},   // 236
    {WebcamSubtype::MJPG, 160, 120, 5, 1},    // 237
    {WebcamSubtype::MJPG, 176, 144, 30, 1},   // 238
    {WebcamSubtype::MJPG, 176, 144, 24, 1},   // 239
    {WebcamSubtype::MJPG, 176, 144, 20, 1},   // 240
    {WebcamSubtype::MJPG, 176, 144, 15, 1},   // 241
    {WebcamSubtype::MJPG, 176, 144, 10, 1},   // 242
    {WebcamSubtype::MJPG, 176, 144, 15, 2},   // 243
    {WebcamSubtype::MJPG, 176, 144, 5, 1},    // 244
    {WebcamSubtype::MJPG, 320, 180, 30, 1},   // 245
    {WebcamSubtype::MJPG, 320, 180, 24, 1},   // 246
    {WebcamSubtype::MJPG, 320, 180, 20, 1},   // 247
    {WebcamSubtype::MJPG, 320, 180, 15, 1},   // 248
    {WebcamSubtype::MJPG, 320, 180, 10, 1},   // 249
    {WebcamSubtype::MJPG, 320, 180, 15, 2},   // 250
    {WebcamSubtype::MJPG, 320, 180, 5, 1},    // 251
    {WebcamSubtype::MJPG, 320, 240, 30, 1},   // 252
    {WebcamSubtype::MJPG, 320, 240, 24, 1},   // 253
    {WebcamSubtype::MJPG, 320, 240, 20, 1},   // 254
    {WebcamSubtype::MJPG, 320, 240, 15, 1},   // 255
    {WebcamSubtype::MJPG, 320, 240, 10, 1},   // 256
    {WebcamSubtype::MJPG, 320, 240, 15, 2},   // 257
    {WebcamSubtype::MJPG, 320, 240, 5, 1},    // 258
    {WebcamSubtype::MJPG, 352, 288, 30, 1},   // 259
    {WebcamSubtype::MJPG, 352, 288, 24, 1},   // 260
    {WebcamSubtype::MJPG, 352, 288, 20, 1},   // 261
    {WebcamSubtype::MJPG, 352, 288, 15, 1},   // 262
    {WebcamSubtype::MJPG, 352, 288, 10, 1},   // 263
    {WebcamSubtype::MJPG, 352, 288, 15, 2},   // 264
    {WebcamSubtype::MJPG, 352, 288, 5, 1},    // 265
    {WebcamSubtype::MJPG, 432, 240, 30, 1},   // 266
    {WebcamSubtype::MJPG, 432, 240, 24, 1},   // 267
    {WebcamSubtype::MJPG, 432, 240, 20, 1},   // 268
    {WebcamSubtype::MJPG, 432, 240, 15, 1},   // 269
    {WebcamSubtype::MJPG, 432, 240, 10, 1},   // 270
    {WebcamSubtype::MJPG, 432, 240, 15, 2},   // 271
    {WebcamSubtype::MJPG, 432, 240, 5, 1},    // 272
    {WebcamSubtype::MJPG, 640, 360, 30, 1},   // 273
    {WebcamSubtype::MJPG, 640, 360, 24, 1},   // 274
    {WebcamSubtype::MJPG, 640, 360, 20, 1},   // 275
    {WebcamSubtype::MJPG, 640, 360, 15, 1},   // 276
    {WebcamSubtype::MJPG, 640, 360, 10, 1},   // 277
    {WebcamSubtype::MJPG, 640, 360, 15, 2},   // 278
    {WebcamSubtype::MJPG, 640, 360, 5, 1},    // 279
    {WebcamSubtype::MJPG, 800, 448, 30, 1},   // 280
    {WebcamSubtype::MJPG, 800, 448, 24, 1},   // 281
    {WebcamSubtype::MJPG, 800, 448, 20, 1},   // 282
    {WebcamSubtype::MJPG, 800, 448, 15, 1},   // 283
    {WebcamSubtype::MJPG, 800, 448, 10, 1},   // 284
    {WebcamSubtype::MJPG, 800, 448, 15, 2},   // 285
    {WebcamSubtype::MJPG, 800, 448, 5, 1},    // 286
    {WebcamSubtype::MJPG, 800, 600, 30, 1},   // 287
    {WebcamSubtype::MJPG, 800, 600, 24, 1},   // 288
    {WebcamSubtype::MJPG, 800, 600, 20, 1},   // 289
    {WebcamSubtype::MJPG, 800, 600, 15, 1},   // 290
    {WebcamSubtype::MJPG, 800, 600, 10, 1},   // 291
    {WebcamSubtype::MJPG, 800, 600, 15, 2},   // 292
    {WebcamSubtype::MJPG, 800, 600, 5, 1},    // 293
    {WebcamSubtype::MJPG, 864, 480, 30, 1},   // 294
    {WebcamSubtype::MJPG, 864, 480, 24, 1},   // 295
    {WebcamSubtype::MJPG, 864, 480, 20, 1},   // 296
    {WebcamSubtype::MJPG, 864, 480, 15, 1},   // 297
    {WebcamSubtype::MJPG, 864, 480, 10, 1},   // 298
    {WebcamSubtype::MJPG, 864, 480, 15, 2},   // 299
    {WebcamSubtype::MJPG, 864, 480, 5, 1},    // 300
    {WebcamSubtype::MJPG, 960, 720, 30, 1},   // 301
    {WebcamSubtype::MJPG, 960, 720, 24, 1},   // 302
    {WebcamSubtype::MJPG, 960, 720, 20, 1},   // 303
    {WebcamSubtype::MJPG, 960, 720, 15, 1},   // 304
    {WebcamSubtype::MJPG, 960, 720, 10, 1},   // 305
    {WebcamSubtype::MJPG, 960, 720, 15, 2},   // 306
    {WebcamSubtype::MJPG, 960, 720, 5, 1},    // 307
    {WebcamSubtype::MJPG, 1024, 576, 30, 1},  // 308
    {WebcamSubtype::MJPG, 1024, 576, 24, 1},  // 309
    {WebcamSubtype::MJPG, 1024, 576, 20, 1},  // 310
    {WebcamSubtype::MJPG, 1024, 576, 15, 1},  // 311
    {WebcamSubtype::MJPG, 1024, 576, 10, 1},  // 312
    {WebcamSubtype::MJPG, 1024, 576, 15, 2},  // 313
    {WebcamSubtype::MJPG, 1024, 576, 5, 1},   // 314
    {WebcamSubtype::MJPG, 1280, 720, 30, 1},  // 315
    {WebcamSubtype::MJPG, 1280, 720, 24, 1},  // 316
    {WebcamSubtype::MJPG, 1280, 720, 20, 1},  // 317
    {WebcamSubtype::MJPG, 1280, 720, 15, 1},  // 318
    {WebcamSubtype::MJPG, 1280, 720, 10, 1},  // 319
    {WebcamSubtype::MJPG, 1280, 720, 15, 2},  // 320
    {WebcamSubtype::MJPG, 1280, 720, 5, 1},   // 321
    {WebcamSubtype::MJPG, 1600, 896, 30, 1},  // 322
    {WebcamSubtype::MJPG, 1600, 896, 24, 1},  // 323
    {WebcamSubtype::MJPG, 1600, 896, 20, 1},  // 324
    {WebcamSubtype::MJPG, 1600, 896, 15, 1},  // 325
    {WebcamSubtype::MJPG, 1600, 896, 10, 1},  // 326
    {WebcamSubtype::MJPG, 1600, 896, 15, 2},  // 327
    {WebcamSubtype::MJPG, 1600, 896, 5, 1},   // 328
    {WebcamSubtype::MJPG, 1920, 1080, 30, 1}, // 329
    {WebcamSubtype::MJPG, 1920, 1080, 24, 1}, // 330
    {WebcamSubtype::MJPG, 1920, 1080, 20, 1}, // 331
    {WebcamSubtype::MJPG, 1920, 1080, 15, 1}, // 332
    {WebcamSubtype::MJPG, 1920, 1080, 10, 1}, // 333
    {WebcamSubtype::MJPG, 1920, 1080, 15, 2}, // 334
    {WebcamSubtype::MJPG, 1920, 1080, 5, 1},  // 335
};

// Source: https://github.com/espressif/esp-usb/blob/555db55196f4e0428c18f10ace54751b9d6fe80c/
//   host/class/uvc/usb_host_uvc/host_test/main/parsing/descriptors/logitech_c270.hpp
// USB Device Tree Viewer dump of the UVC descriptors (Windows, High-Speed). The
// streaming header announces 3 formats but only YUY2 and MJPEG descriptors follow.
inline constexpr WebcamFormat logitech_c270_formats[] = {
    {WebcamSubtype::YUY2, 640, 480, 10000000, 333333},   // 0
    {WebcamSubtype::YUY2, 640, 480, 10000000, 400000},   // 1
    {WebcamSubtype::YUY2, 640, 480, 10000000, 500000},   // 2
    {WebcamSubtype::YUY2, 640, 480, 10000000, 666666},   // 3
    {WebcamSubtype::YUY2, 640, 480, 10000000, 1000000},  // 4
    {WebcamSubtype::YUY2, 640, 480, 10000000, 2000000},  // 5
    {WebcamSubtype::YUY2, 160, 120, 10000000, 333333},   // 6
    {WebcamSubtype::YUY2, 160, 120, 10000000, 400000},   // 7
    {WebcamSubtype::YUY2, 160, 120, 10000000, 500000},   // 8
    {WebcamSubtype::YUY2, 160, 120, 10000000, 666666},   // 9
    {WebcamSubtype::YUY2, 160, 120, 10000000, 1000000},  // 10
    {WebcamSubtype::YUY2, 160, 120, 10000000, 2000000},  // 11
    {WebcamSubtype::YUY2, 176, 144, 10000000, 333333},   // 12
    {WebcamSubtype::YUY2, 176, 144, 10000000, 400000},   // 13
    {WebcamSubtype::YUY2, 176, 144, 10000000, 500000},   // 14
    {WebcamSubtype::YUY2, 176, 144, 10000000, 666666},   // 15
    {WebcamSubtype::YUY2, 176, 144, 10000000, 1000000},  // 16
    {WebcamSubtype::YUY2, 176, 144, 10000000, 2000000},  // 17
    {WebcamSubtype::YUY2, 320, 176, 10000000, 333333},   // 18
    {WebcamSubtype::YUY2, 320, 176, 10000000, 400000},   // 19
    {WebcamSubtype::YUY2, 320, 176, 10000000, 500000},   // 20
    {WebcamSubtype::YUY2, 320, 176, 10000000, 666666},   // 21
    {WebcamSubtype::YUY2, 320, 176, 10000000, 1000000},  // 22
    {WebcamSubtype::YUY2, 320, 176, 10000000, 2000000},  // 23
    {WebcamSubtype::YUY2, 320, 240, 10000000, 333333},   // 24
    {WebcamSubtype::YUY2, 320, 240, 10000000, 400000},   // 25
    {WebcamSubtype::YUY2, 320, 240, 10000000, 500000},   // 26
    {WebcamSubtype::YUY2, 320, 240, 10000000, 666666},   // 27
    {WebcamSubtype::YUY2, 320, 240, 10000000, 1000000},  // 28
    {WebcamSubtype::YUY2, 320, 240, 10000000, 2000000},  // 29
    {WebcamSubtype::YUY2, 352, 288, 10000000, 333333},   // 30
    {WebcamSubtype::YUY2, 352, 288, 10000000, 400000},   // 31
    {WebcamSubtype::YUY2, 352, 288, 10000000, 500000},   // 32
    {WebcamSubtype::YUY2, 352, 288, 10000000, 666666},   // 33
    {WebcamSubtype::YUY2, 352, 288, 10000000, 1000000},  // 34
    {WebcamSubtype::YUY2, 352, 288, 10000000, 2000000},  // 35
    {WebcamSubtype::YUY2, 432, 240, 10000000, 333333},   // 36
    {WebcamSubtype::YUY2, 432, 240, 10000000, 400000},   // 37
    {WebcamSubtype::YUY2, 432, 240, 10000000, 500000},   // 38
    {WebcamSubtype::YUY2, 432, 240, 10000000, 666666},   // 39
    {WebcamSubtype::YUY2, 432, 240, 10000000, 1000000},  // 40
    {WebcamSubtype::YUY2, 432, 240, 10000000, 2000000},  // 41
    {WebcamSubtype::YUY2, 544, 288, 10000000, 333333},   // 42
    {WebcamSubtype::YUY2, 544, 288, 10000000, 400000},   // 43
    {WebcamSubtype::YUY2, 544, 288, 10000000, 500000},   // 44
    {WebcamSubtype::YUY2, 544, 288, 10000000, 666666},   // 45
    {WebcamSubtype::YUY2, 544, 288, 10000000, 1000000},  // 46
    {WebcamSubtype::YUY2, 544, 288, 10000000, 2000000},  // 47
    {WebcamSubtype::YUY2, 640, 360, 10000000, 333333},   // 48
    {WebcamSubtype::YUY2, 640, 360, 10000000, 400000},   // 49
    {WebcamSubtype::YUY2, 640, 360, 10000000, 500000},   // 50
    {WebcamSubtype::YUY2, 640, 360, 10000000, 666666},   // 51
    {WebcamSubtype::YUY2, 640, 360, 10000000, 1000000},  // 52
    {WebcamSubtype::YUY2, 640, 360, 10000000, 2000000},  // 53
    {WebcamSubtype::YUY2, 752, 416, 10000000, 400000},   // 54
    {WebcamSubtype::YUY2, 752, 416, 10000000, 500000},   // 55
    {WebcamSubtype::YUY2, 752, 416, 10000000, 666666},   // 56
    {WebcamSubtype::YUY2, 752, 416, 10000000, 1000000},  // 57
    {WebcamSubtype::YUY2, 752, 416, 10000000, 2000000},  // 58
    {WebcamSubtype::YUY2, 800, 448, 10000000, 500000},   // 59
    {WebcamSubtype::YUY2, 800, 448, 10000000, 666666},   // 60
    {WebcamSubtype::YUY2, 800, 448, 10000000, 1000000},  // 61
    {WebcamSubtype::YUY2, 800, 448, 10000000, 2000000},  // 62
    {WebcamSubtype::YUY2, 800, 600, 10000000, 500000},   // 63
    {WebcamSubtype::YUY2, 800, 600, 10000000, 666666},   // 64
    {WebcamSubtype::YUY2, 800, 600, 10000000, 1000000},  // 65
    {WebcamSubtype::YUY2, 800, 600, 10000000, 2000000},  // 66
    {WebcamSubtype::YUY2, 864, 480, 10000000, 500000},   // 67
    {WebcamSubtype::YUY2, 864, 480, 10000000, 666666},   // 68
    {WebcamSubtype::YUY2, 864, 480, 10000000, 1000000},  // 69
    {WebcamSubtype::YUY2, 864, 480, 10000000, 2000000},  // 70
    {WebcamSubtype::YUY2, 960, 544, 10000000, 666666},   // 71
    {WebcamSubtype::YUY2, 960, 544, 10000000, 1000000},  // 72
    {WebcamSubtype::YUY2, 960, 544, 10000000, 2000000},  // 73
    {WebcamSubtype::YUY2, 960, 720, 10000000, 1000000},  // 74
    {WebcamSubtype::YUY2, 960, 720, 10000000, 2000000},  // 75
    {WebcamSubtype::YUY2, 1024, 576, 10000000, 1000000}, // 76
    {WebcamSubtype::YUY2, 1024, 576, 10000000, 2000000}, // 77
    {WebcamSubtype::YUY2, 1184, 656, 10000000, 1000000}, // 78
    {WebcamSubtype::YUY2, 1184, 656, 10000000, 2000000}, // 79
    {WebcamSubtype::YUY2, 1280, 720, 10000000, 1333333}, // 80
    {WebcamSubtype::YUY2, 1280, 720, 10000000, 2000000}, // 81
    {WebcamSubtype::YUY2, 1280, 960, 10000000, 1333333}, // 82
    {WebcamSubtype::YUY2, 1280, 960, 10000000, 2000000}, // 83
    {WebcamSubtype::MJPG, 640, 480, 10000000, 333333},   // 84
    {WebcamSubtype::MJPG, 640, 480, 10000000, 400000},   // 85
    {WebcamSubtype::MJPG, 640, 480, 10000000, 500000},   // 86
    {WebcamSubtype::MJPG, 640, 480, 10000000, 666666},   // 87
    {WebcamSubtype::MJPG, 640, 480, 10000000, 1000000},  // 88
    {WebcamSubtype::MJPG, 640, 480, 10000000, 2000000},  // 89
    {WebcamSubtype::MJPG, 160, 120, 10000000, 333333},   // 90
    {WebcamSubtype::MJPG, 160, 120, 10000000, 400000},   // 91
    {WebcamSubtype::MJPG, 160, 120, 10000000, 500000},   // 92
    {WebcamSubtype::MJPG, 160, 120, 10000000, 666666},   // 93
    {WebcamSubtype::MJPG, 160, 120, 10000000, 1000000},  // 94
    {WebcamSubtype::MJPG, 160, 120, 10000000, 2000000},  // 95
    {WebcamSubtype::MJPG, 176, 144, 10000000, 333333},   // 96
    {WebcamSubtype::MJPG, 176, 144, 10000000, 400000},   // 97
    {WebcamSubtype::MJPG, 176, 144, 10000000, 500000},   // 98
    {WebcamSubtype::MJPG, 176, 144, 10000000, 666666},   // 99
    {WebcamSubtype::MJPG, 176, 144, 10000000, 1000000},  // 100
    {WebcamSubtype::MJPG, 176, 144, 10000000, 2000000},  // 101
    {WebcamSubtype::MJPG, 320, 176, 10000000, 333333},   // 102
    {WebcamSubtype::MJPG, 320, 176, 10000000, 400000},   // 103
    {WebcamSubtype::MJPG, 320, 176, 10000000, 500000},   // 104
    {WebcamSubtype::MJPG, 320, 176, 10000000, 666666},   // 105
    {WebcamSubtype::MJPG, 320, 176, 10000000, 1000000},  // 106
    {WebcamSubtype::MJPG, 320, 176, 10000000, 2000000},  // 107
    {WebcamSubtype::MJPG, 320, 240, 10000000, 333333},   // 108
    {WebcamSubtype::MJPG, 320, 240, 10000000, 400000},   // 109
    {WebcamSubtype::MJPG, 320, 240, 10000000, 500000},   // 110
    {WebcamSubtype::MJPG, 320, 240, 10000000, 666666},   // 111
    {WebcamSubtype::MJPG, 320, 240, 10000000, 1000000},  // 112
    {WebcamSubtype::MJPG, 320, 240, 10000000, 2000000},  // 113
    {WebcamSubtype::MJPG, 352, 288, 10000000, 333333},   // 114
    {WebcamSubtype::MJPG, 352, 288, 10000000, 400000},   // 115
    {WebcamSubtype::MJPG, 352, 288, 10000000, 500000},   // 116
    {WebcamSubtype::MJPG, 352, 288, 10000000, 666666},   // 117
    {WebcamSubtype::MJPG, 352, 288, 10000000, 1000000},  // 118
    {WebcamSubtype::MJPG, 352, 288, 10000000, 2000000},  // 119
    {WebcamSubtype::MJPG, 432, 240, 10000000, 333333},   // 120
    {WebcamSubtype::MJPG, 432, 240, 10000000, 400000},   // 121
    {WebcamSubtype::MJPG, 432, 240, 10000000, 500000},   // 122
    {WebcamSubtype::MJPG, 432, 240, 10000000, 666666},   // 123
    {WebcamSubtype::MJPG, 432, 240, 10000000, 1000000},  // 124
    {WebcamSubtype::MJPG, 432, 240, 10000000, 2000000},  // 125
    {WebcamSubtype::MJPG, 544, 288, 10000000, 333333},   // 126
    {WebcamSubtype::MJPG, 544, 288, 10000000, 400000},   // 127
    {WebcamSubtype::MJPG, 544, 288, 10000000, 500000},   // 128
    {WebcamSubtype::MJPG, 544, 288, 10000000, 666666},   // 129
    {WebcamSubtype::MJPG, 544, 288, 10000000, 1000000},  // 130
    {WebcamSubtype::MJPG, 544, 288, 10000000, 2000000},  // 131
    {WebcamSubtype::MJPG, 640, 360, 10000000, 333333},   // 132
    {WebcamSubtype::MJPG, 640, 360, 10000000, 400000},   // 133
    {WebcamSubtype::MJPG, 640, 360, 10000000, 500000},   // 134
    {WebcamSubtype::MJPG, 640, 360, 10000000, 666666},   // 135
    {WebcamSubtype::MJPG, 640, 360, 10000000, 1000000},  // 136
    {WebcamSubtype::MJPG, 640, 360, 10000000, 2000000},  // 137
    {WebcamSubtype::MJPG, 752, 416, 10000000, 333333},   // 138
    {WebcamSubtype::MJPG, 752, 416, 10000000, 400000},   // 139
    {WebcamSubtype::MJPG, 752, 416, 10000000, 500000},   // 140
    {WebcamSubtype::MJPG, 752, 416, 10000000, 666666},   // 141
    {WebcamSubtype::MJPG, 752, 416, 10000000, 1000000},  // 142
    {WebcamSubtype::MJPG, 752, 416, 10000000, 2000000},  // 143
    {WebcamSubtype::MJPG, 800, 448, 10000000, 333333},   // 144
    {WebcamSubtype::MJPG, 800, 448, 10000000, 400000},   // 145
    {WebcamSubtype::MJPG, 800, 448, 10000000, 500000},   // 146
    {WebcamSubtype::MJPG, 800, 448, 10000000, 666666},   // 147
    {WebcamSubtype::MJPG, 800, 448, 10000000, 1000000},  // 148
    {WebcamSubtype::MJPG, 800, 448, 10000000, 2000000},  // 149
    {WebcamSubtype::MJPG, 800, 600, 10000000, 333333},   // 150
    {WebcamSubtype::MJPG, 800, 600, 10000000, 400000},   // 151
    {WebcamSubtype::MJPG, 800, 600, 10000000, 500000},   // 152
    {WebcamSubtype::MJPG, 800, 600, 10000000, 666666},   // 153
    {WebcamSubtype::MJPG, 800, 600, 10000000, 1000000},  // 154
    {WebcamSubtype::MJPG, 800, 600, 10000000, 2000000},  // 155
    {WebcamSubtype::MJPG, 864, 480, 10000000, 333333},   // 156
    {WebcamSubtype::MJPG, 864, 480, 10000000, 400000},   // 157
    {WebcamSubtype::MJPG, 864, 480, 10000000, 500000},   // 158
    {WebcamSubtype::MJPG, 864, 480, 10000000, 666666},   // 159
    {WebcamSubtype::MJPG, 864, 480, 10000000, 1000000},  // 160
    {WebcamSubtype::MJPG, 864, 480, 10000000, 2000000},  // 161
    {WebcamSubtype::MJPG, 960, 544, 10000000, 333333},   // 162
    {WebcamSubtype::MJPG, 960, 544, 10000000, 400000},   // 163
    {WebcamSubtype::MJPG, 960, 544, 10000000, 500000},   // 164
    {WebcamSubtype::MJPG, 960, 544, 10000000, 666666},   // 165
    {WebcamSubtype::MJPG, 960, 544, 10000000, 1000000},  // 166
    {WebcamSubtype::MJPG, 960, 544, 10000000, 2000000},  // 167
    {WebcamSubtype::MJPG, 960, 720, 10000000, 333333},   // 168
    {WebcamSubtype::MJPG, 960, 720, 10000000, 400000},   // 169
    {WebcamSubtype::MJPG, 960, 720, 10000000, 500000},   // 170
    {WebcamSubtype::MJPG, 960, 720, 10000000, 666666},   // 171
    {WebcamSubtype::MJPG, 960, 720, 10000000, 1000000},  // 172
    {WebcamSubtype::MJPG, 960, 720, 10000000, 2000000},  // 173
    {WebcamSubtype::MJPG, 1024, 576, 10000000, 333333},  // 174
    {WebcamSubtype::MJPG, 1024, 576, 10000000, 400000},  // 175
    {WebcamSubtype::MJPG, 1024, 576, 10000000, 500000},  // 176
    {WebcamSubtype::MJPG, 1024, 576, 10000000, 666666},  // 177
    {WebcamSubtype::MJPG, 1024, 576, 10000000, 1000000}, // 178
    {WebcamSubtype::MJPG, 1024, 576, 10000000, 2000000}, // 179
    {WebcamSubtype::MJPG, 1184, 656, 10000000, 333333},  // 180
    {WebcamSubtype::MJPG, 1184, 656, 10000000, 400000},  // 181
    {WebcamSubtype::MJPG, 1184, 656, 10000000, 500000},  // 182
    {WebcamSubtype::MJPG, 1184, 656, 10000000, 666666},  // 183
    {WebcamSubtype::MJPG, 1184, 656, 10000000, 1000000}, // 184
    {WebcamSubtype::MJPG, 1184, 656, 10000000, 2000000}, // 185
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 333333},  // 186
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 400000},  // 187
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 500000},  // 188
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 666666},  // 189
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 1000000}, // 190
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 2000000}, // 191
    {WebcamSubtype::MJPG, 1280, 960, 10000000, 333333},  // 192
    {WebcamSubtype::MJPG, 1280, 960, 10000000, 400000},  // 193
    {WebcamSubtype::MJPG, 1280, 960, 10000000, 500000},  // 194
    {WebcamSubtype::MJPG, 1280, 960, 10000000, 666666},  // 195
    {WebcamSubtype::MJPG, 1280, 960, 10000000, 1000000}, // 196
    {WebcamSubtype::MJPG, 1280, 960, 10000000, 2000000}, // 197
};

// Source: https://github.com/espressif/esp-usb/blob/7cedb0f60ca91185ecfcfbb7175379d9738631dc/
//   host/class/uvc/usb_host_uvc/host_test/main/parsing/descriptors/logitech_streamcam.hpp
// USB Device Tree Viewer dump of the UVC descriptors (Windows). The camera ran at
// High-Speed, so this is the list it offers on USB 2.0.
inline constexpr WebcamFormat logitech_streamcam_formats[] = {
    {WebcamSubtype::YUY2, 640, 480, 10000000, 333333},    // 0
    {WebcamSubtype::YUY2, 640, 480, 10000000, 416666},    // 1
    {WebcamSubtype::YUY2, 640, 480, 10000000, 500000},    // 2
    {WebcamSubtype::YUY2, 640, 480, 10000000, 666666},    // 3
    {WebcamSubtype::YUY2, 640, 480, 10000000, 1000000},   // 4
    {WebcamSubtype::YUY2, 640, 480, 10000000, 1333333},   // 5
    {WebcamSubtype::YUY2, 640, 480, 10000000, 2000000},   // 6
    {WebcamSubtype::YUY2, 176, 144, 10000000, 333333},    // 7
    {WebcamSubtype::YUY2, 176, 144, 10000000, 416666},    // 8
    {WebcamSubtype::YUY2, 176, 144, 10000000, 500000},    // 9
    {WebcamSubtype::YUY2, 176, 144, 10000000, 666666},    // 10
    {WebcamSubtype::YUY2, 176, 144, 10000000, 1000000},   // 11
    {WebcamSubtype::YUY2, 176, 144, 10000000, 1333333},   // 12
    {WebcamSubtype::YUY2, 176, 144, 10000000, 2000000},   // 13
    {WebcamSubtype::YUY2, 320, 240, 10000000, 333333},    // 14
    {WebcamSubtype::YUY2, 320, 240, 10000000, 416666},    // 15
    {WebcamSubtype::YUY2, 320, 240, 10000000, 500000},    // 16
    {WebcamSubtype::YUY2, 320, 240, 10000000, 666666},    // 17
    {WebcamSubtype::YUY2, 320, 240, 10000000, 1000000},   // 18
    {WebcamSubtype::YUY2, 320, 240, 10000000, 1333333},   // 19
    {WebcamSubtype::YUY2, 320, 240, 10000000, 2000000},   // 20
    {WebcamSubtype::YUY2, 424, 240, 10000000, 333333},    // 21
    {WebcamSubtype::YUY2, 424, 240, 10000000, 416666},    // 22
    {WebcamSubtype::YUY2, 424, 240, 10000000, 500000},    // 23
    {WebcamSubtype::YUY2, 424, 240, 10000000, 666666},    // 24
    {WebcamSubtype::YUY2, 424, 240, 10000000, 1000000},   // 25
    {WebcamSubtype::YUY2, 424, 240, 10000000, 1333333},   // 26
    {WebcamSubtype::YUY2, 424, 240, 10000000, 2000000},   // 27
    {WebcamSubtype::YUY2, 640, 360, 10000000, 333333},    // 28
    {WebcamSubtype::YUY2, 640, 360, 10000000, 416666},    // 29
    {WebcamSubtype::YUY2, 640, 360, 10000000, 500000},    // 30
    {WebcamSubtype::YUY2, 640, 360, 10000000, 666666},    // 31
    {WebcamSubtype::YUY2, 640, 360, 10000000, 1000000},   // 32
    {WebcamSubtype::YUY2, 640, 360, 10000000, 1333333},   // 33
    {WebcamSubtype::YUY2, 640, 360, 10000000, 2000000},   // 34
    {WebcamSubtype::YUY2, 848, 480, 10000000, 333333},    // 35
    {WebcamSubtype::YUY2, 848, 480, 10000000, 416666},    // 36
    {WebcamSubtype::YUY2, 848, 480, 10000000, 500000},    // 37
    {WebcamSubtype::YUY2, 848, 480, 10000000, 666666},    // 38
    {WebcamSubtype::YUY2, 848, 480, 10000000, 1000000},   // 39
    {WebcamSubtype::YUY2, 848, 480, 10000000, 1333333},   // 40
    {WebcamSubtype::YUY2, 848, 480, 10000000, 2000000},   // 41
    {WebcamSubtype::YUY2, 960, 540, 10000000, 666666},    // 42
    {WebcamSubtype::YUY2, 960, 540, 10000000, 1000000},   // 43
    {WebcamSubtype::YUY2, 960, 540, 10000000, 1333333},   // 44
    {WebcamSubtype::YUY2, 960, 540, 10000000, 2000000},   // 45
    {WebcamSubtype::YUY2, 1280, 720, 10000000, 1000000},  // 46
    {WebcamSubtype::YUY2, 1280, 720, 10000000, 1333333},  // 47
    {WebcamSubtype::YUY2, 1280, 720, 10000000, 2000000},  // 48
    {WebcamSubtype::YUY2, 1600, 896, 10000000, 1333333},  // 49
    {WebcamSubtype::YUY2, 1600, 896, 10000000, 2000000},  // 50
    {WebcamSubtype::YUY2, 1920, 1080, 10000000, 2000000}, // 51
    {WebcamSubtype::MJPG, 640, 480, 10000000, 333333},    // 52
    {WebcamSubtype::MJPG, 640, 480, 10000000, 416666},    // 53
    {WebcamSubtype::MJPG, 640, 480, 10000000, 500000},    // 54
    {WebcamSubtype::MJPG, 640, 480, 10000000, 666666},    // 55
    {WebcamSubtype::MJPG, 640, 480, 10000000, 1000000},   // 56
    {WebcamSubtype::MJPG, 640, 480, 10000000, 1333333},   // 57
    {WebcamSubtype::MJPG, 640, 480, 10000000, 2000000},   // 58
    {WebcamSubtype::MJPG, 176, 144, 10000000, 333333},    // 59
    {WebcamSubtype::MJPG, 176, 144, 10000000, 416666},    // 60
    {WebcamSubtype::MJPG, 176, 144, 10000000, 500000},    // 61
    {WebcamSubtype::MJPG, 176, 144, 10000000, 666666},    // 62
    {WebcamSubtype::MJPG, 176, 144, 10000000, 1000000},   // 63
    {WebcamSubtype::MJPG, 176, 144, 10000000, 1333333},   // 64
    {WebcamSubtype::MJPG, 176, 144, 10000000, 2000000},   // 65
    {WebcamSubtype::MJPG, 320, 240, 10000000, 333333},    // 66
    {WebcamSubtype::MJPG, 320, 240, 10000000, 416666},    // 67
    {WebcamSubtype::MJPG, 320, 240, 10000000, 500000},    // 68
    {WebcamSubtype::MJPG, 320, 240, 10000000, 666666},    // 69
    {WebcamSubtype::MJPG, 320, 240, 10000000, 1000000},   // 70
    {WebcamSubtype::MJPG, 320, 240, 10000000, 1333333},   // 71
    {WebcamSubtype::MJPG, 320, 240, 10000000, 2000000},   // 72
    {WebcamSubtype::MJPG, 424, 240, 10000000, 333333},    // 73
    {WebcamSubtype::MJPG, 424, 240, 10000000, 416666},    // 74
    {WebcamSubtype::MJPG, 424, 240, 10000000, 500000},    // 75
    {WebcamSubtype::MJPG, 424, 240, 10000000, 666666},    // 76
    {WebcamSubtype::MJPG, 424, 240, 10000000, 1000000},   // 77
    {WebcamSubtype::MJPG, 424, 240, 10000000, 1333333},   // 78
    {WebcamSubtype::MJPG, 424, 240, 10000000, 2000000},   // 79
    {WebcamSubtype::MJPG, 640, 360, 10000000, 333333},    // 80
    {WebcamSubtype::MJPG, 640, 360, 10000000, 416666},    // 81
    {WebcamSubtype::MJPG, 640, 360, 10000000, 500000},    // 82
    {WebcamSubtype::MJPG, 640, 360, 10000000, 666666},    // 83
    {WebcamSubtype::MJPG, 640, 360, 10000000, 1000000},   // 84
    {WebcamSubtype::MJPG, 640, 360, 10000000, 1333333},   // 85
    {WebcamSubtype::MJPG, 640, 360, 10000000, 2000000},   // 86
    {WebcamSubtype::MJPG, 848, 480, 10000000, 333333},    // 87
    {WebcamSubtype::MJPG, 848, 480, 10000000, 416666},    // 88
    {WebcamSubtype::MJPG, 848, 480, 10000000, 500000},    // 89
    {WebcamSubtype::MJPG, 848, 480, 10000000, 666666},    // 90
    {WebcamSubtype::MJPG, 848, 480, 10000000, 1000000},   // 91
    {WebcamSubtype::MJPG, 848, 480, 10000000, 1333333},   // 92
    {WebcamSubtype::MJPG, 848, 480, 10000000, 2000000},   // 93
    {WebcamSubtype::MJPG, 960, 540, 10000000, 333333},    // 94
    {WebcamSubtype::MJPG, 960, 540, 10000000, 416666},    // 95
    {WebcamSubtype::MJPG, 960, 540, 10000000, 500000},    // 96
    {WebcamSubtype::MJPG, 960, 540, 10000000, 666666},    // 97
    {WebcamSubtype::MJPG, 960, 540, 10000000, 1000000},   // 98
    {WebcamSubtype::MJPG, 960, 540, 10000000, 1333333},   // 99
    {WebcamSubtype::MJPG, 960, 540, 10000000, 2000000},   // 100
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 333333},   // 101
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 416666},   // 102
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 500000},   // 103
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 666666},   // 104
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 1000000},  // 105
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 1333333},  // 106
    {WebcamSubtype::MJPG, 1280, 720, 10000000, 2000000},  // 107
    {WebcamSubtype::MJPG, 1600, 896, 10000000, 333333},   // 108
    {WebcamSubtype::MJPG, 1600, 896, 10000000, 416666},   // 109
    {WebcamSubtype::MJPG, 1600, 896, 10000000, 500000},   // 110
    {WebcamSubtype::MJPG, 1600, 896, 10000000, 666666},   // 111
    {WebcamSubtype::MJPG, 1600, 896, 10000000, 1000000},  // 112
    {WebcamSubtype::MJPG, 1600, 896, 10000000, 1333333},  // 113
    {WebcamSubtype::MJPG, 1600, 896, 10000000, 2000000},  // 114
    {WebcamSubtype::MJPG, 1920, 1080, 10000000, 333333},  // 115
    {WebcamSubtype::MJPG, 1920, 1080, 10000000, 416666},  // 116
    {WebcamSubtype::MJPG, 1920, 1080, 10000000, 500000},  // 117
    {WebcamSubtype::MJPG, 1920, 1080, 10000000, 666666},  // 118
    {WebcamSubtype::MJPG, 1920, 1080, 10000000, 1000000}, // 119
    {WebcamSubtype::MJPG, 1920, 1080, 10000000, 1333333}, // 120
    {WebcamSubtype::MJPG, 1920, 1080, 10000000, 2000000}, // 121
};

inline constexpr Webcam webcams[] = {
    {
        "Logitech HD Pro Webcam C920",
        "https://github.com/petminion/petminion/blob/"
        "c878151076724017ea0828ae99e96149288ed12e/docs/hardware.md",
        logitech_c920_formats,
        static_cast<int>(sizeof(logitech_c920_formats) / sizeof(logitech_c920_formats[0])),
        329,
        "MJPG 1920x1080 at 30 fps: 1920x1080 is the largest allowed size at 24.9 fps or more, and "
        "it ties H.264 1920x1080 at 30 fps (entry 210) on size and rate, where MJPG is preferred "
        "over H.264.",
    },
    {
        "Logitech C270 HD WebCam (046d:0825)",
        "https://github.com/espressif/esp-usb/blob/555db55196f4e0428c18f10ace54751b9d6fe80c/"
        "host/class/uvc/usb_host_uvc/host_test/main/parsing/descriptors/logitech_c270.hpp",
        logitech_c270_formats,
        static_cast<int>(sizeof(logitech_c270_formats) / sizeof(logitech_c270_formats[0])),
        192,
        "MJPG 1280x960 at 30 fps is the largest size with a rate of at least 24.9 fps; YUY2 offers "
        "1280x960 only at 7.5 fps.",
    },
    {
        "Logitech StreamCam (046d:0893), on a USB 2.0 port",
        "https://github.com/espressif/esp-usb/blob/7cedb0f60ca91185ecfcfbb7175379d9738631dc/"
        "host/class/uvc/usb_host_uvc/host_test/main/parsing/descriptors/logitech_streamcam.hpp",
        logitech_streamcam_formats,
        static_cast<int>(sizeof(logitech_streamcam_formats) /
                         sizeof(logitech_streamcam_formats[0])),
        115,
        "MJPG 1920x1080 at 30 fps is the largest size at a rate of at least 24.9 fps; YUY2 offers "
        "1920x1080 only at 5 fps.",
    },
};
