#pragma once
// A COM object that answers one interface (besides IUnknown), counted with an atomic reference.
#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace vcam {

template <typename Interface, const IID& Iid>
class SingleInterfaceObject : public Interface {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == Iid) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG r = --refs_;
        if (r == 0) delete this;
        return r;
    }

  protected:
    SingleInterfaceObject() = default;
    virtual ~SingleInterfaceObject() = default;

  private:
    std::atomic<ULONG> refs_{1};
};

}  // namespace vcam
