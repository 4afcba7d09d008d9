#include "capture/frame_grabbers.h"

namespace orvane {

STDMETHODIMP FrameGrabberCallback::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ISampleGrabberCB) {
        *out = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FrameGrabberCallback::SampleCB(double, IMediaSample*) {
    frames_.fetch_add(1, std::memory_order_relaxed);
    return S_OK;
}

STDMETHODIMP FrameGrabberCallback::BufferCB(double, BYTE*, long) {
    frames_.fetch_add(1, std::memory_order_relaxed);
    return S_OK;
}

FrameGrabberCallback& PreviewCallback() {
    static FrameGrabberCallback callback;
    return callback;
}

FrameGrabberCallback& StillCallback() {
    static FrameGrabberCallback callback;
    return callback;
}

}  // namespace orvane
