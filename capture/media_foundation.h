#pragma once
// The Media Foundation entry points the program calls, loaded at run time
// from the system folder. Windows "N" editions come without Media
// Foundation, so an import would stop the loader before the program could
// say so; and these libraries are no known DLLs, so an import would also
// take a copy planted beside the executable. Loaded once by
// capture_startup on the user-interface thread, read-only afterwards.

#include <windows.h>

#include <mfidl.h>
#include <mfreadwrite.h>

struct MediaFoundationApi {
    HRESULT(WINAPI* startup)(ULONG version, DWORD flags);
    HRESULT(WINAPI* shutdown)();
    HRESULT(WINAPI* create_attributes)(IMFAttributes** attributes, UINT32 size);
    HRESULT(WINAPI* create_media_type)(IMFMediaType** type);
    HRESULT(WINAPI* stride_for_bitmap_info_header)(DWORD format, DWORD width, LONG* stride);
    HRESULT(WINAPI* enum_device_sources)
    (IMFAttributes* attributes, IMFActivate*** devices, UINT32* count);
    HRESULT(WINAPI* create_device_source)(IMFAttributes* attributes, IMFMediaSource** source);
    HRESULT(WINAPI* create_source_reader)
    (IUnknown* source, IMFAttributes* attributes, IMFSourceReader** reader);
};

extern MediaFoundationApi media_foundation;

// The file names of mfplat, mf and mfreadwrite, in that order. The program
// links the real names; a test build links names that do not exist.
extern const wchar_t* const media_foundation_libraries[3];

// Loads the libraries from the system folder only and takes every entry
// point; false, with nothing usable, when one is missing.
bool media_foundation_load();
