// The DLL's entry points: class objects for the nine device slots and their registration.
#include <windows.h>
#include <dshow.h>

#include <string>

#include "platform/com_object.h"
#include "tools/virtualcam/filter.h"
#include "tools/virtualcam/models.h"
#include "tools/virtualcam/page.h"

namespace {

HMODULE g_module = nullptr;

constexpr int kPageSlot = -100;

class ClassFactory : public orvane::SingleInterfaceObject<IClassFactory, IID_IClassFactory> {
  public:
    // slot: the camera slot, or kPageSlot for the property page.
    explicit ClassFactory(int slot) : slot_(slot) { ++vcam::g_objects; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (slot_ == kPageSlot) {
            IPropertyPage* page = vcam::CreateBrightnessPage();
            if (!page) return E_OUTOFMEMORY;
            HRESULT hr = page->QueryInterface(riid, ppv);
            page->Release();
            return hr;
        }
        vcam::Config config = vcam::ReadConfig();
        if (slot_ >= static_cast<int>(config.devices.size())) return E_FAIL;
        // An unplugged camera, or one set up to fail, cannot be opened.
        if ((config.failOpen | config.lost) & (1u << slot_))
            return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
        const vcam::Model* model = vcam::FindModel(config.devices[slot_]);
        if (!model) return E_FAIL;
        auto* filter =
            new (std::nothrow) vcam::Filter(slot_, *model, (config.failRender >> slot_) & 1);
        if (!filter) return E_OUTOFMEMORY;
        HRESULT hr = filter->QueryInterface(riid, ppv);
        filter->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            ++vcam::g_objects;
        } else {
            --vcam::g_objects;
        }
        return S_OK;
    }

  private:
    virtual ~ClassFactory() { --vcam::g_objects; }
    int slot_;
};

std::wstring GuidText(REFGUID guid) {
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return text;
}

HRESULT RegisterClassKey(REFCLSID clsid, const wchar_t* name, size_t nameBytes,
                         const wchar_t* dllPath) {
    std::wstring key = L"CLSID\\" + GuidText(clsid);
    HKEY clsidKey = nullptr, serverKey = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &clsidKey, nullptr) != ERROR_SUCCESS) {
        return SELFREG_E_CLASS;
    }
    RegSetValueExW(clsidKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                   static_cast<DWORD>(nameBytes));
    LONG rc = RegCreateKeyExW(clsidKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &serverKey, nullptr);
    RegCloseKey(clsidKey);
    if (rc != ERROR_SUCCESS) return SELFREG_E_CLASS;
    RegSetValueExW(serverKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(dllPath),
                   static_cast<DWORD>((wcslen(dllPath) + 1) * sizeof(wchar_t)));
    const wchar_t model[] = L"Both";
    RegSetValueExW(serverKey, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model),
                   sizeof(model));
    RegCloseKey(serverKey);
    return S_OK;
}

HRESULT WithMapper(HRESULT (*work)(IFilterMapper2*)) {
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IFilterMapper2* mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, reinterpret_cast<void**>(&mapper));
    if (SUCCEEDED(hr)) {
        hr = work(mapper);
        mapper->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return hr;
}

HRESULT RegisterDevices(IFilterMapper2* mapper) {
    vcam::RemoveDeviceMonikers(-1);
    vcam::Config config = vcam::ReadConfig();
    static const REGPINTYPES kVideo = {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2};
    static const REGFILTERPINS kPins[2] = {
        {const_cast<LPWSTR>(L"Capture"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1,
         &kVideo},
        {const_cast<LPWSTR>(L"Still"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kVideo},
    };
    REGFILTER2 info = {};
    info.dwVersion = 1;
    info.dwMerit = MERIT_DO_NOT_USE;
    info.cPins = 2;
    info.rgPins = kPins;
    for (size_t slot = 0; slot < config.devices.size(); ++slot) {
        const vcam::Model* model = vcam::FindModel(config.devices[slot]);
        if (!model) continue;
        std::wstring friendly = vcam::FriendlyName(*model, static_cast<int>(slot));
        std::wstring instance = vcam::InstanceName(model->pid, static_cast<int>(slot));
        HRESULT hr = mapper->RegisterFilter(
            vcam::SlotClsid(static_cast<int>(slot)), friendly.c_str(), nullptr,
            &CLSID_VideoInputDeviceCategory, instance.c_str(), &info);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        vcam::UnregisterPageClass(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    int slot = kPageSlot;
    if (!IsEqualCLSID(clsid, vcam::kBrightnessPageClsid)) {
        slot = vcam::SlotOf(clsid);
        if (slot < 0) return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new (std::nothrow) ClassFactory(slot);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return vcam::g_objects == 0 ? S_OK : S_FALSE;
}

// Registers the classes of all slots and one device moniker per configured camera.
STDAPI DllRegisterServer() {
    wchar_t path[MAX_PATH] = {};
    if (!GetModuleFileNameW(g_module, path, MAX_PATH)) return SELFREG_E_CLASS;
    static const wchar_t kCamera[] = L"Orvane Virtual Microscope";
    static const wchar_t kPage[] = L"Orvane Virtual Microscope Image Page";
    for (int slot = 0; slot < vcam::kMaxDevices; ++slot) {
        HRESULT hr = RegisterClassKey(vcam::SlotClsid(slot), kCamera, sizeof(kCamera), path);
        if (FAILED(hr)) return hr;
    }
    HRESULT page = RegisterClassKey(vcam::kBrightnessPageClsid, kPage, sizeof(kPage), path);
    if (FAILED(page)) return page;
    return WithMapper(RegisterDevices);
}

STDAPI DllUnregisterServer() {
    HRESULT hr = vcam::RemoveDeviceMonikers(-1);
    for (int slot = -1; slot < vcam::kMaxDevices; ++slot) {
        std::wstring key =
            L"CLSID\\" + GuidText(slot < 0 ? vcam::kBrightnessPageClsid : vcam::SlotClsid(slot));
        RegDeleteKeyW(HKEY_CLASSES_ROOT, (key + L"\\InprocServer32").c_str());
        RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
    }
    return hr;
}

}  // extern "C"
