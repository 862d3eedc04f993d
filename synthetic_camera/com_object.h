#pragma once
// The IUnknown of the synthetic camera's COM objects, written once: a
// reference count that deletes the object at its last Release, QueryInterface
// over the interfaces each object lists, and live counts of the kinds of
// object tests check for leaks.

#include <windows.h>

#include <wrl/client.h>

#include <atomic>
#include <initializer_list>

// The kinds of object synthetic_live_counts reports, one slot each.
enum LiveSlot { live_activates, live_sources, live_readers, live_buffers, live_slot_count };
inline std::atomic<long> live_objects[live_slot_count];

// Counts the objects of one kind while they exist.
template <LiveSlot Slot> struct LiveCounter {
    LiveCounter() { ++live_objects[Slot]; }
    ~LiveCounter() { --live_objects[Slot]; }
    LiveCounter(const LiveCounter&) = delete;
    LiveCounter& operator=(const LiveCounter&) = delete;
};

// AddRef and Release for every interface of `Derived` at once (a function
// declared here overrides the one of each interface base). Objects start
// with one reference, which adopt_new takes over.
template <typename Derived, typename... Interfaces> struct ComObject : Interfaces... {
    std::atomic<ULONG> refs{1};

    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs;
        if (left == 0) {
            delete static_cast<Derived*>(this);
        }
        return left;
    }
};

// QueryInterface's answer when `iid` is one of `offered`: `self` with a
// reference added; else E_NOINTERFACE and a null pointer, as the interface's
// rules ask.
template <typename Interface>
HRESULT answer_query(REFIID iid, void** out, Interface* self, std::initializer_list<IID> offered) {
    if (out == nullptr) {
        return E_POINTER;
    }
    for (const IID& candidate : offered) {
        if (iid == candidate) {
            self->AddRef();
            *out = self;
            return S_OK;
        }
    }
    *out = nullptr;
    return E_NOINTERFACE;
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
