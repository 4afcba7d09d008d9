#pragma once
// The virtual camera beside this program: configured as one model for a measurement, and watched
// from inside the process so that a figure can ask the camera filter the graph binds.
#include <windows.h>
#include <dshow.h>

#include <string>

#include "platform/com_ptr.h"
#include "platform/handles.h"
#include "platform/reg_key.h"

namespace orvane::bench {

// Registers one camera of the model pid (hex, e.g. L"6340") for the life of the object; the
// earlier camera list comes back afterwards.
class VirtualCameraModel {
  public:
    explicit VirtualCameraModel(const wchar_t* pid);
    ~VirtualCameraModel();
    VirtualCameraModel(const VirtualCameraModel&) = delete;
    VirtualCameraModel& operator=(const VirtualCameraModel&) = delete;
    bool Ok() const { return ok_; }

  private:
    RegKey key_;
    bool hadDevices_ = false;
    DWORD previousType_ = 0;
    std::string previous_;
    bool ok_ = false;
};

// Stands in front of the camera DLL's class object of slot 0 inside this process and keeps the
// latest filter it made. The camera still does all the work; nothing of the graph changes.
class CameraWatch : public IClassFactory {
  public:
    CameraWatch();
    ~CameraWatch();
    CameraWatch(const CameraWatch&) = delete;
    CameraWatch& operator=(const CameraWatch&) = delete;
    bool Ok() const { return cookie_ != 0; }
    // The filter made last (a reference of the caller's own); empty when none was made.
    ComPtr<IBaseFilter> TakeCamera();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives as long as its registration
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

  private:
    UniqueLibrary library_;
    ComPtr<IClassFactory> inner_;
    ComPtr<IBaseFilter> latest_;
    DWORD cookie_ = 0;
};

// Whether any object of the camera DLL (filter, pin enumerator, ...) is still alive.
bool VirtualCameraObjectsAlive();

}  // namespace orvane::bench
