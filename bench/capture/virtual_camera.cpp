#include "bench/capture/virtual_camera.h"

#include <utility>

#include "tools/virtualcam/client.h"
#include "tools/virtualcam/models.h"

namespace orvane::bench {

namespace {

// {6F1C2A40-8D3B-4E57-9A61-0B7C5E3D2A00}: the camera of slot 0.
constexpr CLSID kSlot0 = {
    0x6F1C2A40, 0x8D3B, 0x4E57, {0x9A, 0x61, 0x0B, 0x7C, 0x5E, 0x3D, 0x2A, 0x00}};

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HRESULT RegisterCameras() {
    return vcam::CallDllEntry("DllRegisterServer");
}

}  // namespace

bool VirtualCameraObjectsAlive() {
    const UniqueLibrary library(LoadLibraryW(vcam::DllBesideProgram().c_str()));
    const auto canUnload =
        library ? Export<HRESULT(WINAPI*)()>(library.Get(), "DllCanUnloadNow") : nullptr;
    return !canUnload || canUnload() != S_OK;
}

VirtualCameraModel::VirtualCameraModel(const wchar_t* pid) {
    if (!key_.Create(HKEY_CURRENT_USER, vcam::kConfigKey)) return;
    hadDevices_ = key_.Query(L"Devices", previousType_, previous_);
    std::wstring list(pid);
    list.append(2, L'\0');
    if (!key_.Set(L"Devices", REG_MULTI_SZ, list.data(),
                  static_cast<DWORD>(list.size() * sizeof(wchar_t)))) {
        return;
    }
    ok_ = SUCCEEDED(RegisterCameras());
}

VirtualCameraModel::~VirtualCameraModel() {
    if (!key_) return;
    if (hadDevices_) {
        key_.Set(L"Devices", previousType_, previous_.data(), static_cast<DWORD>(previous_.size()));
    } else {
        RegDeleteValueW(key_.Get(), L"Devices");
    }
    RegisterCameras();
}

CameraWatch::CameraWatch() {
    library_.Reset(LoadLibraryW(vcam::DllBesideProgram().c_str()));
    if (!library_) return;
    const auto getClass =
        Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(library_.Get(), "DllGetClassObject");
    if (!getClass || FAILED(getClass(kSlot0, IID_IClassFactory, inner_.PutVoid()))) return;
    if (FAILED(CoRegisterClassObject(kSlot0, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                     &cookie_))) {
        cookie_ = 0;
    }
}

CameraWatch::~CameraWatch() {
    if (cookie_) CoRevokeClassObject(cookie_);
    latest_.Reset();
    inner_.Reset();
}

ComPtr<IBaseFilter> CameraWatch::TakeCamera() {
    ComPtr<IBaseFilter> camera;
    std::swap(camera, latest_);
    return camera;
}

STDMETHODIMP CameraWatch::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CameraWatch::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    const HRESULT hr = inner_->CreateInstance(outer, iid, out);
    if (SUCCEEDED(hr) && out && *out) {
        latest_.Reset();
        static_cast<IUnknown*>(*out)->QueryInterface(IID_IBaseFilter, latest_.PutVoid());
    }
    return hr;
}

STDMETHODIMP CameraWatch::LockServer(BOOL lock) {
    return inner_->LockServer(lock);
}

}  // namespace orvane::bench
