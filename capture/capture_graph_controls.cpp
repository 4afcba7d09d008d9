// The camera's still trigger, its property pages and the compressor discovery.
#include <cwctype>
#include <string>

#include "capture/capture_graph.h"

#include <olectl.h>

namespace orvane {

void CaptureGraph::DiscoverCompressor() {
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum, devices.PutVoid()))) {
        return;
    }
    ComPtr<IEnumMoniker> compressors;
    if (devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, compressors.Put(), 0) !=
            S_OK ||
        !compressors) {
        return;
    }
    ComPtr<IMoniker> moniker;
    while (!dvEncoder_ && compressors->Next(1, moniker.Put(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
            continue;
        VARIANT name;
        VariantInit(&name);
        name.vt = VT_BSTR;
        if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR &&
            name.bstrVal) {
            std::wstring upper(name.bstrVal, SysStringLen(name.bstrVal));
            for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
            if (upper == L"DV VIDEO ENCODER") {
                moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, dvEncoder_.PutVoid());
            }
        }
        VariantClear(&name);
    }
    if (!dvEncoder_) return;
    ComPtr<IEnumPins> pins;
    if (FAILED(dvEncoder_->EnumPins(pins.Put())) || !pins) return;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        auto compression = pin.As<IAMVideoCompression>(IID_IAMVideoCompression);
        if (!compression) continue;
        long capabilities = 0;
        if (SUCCEEDED(compression->GetInfo(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, &capabilities)) &&
            (capabilities & CompressionCaps_CanQuality)) {
            compression->put_Quality(-1.0);
        }
        break;
    }
}

HRESULT CaptureGraph::TriggerStill() {
    if (!camera_ || !builder_) return E_FAIL;
    auto control = camera_.As<IAMVideoControl>(IID_IAMVideoControl);
    if (!control) return E_NOINTERFACE;
    ComPtr<IPin> still;
    HRESULT hr = builder_->FindPin(camera_.Get(), PINDIR_OUTPUT, &PIN_CATEGORY_STILL, nullptr,
                                   FALSE, 0, still.Put());
    if (FAILED(hr) || !still) return FAILED(hr) ? hr : E_FAIL;
    return control->SetMode(still.Get(), VideoControlFlag_Trigger);
}

HRESULT CaptureGraph::ShowImageSettings() {
    if (!camera_) return 1;
    auto pages = camera_.As<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
    if (!pages) return E_NOINTERFACE;
    CAUUID uuids{};
    HRESULT hr = pages->GetPages(&uuids);
    if (FAILED(hr)) return hr;
    IUnknown* object = camera_.Get();
    hr = OleCreatePropertyFrame(owner_, 30, 30, nullptr, 1, &object, uuids.cElems, uuids.pElems, 0,
                                0, nullptr);
    CoTaskMemFree(uuids.pElems);
    return hr;
}

}  // namespace orvane
