#pragma once
// A synthetic camera behind the device layer: activation objects, a media
// source with real presentation and stream descriptors, and a source reader
// that delivers RGB32 samples with a moving test pattern in real Media
// Foundation buffers. What the cameras are and how they misbehave is set
// here, from any thread; each source takes a copy when it is created.

#include <windows.h>

#include <mfidl.h>
#include <mfobjects.h>

#include <cstdint>
#include <string>
#include <vector>

#include "capture/camera_controls.h"

// The area of a coded frame that holds the picture, as a compressed type
// names it (1080 rows coded as 1088). The frames are drawn inside it, the
// rest filled with 0xEE bytes, which must never be shown.
struct SyntheticAperture {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0; // 0: the type names no aperture
    uint32_t height = 0;
    bool geometric = false; // MF_MT_GEOMETRIC_APERTURE, not MF_MT_MINIMUM_DISPLAY_APERTURE
};

struct SyntheticType {
    GUID subtype;
    uint32_t width;
    uint32_t height;
    uint32_t fps_numerator;
    uint32_t fps_denominator;
    // Attributes left out: a frame rate of 0/0, a frame size of 0 x 0 and a
    // GUID_NULL subtype make types without those attributes.
    SyntheticAperture aperture{};
};

enum class SyntheticBuffer {
    TopDown,         // plain buffer, positive default stride
    BottomUp,        // plain buffer, rows bottom-up, negative default stride
    Pitched,         // real 2-D buffer whose pitch is 64 bytes wider than the row
    LyingPitched,    // 2-D buffer that claims more rows than it holds
    LyingPitchedOld, // the same, offering only the older IMF2DBuffer interface
};

// One of a camera's own controls and what it is set to now.
struct SyntheticControl {
    int32_t kind; // index into control_kinds
    ControlRange range;
    int32_t value;
    int32_t flags; // control_flag_auto or control_flag_manual
};
// A control at its default value, automatic when it can be: how a camera
// starts.
SyntheticControl synthetic_control(int32_t kind, const ControlRange& range);
// The controls of a control file's `controls=` list, each at its start.
std::vector<SyntheticControl> synthetic_controls_from_list(std::wstring_view list);

struct SyntheticCamera {
    std::wstring symbolic_link;
    std::wstring friendly_name;
    bool has_friendly_name = true;
    std::vector<SyntheticType> types; // the native types, in device order

    SyntheticBuffer buffer = SyntheticBuffer::TopDown;
    bool default_stride = true;     // false: the output type has no MF_MT_DEFAULT_STRIDE
    uint32_t frame_interval_ms = 0; // pause before each sample; 0 delivers at once
    std::wstring hold_file;         // while this file exists, reads wait and deliver nothing
    std::wstring stall_set_file;    // while this file exists, a control's Set does not return

    HRESULT open_result = S_OK;   // from creating the device source
    uint32_t open_delay_ms = 0;   // time the open takes
    HRESULT reader_result = S_OK; // from creating the source reader

    int fail_at_read = -1;         // 0-based ReadSample call that fails...
    HRESULT read_result = E_FAIL;  // ...with this result,
    DWORD read_flags = 0;          // or, when nonzero, succeeds with these flags
    int block_at_read = -1;        // ReadSample call that blocks until Shutdown
    int hang_at_read = -1;         // ReadSample call that hangs, as a driver's can, and then
                                   // delivers its sample once hung calls are released
    int stall_copy_at_read = -1;   // the sample of this call stalls in its buffer's lock
    bool hang_in_shutdown = false; // the source's Shutdown hangs
    int tick_every = 0;            // every n-th call is a stream tick without a sample
    int skip_every = 0;            // every n-th frame (n > 1) is lost: its stamp used, nothing sent
    int discontinuity_at_read = -1; // this call's sample is flagged as the first after a gap
    int short_from_read = -1;       // from this call on, plain buffers are one row short
    bool stamp_time = false;        // the top band carries the sample's creation time
    int type_change_at_read = -1;   // call that reports a new current media type...
    uint32_t changed_width = 0;     // ...of this size
    uint32_t changed_height = 0;
    // Its source answers for IAMVideoProcAmp and IAMCameraControl only when
    // it has a control of that interface. The values live with the attached
    // camera, as a driver keeps them, not with one open source.
    std::vector<SyntheticControl> controls;
};

