#include "capture/capture_graph.h"

#include <dshow.h>
#include <oleauto.h>

#include <string>

#include "platform/wide.h"

namespace orvane {

namespace {

std::wstring DisplayNameOf(IMoniker* moniker) {
    LPOLESTR name = nullptr;
    if (FAILED(moniker->GetDisplayName(nullptr, nullptr, &name)) || name == nullptr) return {};
    std::wstring result(name);
    ComPtr<IMalloc> malloc;
    if (SUCCEEDED(CoGetMalloc(1, malloc.Put()))) malloc->Free(name);
    return result;
}

bool ReadFriendlyName(IMoniker* moniker, std::array<wchar_t, kDeviceNameUnits>& slot) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
        return false;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    const bool ok = SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR &&
                    value.bstrVal != nullptr;
    if (ok) {
        // Longer names are cut to 519 units and the terminator.
        const UINT length = SysStringLen(value.bstrVal);
        const size_t n = length < slot.size() - 1 ? length : slot.size() - 1;
        std::fill(slot.begin(), slot.end(), L'\0');
        std::copy(value.bstrVal, value.bstrVal + n, slot.begin());
    }
    VariantClear(&value);
    return ok;
}

}  // namespace

int CaptureGraph::EnumerateDevices(DeviceNameTable& names) {
    count_ = 0;
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum, devices.PutVoid()))) {
        return -1;
    }
    ComPtr<IEnumMoniker> category;
    if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, category.Put(), 0) != S_OK ||
        !category) {
        return 0;
    }
    category->Reset();
    model6710Index_ = -1;
    for (auto& held : monikers_) held.Reset();

    ComPtr<IMoniker> moniker;
    while (count_ < kMaxDevices && category->Next(1, moniker.Put(), nullptr) == S_OK) {
        const std::wstring displayName = DisplayNameOf(moniker.Get());
        const std::u16string name = FromWide(displayName);
        const uint32_t code = DeviceCodeFromDisplayName(name);
        if (code == 0) continue;
        if (!ReadFriendlyName(moniker.Get(), names[count_])) continue;
        monikers_[count_] = moniker;
        codes_[count_] = code;
        if (IsModel6710Name(name)) model6710Index_ = count_;
        ++count_;
    }
    return count_;
}

int CaptureGraph::SelectDevice(int index) {
    if (index >= 0 && index < count_) current_ = index;
    return current_;
}

}  // namespace orvane
