#include "capture/filters/local_output_pin.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace orvane {

bool MediaTypeMatches(const AM_MEDIA_TYPE& wanted, const AM_MEDIA_TYPE& actual) {
    if (wanted.majortype != GUID_NULL && wanted.majortype != actual.majortype) return false;
    if (wanted.subtype != GUID_NULL && wanted.subtype != actual.subtype) return false;
    if (wanted.formattype != GUID_NULL && wanted.formattype != actual.formattype) return false;
    return true;
}

LocalOutputPin::~LocalOutputPin() {
    if (allocator_) allocator_->Release();
    if (receiver_) receiver_->Release();
    if (peer_) peer_->Release();
}

STDMETHODIMP LocalOutputPin::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPin) return E_NOINTERFACE;
    *out = static_cast<IPin*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP LocalOutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
    if (!receivePin) return E_POINTER;
    if (peer_) return VFW_E_ALREADY_CONNECTED;
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!OfferedType(type_)) return VFW_E_NO_ACCEPTABLE_TYPES;
    if (type && !MediaTypeMatches(*type, type_.Get())) {
        type_.Clear();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT hr = receivePin->ReceiveConnection(this, &type_.Get());
    if (FAILED(hr)) {
        type_.Clear();
        return hr;
    }
    peer_ = receivePin;
    peer_->AddRef();
    hr = peer_->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&receiver_));
    if (SUCCEEDED(hr)) hr = DecideAllocator();
    if (FAILED(hr)) {
        peer_->Disconnect();
        Disconnect();
        return hr == E_NOINTERFACE ? VFW_E_NO_TRANSPORT : hr;
    }
    return S_OK;
}

HRESULT LocalOutputPin::DecideAllocator() {
    HRESULT hr = receiver_->GetAllocator(&allocator_);
    if (FAILED(hr) || !allocator_) {
        hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IMemAllocator, reinterpret_cast<void**>(&allocator_));
        if (FAILED(hr)) return hr;
    }
    ALLOCATOR_PROPERTIES wanted{};
    receiver_->GetAllocatorRequirements(&wanted);
    wanted.cBuffers = std::max<long>(wanted.cBuffers, 1);
    wanted.cbBuffer = std::max<long>({wanted.cbBuffer, type_.SampleBytes(), 1});
    wanted.cbAlign = std::max<long>(wanted.cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    hr = allocator_->SetProperties(&wanted, &actual);
    if (FAILED(hr)) return hr;
    if (actual.cbBuffer < type_.SampleBytes()) return VFW_E_SIZENOTSET;
    return receiver_->NotifyAllocator(allocator_, ForwardsSamples() ? TRUE : FALSE);
}

STDMETHODIMP LocalOutputPin::Disconnect() {
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!peer_) return S_FALSE;
    if (allocator_) allocator_->Release();
    if (receiver_) receiver_->Release();
    peer_->Release();
    allocator_ = nullptr;
    receiver_ = nullptr;
    peer_ = nullptr;
    type_.Clear();
    return S_OK;
}

STDMETHODIMP LocalOutputPin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    *pin = peer_;
    if (!peer_) return VFW_E_NOT_CONNECTED;
    peer_->AddRef();
    return S_OK;
}

STDMETHODIMP LocalOutputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    if (!peer_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return type_.CopyTo(type);
}

STDMETHODIMP LocalOutputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = PINDIR_OUTPUT;
    const size_t n = std::min<size_t>(std::wcslen(name_), MAX_PIN_NAME - 1);
    std::wmemcpy(info->achName, name_, n);
    info->achName[n] = L'\0';
    return S_OK;
}

STDMETHODIMP LocalOutputPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP LocalOutputPin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    const size_t bytes = (std::wcslen(name_) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, name_, bytes);
    return S_OK;
}

STDMETHODIMP LocalOutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    MediaType offered;
    if (!OfferedType(offered)) return S_FALSE;
    return MediaTypeMatches(*type, offered.Get()) ? S_OK : S_FALSE;
}

STDMETHODIMP LocalOutputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    MediaType offered;
    OfferedType(offered);
    return NewMediaTypeEnumerator(offered, types);
}

}  // namespace orvane
