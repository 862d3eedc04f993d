// Activation objects of the synthetic camera: an IMFActivate whose attributes
// (symbolic link, friendly name, source type) live in a real attribute store.

#include <mfapi.h>
#include <mfidl.h>
#include <wrl/client.h>

#include "synthetic_camera/com_object.h"
#include "synthetic_camera/synthetic_internal.h"

using Microsoft::WRL::ComPtr;

namespace {

struct SyntheticActivate final : IMFActivate, LiveCounter<SyntheticActivate> {
    RefCount refs;
    ComPtr<IMFAttributes> store;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFAttributes) ||
            iid == __uuidof(IMFActivate)) {
            *out = static_cast<IMFActivate*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    SYNTHETIC_IUNKNOWN_REFCOUNT

    // IMFAttributes, forwarded to the store.
    HRESULT STDMETHODCALLTYPE GetItem(REFGUID k, PROPVARIANT* v) override {
        return store->GetItem(k, v);
    }
    HRESULT STDMETHODCALLTYPE GetItemType(REFGUID k, MF_ATTRIBUTE_TYPE* t) override {
        return store->GetItemType(k, t);
    }
    HRESULT STDMETHODCALLTYPE CompareItem(REFGUID k, REFPROPVARIANT v, BOOL* r) override {
        return store->CompareItem(k, v, r);
    }
    HRESULT STDMETHODCALLTYPE Compare(IMFAttributes* a, MF_ATTRIBUTES_MATCH_TYPE m,
                                      BOOL* r) override {
        return store->Compare(a, m, r);
    }
    HRESULT STDMETHODCALLTYPE GetUINT32(REFGUID k, UINT32* v) override {
        return store->GetUINT32(k, v);
    }
    HRESULT STDMETHODCALLTYPE GetUINT64(REFGUID k, UINT64* v) override {
        return store->GetUINT64(k, v);
    }
    HRESULT STDMETHODCALLTYPE GetDouble(REFGUID k, double* v) override {
        return store->GetDouble(k, v);
    }
    HRESULT STDMETHODCALLTYPE GetGUID(REFGUID k, GUID* v) override { return store->GetGUID(k, v); }
    HRESULT STDMETHODCALLTYPE GetStringLength(REFGUID k, UINT32* n) override {
        return store->GetStringLength(k, n);
    }
    HRESULT STDMETHODCALLTYPE GetString(REFGUID k, LPWSTR v, UINT32 n, UINT32* l) override {
        return store->GetString(k, v, n, l);
    }
    HRESULT STDMETHODCALLTYPE GetAllocatedString(REFGUID k, LPWSTR* v, UINT32* l) override {
        return store->GetAllocatedString(k, v, l);
    }
    HRESULT STDMETHODCALLTYPE GetBlobSize(REFGUID k, UINT32* n) override {
        return store->GetBlobSize(k, n);
    }
    HRESULT STDMETHODCALLTYPE GetBlob(REFGUID k, UINT8* b, UINT32 n, UINT32* s) override {
        return store->GetBlob(k, b, n, s);
    }
    HRESULT STDMETHODCALLTYPE GetAllocatedBlob(REFGUID k, UINT8** b, UINT32* s) override {
        return store->GetAllocatedBlob(k, b, s);
    }
    HRESULT STDMETHODCALLTYPE GetUnknown(REFGUID k, REFIID i, LPVOID* o) override {
        return store->GetUnknown(k, i, o);
    }
    HRESULT STDMETHODCALLTYPE SetItem(REFGUID k, REFPROPVARIANT v) override {
        return store->SetItem(k, v);
    }
    HRESULT STDMETHODCALLTYPE DeleteItem(REFGUID k) override { return store->DeleteItem(k); }
    HRESULT STDMETHODCALLTYPE DeleteAllItems() override { return store->DeleteAllItems(); }
    HRESULT STDMETHODCALLTYPE SetUINT32(REFGUID k, UINT32 v) override {
        return store->SetUINT32(k, v);
    }
    HRESULT STDMETHODCALLTYPE SetUINT64(REFGUID k, UINT64 v) override {
        return store->SetUINT64(k, v);
    }
    HRESULT STDMETHODCALLTYPE SetDouble(REFGUID k, double v) override {
        return store->SetDouble(k, v);
    }
    HRESULT STDMETHODCALLTYPE SetGUID(REFGUID k, REFGUID v) override {
        return store->SetGUID(k, v);
    }
    HRESULT STDMETHODCALLTYPE SetString(REFGUID k, LPCWSTR v) override {
        return store->SetString(k, v);
    }
    HRESULT STDMETHODCALLTYPE SetBlob(REFGUID k, const UINT8* b, UINT32 n) override {
        return store->SetBlob(k, b, n);
    }
    HRESULT STDMETHODCALLTYPE SetUnknown(REFGUID k, IUnknown* u) override {
        return store->SetUnknown(k, u);
    }
    HRESULT STDMETHODCALLTYPE LockStore() override { return store->LockStore(); }
    HRESULT STDMETHODCALLTYPE UnlockStore() override { return store->UnlockStore(); }
    HRESULT STDMETHODCALLTYPE GetCount(UINT32* n) override { return store->GetCount(n); }
    HRESULT STDMETHODCALLTYPE GetItemByIndex(UINT32 i, GUID* k, PROPVARIANT* v) override {
        return store->GetItemByIndex(i, k, v);
    }
    HRESULT STDMETHODCALLTYPE CopyAllItems(IMFAttributes* d) override {
        return store->CopyAllItems(d);
    }

    // The worker opens devices by symbolic link, never through activation.
    HRESULT STDMETHODCALLTYPE ActivateObject(REFIID, void** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ShutdownObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DetachObject() override { return S_OK; }
};

} // namespace

long synthetic_live_activates() {
    return SyntheticActivate::live.load();
}

HRESULT synthetic_create_activate(const SyntheticCamera& camera, IMFActivate** out) {
    *out = nullptr;
    auto* activate = new SyntheticActivate();
    ComPtr<IMFActivate> owner = adopt_new<IMFActivate>(activate);
    HRESULT hr = MFCreateAttributes(&activate->store, 3);
    if (SUCCEEDED(hr)) {
        hr = activate->store->SetGUID(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE,
                                      MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_GUID);
    }
    if (SUCCEEDED(hr)) {
        hr = activate->store->SetString(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_SYMBOLIC_LINK,
                                        camera.symbolic_link.c_str());
    }
    if (SUCCEEDED(hr) && camera.has_friendly_name) {
        hr = activate->store->SetString(MF_DEVSOURCE_ATTRIBUTE_FRIENDLY_NAME,
                                        camera.friendly_name.c_str());
    }
    if (SUCCEEDED(hr)) {
        *out = owner.Detach();
    }
    return hr;
}