// Replaces the set of attached cameras. With `unplug_gone`, a camera that is
// no longer in the set is pulled out as synthetic_unplug does.
void synthetic_set_cameras(const std::vector<SyntheticCamera>& cameras, bool unplug_gone = false);

// Attaches this one camera and opens its source through the device layer, as
// the capture worker opens a camera.
HRESULT synthetic_open_source(const SyntheticCamera& camera, IMFMediaSource** source);

// The controls of an attached or unplugged camera as they are set now.
std::vector<SyntheticControl> synthetic_controls(const std::wstring& symbolic_link);
struct SyntheticControlSet {
    std::wstring symbolic_link;
    int32_t kind;
    int32_t value;
    int32_t flags;
};
// Every Set a camera took (succeeded) since synthetic_set_cameras, in order.
std::vector<SyntheticControlSet> synthetic_control_sets();

// Lets every hung call of every camera return, now and from now on, as a
// stalled driver may at last; the demo never does. synthetic_hold_hung_calls
// makes later hangs last again.
void synthetic_release_hung_calls();
void synthetic_hold_hung_calls();

// Pulls a camera out: it leaves the attached set, and a source already open
// on it fails its next read as a removed device does.
void synthetic_unplug(const std::wstring& symbolic_link);
// Puts a camera (back) into the attached set.
void synthetic_plug(const SyntheticCamera& camera);

// The time stamp a stamped frame carries: 32 blocks across the top band, one
// bit each (white 1, black 0), most significant first, of the creation time
// in microseconds of QueryPerformanceCounter, modulo 2^32.
uint32_t synthetic_stamp_now();
// Reads a stamp back from 32-bit pixels of the stamped band, given the
// picture's left edge, width and a row inside the band. `pixel(x, y)`
// returns 0x00RRGGBB.
template <typename PixelAt>
uint32_t synthetic_read_stamp(PixelAt pixel, int left, int width, int row) {
    uint32_t stamp = 0;
    for (int bit = 0; bit < 32; ++bit) {
        const int x = left + (2 * bit + 1) * width / 64;
        stamp = (stamp << 1) | (((pixel(x, row) >> 8) & 0xFF) > 127 ? 1u : 0u);
    }
    return stamp;
}
// The height of the stamped band for a frame of this height.
inline uint32_t synthetic_stamp_band(uint32_t frame_height) {
    return frame_height / 12;
}

// Called at the start of every enumeration, before the set is read; the demo
// build uses it to reload its control file.
void synthetic_set_enumeration_hook(void (*hook)());

// Called before every read of every source, on the reading thread.
void synthetic_set_read_hook(void (*hook)());

// Reads the demo control file, if there is one, into the set of attached
// cameras; without a file the demo cameras are attached. A camera that
// leaves the file is unplugged.
void synthetic_load_control_file();
// The same when the file has changed since it was last read, looked at no
// more than four times a second.
void synthetic_poll_control_file();

struct SyntheticLiveCounts {
    long activates;
    long sources;
    long readers;
    long buffers; // the hand-made lying buffers
};
SyntheticLiveCounts synthetic_live_counts();

struct SyntheticStats {
    long enumerations;
    long sources_created;
    long samples_delivered;
    long shutdowns;
    long held_reads;          // reads that found their camera's hold file and waited
    long advanced_readers;    // readers made with MF_SOURCE_READER_ENABLE_ADVANCED_VIDEO_PROCESSING
    long low_latency_readers; // readers made with MF_LOW_LATENCY
    // The reading threads' CPU time (user and kernel) spent making samples,
    // summed over all of them, so a bench can tell the camera's own work
    // from the program's.
    int64_t frame_making_100ns;
};
SyntheticStats synthetic_stats();
void synthetic_reset_stats();

// The test pattern's pixel (B, G, R, X as a little-endian 32-bit value) at
// column x, row y (0 = top) of frame number `frame`.
uint32_t synthetic_pattern_pixel(uint32_t x, uint32_t y, uint32_t frame);
