#pragma once
// A COM stream over a file handle that its caller opened, so that an encoder
// writes into a file opened with the sharing and access the caller chose.

#include <windows.h>

#include <objidl.h>

// A stream over `file`, which needs the access its use needs (reading for
// Read, writing for Write and SetSize). The stream borrows the handle: the
// caller keeps it open until the stream's last reference is released. Reads
// and writes go to the file at once, unbuffered; Commit flushes nothing.
HRESULT create_handle_stream(HANDLE file, IStream** stream);
