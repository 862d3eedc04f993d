// Writing a taken picture as a PNG file: the folder, the encode through the
// Windows Imaging Component, the temporary file and the rename to a free
// name. Runs on a save's worker thread (or a test's), with COM initialised.
//
// Virus scanners, indexers and sync tools open a new file in the Pictures
// folder at once, most sharing only reading. The temporary file is therefore
// held open by this code from its creation to its rename, sharing reading,
// writing and deletion: such a program cannot open it in between, and one
// that shares as much reads along without being in the way. The file is
// renamed and, on failure, deleted through that handle, which no other
// handle can refuse; the creation and the rename are still tried again while
// refused (base/file_hold_win.h), for a name held by a file that is being
// deleted and for filters that refuse a rename while they scan.

#include <windows.h>

#include <shlobj.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/file_hold_win.h"
#include "base/owned_win.h"
#include "base/text_win.h"
#include "view/handle_stream_win.h"
#include "view/picture_save_win.h"

using Microsoft::WRL::ComPtr;

namespace {

// The temporary file, open from its creation; deleted through its handle on
// every way out but the rename. The deletion takes effect when the last
// handle to it, another program's too, is closed.
struct TempFile {
    OwnedHandle handle;
    bool committed = false;
    TempFile() = default;
    ~TempFile() {
        if (handle && !committed) {
            FILE_DISPOSITION_INFO gone{TRUE};
            SetFileInformationByHandle(handle.get(), FileDispositionInfo, &gone, sizeof gone);
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
};

HRESULT pictures_tavisko_folder(wchar_t* folder, size_t units) {
    TaskMemory<wchar_t> pictures;
    const HRESULT hr =
        SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, pictures.put());
    if (FAILED(hr)) {
        return hr;
    }
    const int written = std::swprintf(folder, units, L"%ls\\Tavisko", pictures.get());
    return written < 0 || size_t(written) >= units ? HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)
                                                   : S_OK;
}

// The PNG encoder takes 24-bit B, G, R rows on every Windows and under Wine;
// the fourth byte of the taken picture is dropped a row at a time.
// https://learn.microsoft.com/windows/win32/wic/-wic-codec-native-pixel-formats
HRESULT write_rows(IWICBitmapFrameEncode* frame, const PictureSaveJob& job) {
    const UINT stride = UINT(job.width) * 3;
    const HeapBlock<uint8_t> block(static_cast<uint8_t*>(std::malloc(stride)));
    uint8_t* row = block.get();
    if (row == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = S_OK;
    for (int32_t y = 0; y < job.height && SUCCEEDED(hr); ++y) {
        const uint8_t* source = job.pixels.get() + size_t(y) * size_t(job.width) * 4;
        for (int32_t x = 0; x < job.width; ++x) {
            row[x * 3] = source[x * 4];
            row[x * 3 + 1] = source[x * 4 + 1];
            row[x * 3 + 2] = source[x * 4 + 2];
        }
        hr = frame->WritePixels(1, stride, stride, row);
    }
    return hr;
}

// Encodes the picture as PNG into `file`; every object, the stream over the
// handle included, is released on return, so the handle may be closed then.
HRESULT write_png(HANDLE file, const PictureSaveJob& job) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory));
    ComPtr<IStream> stream;
    if (SUCCEEDED(hr)) {
        hr = create_handle_stream(file, &stream);
    }
    ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    }
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(&frame, &options);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(options.Get());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(UINT(job.width), UINT(job.height));
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR) {
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    }
    if (SUCCEEDED(hr)) {
        hr = write_rows(frame.Get(), job);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    return hr;
}

// Creates a new "tav*.tmp" in the folder, open for writing and deletion.
// Names are tried from one drawn from the clock, as GetTempFileNameW does,
// but the file is made and opened in one step: a file it made and closed
// could be taken by another program before it was opened again.
HRESULT create_temp_file(const wchar_t* folder, TempFile* temp) {
    const UINT first = UINT(GetTickCount64());
    for (UINT step = 0; step < 0xFFFF; ++step) {
        wchar_t path[MAX_PATH];
        // A non-zero number only names the file, four hex digits of it.
        if (GetTempFileNameW(folder, L"tav", 1 + (first + step) % 0xFFFF, path) == 0) {
            return last_error_result();
        }
        HANDLE file = INVALID_HANDLE_VALUE;
        const DWORD error = retry_while_held([&] {
            file = CreateFileW(path, GENERIC_WRITE | DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            return file != INVALID_HANDLE_VALUE;
        });
        if (error == ERROR_SUCCESS) {
            temp->handle.reset(file);
            return S_OK;
        }
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return HRESULT_FROM_WIN32(error);
        }
    }
    return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
}

// Renames the open file to `target`, refusing an existing name. The name
// is given whole, as a path (FILE_RENAME_INFO: terminated, its length in
// bytes without the terminator).
// https://learn.microsoft.com/windows/win32/api/winbase/ns-winbase-file_rename_info
bool rename_open_file(HANDLE file, const wchar_t* target) {
    constexpr size_t name_at = offsetof(FILE_RENAME_INFO, FileName);
    constexpr size_t units = MAX_PATH + picture_name_units;
    alignas(FILE_RENAME_INFO) unsigned char block[name_at + units * sizeof(wchar_t)] = {};
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(block);
    const size_t length = std::wcslen(target);
    if (length >= units) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = DWORD(length * sizeof(wchar_t));
    std::memcpy(block + name_at, target, (length + 1) * sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, info, DWORD(sizeof block)) != FALSE;
}

// Renames the complete file to the first name of the job's time that is free.
// The rename refuses an existing name, so a file another save or program made
// meanwhile is never overwritten: the next number is taken instead.
HRESULT move_to_free_name(TempFile& temp, PictureSaveJob* job) {
    for (int32_t counter = 1; counter <= picture_name_tries; ++counter) {
        format_picture_name(job->time, counter, job->name, picture_name_units);
        wchar_t target[MAX_PATH + picture_name_units];
        std::swprintf(target, MAX_PATH + picture_name_units, L"%ls\\%ls", job->folder, job->name);
        const DWORD error =
            retry_while_held([&] { return rename_open_file(temp.handle.get(), target); });
        if (error == ERROR_SUCCESS) {
            temp.committed = true;
            return S_OK;
        }
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            job->name[0] = L'\0';
            return HRESULT_FROM_WIN32(error);
        }
    }
    job->name[0] = L'\0';
    return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
}

} // namespace

HRESULT save_picture_file(PictureSaveJob* job) {
    job->name[0] = L'\0';
    if (job->folder[0] == L'\0') {
        const HRESULT hr = pictures_tavisko_folder(job->folder, MAX_PATH);
        if (FAILED(hr)) {
            return hr;
        }
    }
    if (!CreateDirectoryW(job->folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return last_error_result();
    }
    TempFile temp;
    HRESULT hr = create_temp_file(job->folder, &temp);
    if (SUCCEEDED(hr)) {
        hr = write_png(temp.handle.get(), *job);
    }
    // The bytes are on the disk before the rename, so that a file under the
    // final name is a whole picture after a power cut too.
    if (SUCCEEDED(hr) && !FlushFileBuffers(temp.handle.get())) {
        hr = last_error_result();
    }
    if (SUCCEEDED(hr)) {
        hr = move_to_free_name(temp, job);
    }
    return hr;
}
