#include "view/handle_stream_win.h"

#include <atomic>
#include <new>

#include "base/text_win.h"

namespace {

// Reference counted across threads, as COM allows; the file calls themselves
// are the handle's, one caller at a time as for any stream.
struct HandleStream final : IStream {
    std::atomic<ULONG> references{1};
    HANDLE file;

    explicit HandleStream(HANDLE handle) : file(handle) {}
    virtual ~HandleStream() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid != __uuidof(IUnknown) && iid != __uuidof(ISequentialStream) &&
            iid != __uuidof(IStream)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* done) override {
        DWORD read = 0;
        const BOOL ok = ReadFile(file, data, size, &read, nullptr);
        if (done != nullptr) {
            *done = read;
        }
        // A short read is the end of the file, which a stream reports so.
        return !ok ? last_error_result() : read < size ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* done) override {
        DWORD written = 0;
        const BOOL ok = WriteFile(file, data, size, &written, nullptr);
        if (done != nullptr) {
            *done = written;
        }
        return !ok ? last_error_result() : written < size ? STG_E_MEDIUMFULL : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                   ULARGE_INTEGER* position) override {
        // STREAM_SEEK_SET, _CUR and _END are FILE_BEGIN, _CURRENT and _END.
        if (origin > STREAM_SEEK_END) {
            return STG_E_INVALIDFUNCTION;
        }
        LARGE_INTEGER now{};
        if (!SetFilePointerEx(file, move, &now, origin)) {
            return last_error_result();
        }
        if (position != nullptr) {
            position->QuadPart = ULONGLONG(now.QuadPart);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
        LARGE_INTEGER now{};
        LARGE_INTEGER end{};
        end.QuadPart = LONGLONG(size.QuadPart);
        const LARGE_INTEGER none{};
        // The end moves; the position stays where it was.
        if (!SetFilePointerEx(file, none, &now, FILE_CURRENT) ||
            !SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file) ||
            !SetFilePointerEx(file, now, nullptr, FILE_BEGIN)) {
            return last_error_result();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file, &size)) {
            return last_error_result();
        }
        *stat = {};
        stat->type = STGTY_STREAM; // nameless: the handle's file has no name here
        stat->cbSize.QuadPart = ULONGLONG(size.QuadPart);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                     ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Revert() override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
};

} // namespace

HRESULT create_handle_stream(HANDLE file, IStream** stream) {
    *stream = new (std::nothrow) HandleStream(file);
    return *stream == nullptr ? E_OUTOFMEMORY : S_OK;
}
