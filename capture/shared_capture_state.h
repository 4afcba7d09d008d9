#pragma once
// What the frame callbacks need from the graph on their streaming threads: the still pin's media
// type, the size code in force, the capture format and the camera for register reads. The graph
// build writes it while no graph runs; readers take copies under the lock.
#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <mutex>

#include "capture/filters/media_type.h"
#include "platform/com_ptr.h"

namespace orvane {

class SharedCaptureState {
  public:
    void SetStillType(const AM_MEDIA_TYPE& type);
    // A deep copy of the still type for the caller to free; VFW_E_NOT_CONNECTED before one is set.
    HRESULT CopyStillType(AM_MEDIA_TYPE* out) const;

    void SetSizeCode(uint32_t code);
    uint32_t SizeCode() const;

    void SetCaptureHeader(const BITMAPINFOHEADER& header);
    BITMAPINFOHEADER CaptureHeader() const;

    // The still callback's own reference on the camera, replacing the previous one.
    void SetCamera(IBaseFilter* camera);
    ComPtr<IBaseFilter> Camera() const;

    // Frees the still type and drops the camera (when the capture graph goes).
    void Clear();

  private:
    mutable std::mutex lock_;
    MediaType stillType_;
    uint32_t sizeCode_ = 0;
    BITMAPINFOHEADER captureHeader_{};
    ComPtr<IBaseFilter> camera_;
};

SharedCaptureState& CaptureState();

}  // namespace orvane
