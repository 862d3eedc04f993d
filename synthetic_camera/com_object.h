#pragma once
// A minimal reference-counted COM object base for the synthetic camera, with
// a live-instance counter per class so tests can prove every object was
// released.

#include <windows.h>

#include <wrl/client.h>

#include <atomic>

template <typename Derived> struct LiveCounter {
    static inline std::atomic<long> live{0};
    LiveCounter() { ++live; }
    ~LiveCounter() { --live; }
    LiveCounter(const LiveCounter&) = delete;
    LiveCounter& operator=(const LiveCounter&) = delete;
};

struct RefCount {
    std::atomic<ULONG> count{1};
    ULONG add() { return ++count; }
    ULONG release() { return --count; }
};

#define SYNTHETIC_IUNKNOWN_REFCOUNT                                                                \
    ULONG STDMETHODCALLTYPE AddRef() override {                                                    \
        return refs.add();                                                                         \
    }                                                                                              \
    ULONG STDMETHODCALLTYPE Release() override {                                                   \
        const ULONG left = refs.release();                                                         \
        if (left == 0) {                                                                           \
            delete this;                                                                           \
        }                                                                                          \
        return left;                                                                               \
    }

// Takes over the one reference a `new` object starts with. Not ComPtr::Attach:
// MinGW-w64's Attach adds a reference where Microsoft's does not, so code that
// relies on either would leak or over-release on the other.
template <typename Interface, typename Object>
Microsoft::WRL::ComPtr<Interface> adopt_new(Object* object) {
    Microsoft::WRL::ComPtr<Interface> owner;
    *owner.GetAddressOf() = object;
    return owner;
}
