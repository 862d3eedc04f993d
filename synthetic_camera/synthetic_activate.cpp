// Activation objects of the synthetic camera: an IMFActivate whose attributes
// (symbolic link, friendly name, source type) live in a real attribute store.

#include <mfapi.h>
#include <mfidl.h>
#include <wrl/client.h>

#include "synthetic_camera/com_object.h"
#include "synthetic_camera/synthetic_internal.h"

using Microsoft::WRL::ComPtr;

namespace {

// IMFAttributes methods answered by the attribute store.
#define FORWARD_TO_STORE(method, parameters, arguments)                                            \
    HRESULT STDMETHODCALLTYPE method parameters override {                                         \
        return store->method arguments;                                                            \
    }

struct SyntheticActivate final : ComObject<SyntheticActivate, IMFActivate>,
                                 LiveCounter<live_activates> {
    ComPtr<IMFAttributes> store;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return answer_query(iid, out, static_cast<IMFActivate*>(this),
                            {__uuidof(IUnknown), __uuidof(IMFAttributes), __uuidof(IMFActivate)});
    }

    FORWARD_TO_STORE(GetItem, (REFGUID k, PROPVARIANT* v), (k, v))
    FORWARD_TO_STORE(GetItemType, (REFGUID k, MF_ATTRIBUTE_TYPE* t), (k, t))
    FORWARD_TO_STORE(CompareItem, (REFGUID k, REFPROPVARIANT v, BOOL* r), (k, v, r))
    FORWARD_TO_STORE(Compare, (IMFAttributes * a, MF_ATTRIBUTES_MATCH_TYPE m, BOOL* r), (a, m, r))
    FORWARD_TO_STORE(GetUINT32, (REFGUID k, UINT32* v), (k, v))
    FORWARD_TO_STORE(GetUINT64, (REFGUID k, UINT64* v), (k, v))
    FORWARD_TO_STORE(GetDouble, (REFGUID k, double* v), (k, v))
    FORWARD_TO_STORE(GetGUID, (REFGUID k, GUID* v), (k, v))
    FORWARD_TO_STORE(GetStringLength, (REFGUID k, UINT32* n), (k, n))
    FORWARD_TO_STORE(GetString, (REFGUID k, LPWSTR v, UINT32 n, UINT32* l), (k, v, n, l))
    FORWARD_TO_STORE(GetAllocatedString, (REFGUID k, LPWSTR* v, UINT32* l), (k, v, l))
    FORWARD_TO_STORE(GetBlobSize, (REFGUID k, UINT32* n), (k, n))
    FORWARD_TO_STORE(GetBlob, (REFGUID k, UINT8* b, UINT32 n, UINT32* s), (k, b, n, s))
    FORWARD_TO_STORE(GetAllocatedBlob, (REFGUID k, UINT8** b, UINT32* s), (k, b, s))
    FORWARD_TO_STORE(GetUnknown, (REFGUID k, REFIID i, LPVOID* o), (k, i, o))
    FORWARD_TO_STORE(SetItem, (REFGUID k, REFPROPVARIANT v), (k, v))
    FORWARD_TO_STORE(DeleteItem, (REFGUID k), (k))
    FORWARD_TO_STORE(DeleteAllItems, (), ())
    FORWARD_TO_STORE(SetUINT32, (REFGUID k, UINT32 v), (k, v))
    FORWARD_TO_STORE(SetUINT64, (REFGUID k, UINT64 v), (k, v))
    FORWARD_TO_STORE(SetDouble, (REFGUID k, double v), (k, v))
    FORWARD_TO_STORE(SetGUID, (REFGUID k, REFGUID v), (k, v))
    FORWARD_TO_STORE(SetString, (REFGUID k, LPCWSTR v), (k, v))
    FORWARD_TO_STORE(SetBlob, (REFGUID k, const UINT8* b, UINT32 n), (k, b, n))
    FORWARD_TO_STORE(SetUnknown, (REFGUID k, IUnknown* u), (k, u))
    FORWARD_TO_STORE(LockStore, (), ())
    FORWARD_TO_STORE(UnlockStore, (), ())
    FORWARD_TO_STORE(GetCount, (UINT32 * n), (n))
    FORWARD_TO_STORE(GetItemByIndex, (UINT32 i, GUID* k, PROPVARIANT* v), (i, k, v))
    FORWARD_TO_STORE(CopyAllItems, (IMFAttributes * d), (d))

    // The worker opens devices by symbolic link, never through activation.
    HRESULT STDMETHODCALLTYPE ActivateObject(REFIID, void** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ShutdownObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DetachObject() override { return S_OK; }
};

#undef FORWARD_TO_STORE

} // namespace

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
