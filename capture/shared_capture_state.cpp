#include "capture/shared_capture_state.h"

namespace orvane {

void SharedCaptureState::SetStillType(const AM_MEDIA_TYPE& type) {
    std::lock_guard<std::mutex> hold(lock_);
    stillType_.Assign(type);
}

HRESULT SharedCaptureState::CopyStillType(AM_MEDIA_TYPE* out) const {
    if (!out) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    if (stillType_.Empty()) {
        *out = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return stillType_.CopyTo(out);
}

void SharedCaptureState::SetSizeCode(uint32_t code) {
    std::lock_guard<std::mutex> hold(lock_);
    sizeCode_ = code;
}

uint32_t SharedCaptureState::SizeCode() const {
    std::lock_guard<std::mutex> hold(lock_);
    return sizeCode_;
}

void SharedCaptureState::SetCaptureHeader(const BITMAPINFOHEADER& header) {
    std::lock_guard<std::mutex> hold(lock_);
    captureHeader_ = header;
}

BITMAPINFOHEADER SharedCaptureState::CaptureHeader() const {
    std::lock_guard<std::mutex> hold(lock_);
    return captureHeader_;
}

void SharedCaptureState::SetCamera(IBaseFilter* camera) {
    ComPtr<IBaseFilter> previous;
    {
        std::lock_guard<std::mutex> hold(lock_);
        previous = std::move(camera_);
        camera_ = ComPtr<IBaseFilter>::Share(camera);
    }
    // The old camera is released outside the lock: its release may stop a streaming thread.
}

ComPtr<IBaseFilter> SharedCaptureState::Camera() const {
    std::lock_guard<std::mutex> hold(lock_);
    return camera_;
}

void SharedCaptureState::Clear() {
    ComPtr<IBaseFilter> camera;
    std::lock_guard<std::mutex> hold(lock_);
    stillType_.Clear();
    camera = std::move(camera_);
    sizeCode_ = 0;
    captureHeader_ = BITMAPINFOHEADER{};
}

SharedCaptureState& CaptureState() {
    static SharedCaptureState state;
    return state;
}

}  // namespace orvane
