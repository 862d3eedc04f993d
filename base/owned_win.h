#pragma once
// Ownership at the Win32 boundary: one small owner for handles, GDI objects,
// menus, global blocks and COM task memory, and the scopes that pair a call
// with its undo (a COM apartment, a global block's lock). COM interfaces use
// Microsoft::WRL::ComPtr instead.

#include <windows.h>

#include <objbase.h>

#include <cstdlib>

// Empty values hold nothing: null, and INVALID_HANDLE_VALUE, which CreateFileW
// and a few others return on failure.
inline bool owns_value(void* value) {
    return value != nullptr && value != INVALID_HANDLE_VALUE;
}
template <typename T> bool owns_value(T* value) {
    return value != nullptr;
}

// Owns one value and frees it with `Free` when it goes, is reset or is
// assigned over; move-only. release() hands the value on (to the clipboard,
// to a menu that now owns it) without freeing it.
template <typename T, auto Free> class Owned {
  public:
    Owned() = default;
    explicit Owned(T value) : value_(value) {}
    Owned(Owned&& other) noexcept : value_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return owns_value(value_); }
    T release() {
        const T value = value_;
        value_ = T{};
        return value;
    }
    // Takes `value` and frees the previous one, in that order, so that what
    // used the old value can be handed the new one first.
    void reset(T value = T{}) {
        const T old = value_;
        value_ = value;
        if (owns_value(old)) {
            Free(old);
        }
    }
    // For an out parameter: frees what is held and lends its address.
    T* put() {
        reset();
        return &value_;
    }

  private:
    T value_{};
};

// The freeing calls, as plain functions so that their addresses are
// constants whatever the headers' import declarations.
inline void close_handle(HANDLE handle) {
    CloseHandle(handle);
}
inline void delete_gdi_object(HGDIOBJ object) {
    DeleteObject(object);
}
inline void destroy_menu(HMENU menu) {
    DestroyMenu(menu);
}
inline void free_global(HGLOBAL block) {
    GlobalFree(block);
}
inline void free_task_memory(void* block) {
    CoTaskMemFree(block);
}
inline void free_heap(void* block) {
    std::free(block);
}

using OwnedHandle = Owned<HANDLE, close_handle>;
using OwnedFont = Owned<HFONT, delete_gdi_object>;
using OwnedMenu = Owned<HMENU, destroy_menu>;
using OwnedGlobal = Owned<HGLOBAL, free_global>;
// Memory that COM hands out (strings, arrays), freed with CoTaskMemFree.
template <typename T> using TaskMemory = Owned<T*, free_task_memory>;
// A block from malloc or realloc.
template <typename T> using HeapBlock = Owned<T*, free_heap>;

// The address of a locked global memory block for the object's lifetime;
// null when the lock failed.
struct ScopedGlobalLock {
    HGLOBAL handle;
    void* data;
    explicit ScopedGlobalLock(HGLOBAL h) : handle(h), data(GlobalLock(h)) {}
    ~ScopedGlobalLock() {
        if (data != nullptr) {
            GlobalUnlock(handle);
        }
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
};

// Holds a slim reader/writer lock exclusively for the object's lifetime. The
// lock needs no set-up or clean-up (SRWLOCK_INIT), and unlike std::mutex
// nothing about it can throw.
struct ScopedExclusiveLock {
    SRWLOCK& lock;
    explicit ScopedExclusiveLock(SRWLOCK& l) : lock(l) { AcquireSRWLockExclusive(&lock); }
    ~ScopedExclusiveLock() { ReleaseSRWLockExclusive(&lock); }
    ScopedExclusiveLock(const ScopedExclusiveLock&) = delete;
    ScopedExclusiveLock& operator=(const ScopedExclusiveLock&) = delete;
};

// Joins the calling thread to a COM apartment for the object's lifetime. Only
// a successful CoInitializeEx (S_OK or S_FALSE) is balanced by CoUninitialize.
struct ComApartment {
    HRESULT result;
    explicit ComApartment(DWORD model) : result(CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};
