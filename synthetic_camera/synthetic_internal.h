#pragma once
// Shared between the synthetic camera's files; not for its users.

#include <mfidl.h>
#include <mfreadwrite.h>

#include "synthetic_camera/synthetic_camera.h"

HRESULT synthetic_create_activate(const SyntheticCamera& camera, IMFActivate** out);
HRESULT synthetic_create_source(const SyntheticCamera& camera, IMFMediaSource** out);
// Takes the attributes the real reader takes; of them it reads the two
// that let it convert.
HRESULT synthetic_create_reader(IMFMediaSource* source, IMFAttributes* attributes,
                                IMFSourceReader** out);
HRESULT synthetic_create_lying_buffer(uint32_t width, uint32_t height, bool newer_interface,
                                      IMFMediaBuffer** out);
// A whole frame of the pattern whose locks stall until hung calls may return.
HRESULT synthetic_create_stalling_buffer(uint32_t width, uint32_t height, uint32_t frame,
                                         IMFMediaBuffer** out);
// Where a hung driver call waits: until synthetic_release_hung_calls.
void synthetic_hang();

bool synthetic_is_unplugged(const std::wstring& symbolic_link);
void synthetic_run_read_hook();

// Takes the controls of attached cameras; a camera attached again with the
// same controls keeps what they are set to. `replace_all` forgets the other
// cameras and the record of what was set. Not under the registry's lock: the
// control calls take that one inside their own.
void synthetic_controls_attach(const std::vector<SyntheticCamera>& cameras, bool replace_all);

// Counts one event in the statistics: a source created, a sample delivered,
// a Shutdown called, a read held.
void synthetic_note(long SyntheticStats::*counter);
// Adds the CPU time spent making one sample.
void synthetic_note_frame_making(int64_t time_100ns);
