#pragma once
// A heap COM object that answers one interface (besides IUnknown), counted with an atomic
// reference and deleted by its last Release.
#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace orvane {

template <typename Interface, const IID& Iid>
class SingleInterfaceObject : public Interface {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == Iid) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    SingleInterfaceObject() = default;
    virtual ~SingleInterfaceObject() = default;

  private:
    std::atomic<ULONG> refs_{1};
};

}  // namespace orvane
