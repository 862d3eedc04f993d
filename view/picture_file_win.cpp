// Writing a taken picture as a PNG file: the folder, the encode through the
// Windows Imaging Component, the temporary file and the rename to a free
// name. Runs on a save's worker thread (or a test's), with COM initialised.

#include <windows.h>

#include <shlobj.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdlib>
#include <cwchar>

#include "base/owned_win.h"
#include "base/text_win.h"
#include "view/picture_save_win.h"

using Microsoft::WRL::ComPtr;

namespace {

// The temporary file, deleted on every way out but the rename.
struct TempFile {
    wchar_t path[MAX_PATH] = {};
    bool made = false;
    TempFile() = default;
    ~TempFile() {
        if (made) {
            DeleteFileW(path);
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

// Encodes the picture as PNG into the file at `path`; every object, the
// file's stream included, is released (the file closed) on return.
HRESULT write_png(const wchar_t* path, const PictureSaveJob& job) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory));
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateStream(&stream);
    }
    if (SUCCEEDED(hr)) {
        hr = stream->InitializeFromFilename(path, GENERIC_WRITE);
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

// The written bytes on the disk before the rename, so that a file under the
// final name is a whole picture after a power cut too.
HRESULT flush_file(const wchar_t* path) {
    const OwnedHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !FlushFileBuffers(file.get())) {
        return last_error_result();
    }
    return S_OK;
}

// Renames the complete file to the first name of the job's time that is free.
// The rename refuses an existing name, so a file another save or program made
// meanwhile is never overwritten: the next number is taken instead.
HRESULT move_to_free_name(TempFile& temp, PictureSaveJob* job) {
    for (int32_t counter = 1; counter <= picture_name_tries; ++counter) {
        format_picture_name(job->time, counter, job->name, picture_name_units);
        wchar_t target[MAX_PATH + picture_name_units];
        std::swprintf(target, MAX_PATH + picture_name_units, L"%ls\\%ls", job->folder, job->name);
        if (MoveFileExW(temp.path, target, 0)) {
            temp.made = false;
            return S_OK;
        }
        const DWORD error = GetLastError();
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
    if (GetTempFileNameW(job->folder, L"tav", 0, temp.path) == 0) {
        return last_error_result();
    }
    temp.made = true;
    HRESULT hr = write_png(temp.path, *job);
    if (SUCCEEDED(hr)) {
        hr = flush_file(temp.path);
    }
    if (SUCCEEDED(hr)) {
        hr = move_to_free_name(temp, job);
    }
    return hr;
}
