#pragma once
// The two process-wide frame callbacks the graph registers: per-sample for the preview branch
// (photos from the live picture, a new clip's thumbnail), buffered for the still branch (stills
// at preview size and the raw photo sizes). They write a temporary picture file and announce it
// to the main window.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "capture/raw/raw_camera.h"
#include "capture/raw/raw_still.h"
#include "capture/raw/win/raw_camera_source.h"

namespace orvane {

// Requests and states shared between the main thread and the streaming threads.
struct StillRequests {
    std::atomic<uint32_t> previewPhoto{0};  // the next preview frame is a photo
    std::atomic<uint32_t> thumbnail{0};     // the next preview frame is "thumb.bmp"
    std::atomic<uint32_t> saverState{0};    // preview saver: 0 idle, 1 photo, 0x10000 thumbnail
    std::atomic<uint32_t> stillPending{0};  // a raw photo is on its way ...
    std::atomic<uint64_t> stillPendingSince{0};  // ... since this tick count (milliseconds)
};
StillRequests& Requests();

constexpr uint32_t kSaverIdle = 0;
constexpr uint32_t kSaverPhoto = 1;
constexpr uint32_t kSaverThumbnail = 0x10000;
constexpr HRESULT kSampleNotUsed = 0x80040200;

class FrameGrabberCallback : public ISampleGrabberCB {
  public:
    // Process-wide objects: references do not end their life.
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 2; }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP SampleCB(double, IMediaSample*) override { return S_OK; }
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return S_OK; }

    uint64_t Frames() const { return frames_.load(std::memory_order_relaxed); }

  protected:
    FrameGrabberCallback();
    void CountFrame() { frames_.fetch_add(1, std::memory_order_relaxed); }
    // One converted frame of up to 1600 x 1200 pixels, and one resampled frame; allocated
    // once for the run (empty when memory was short: then no frame needs them).
    std::unique_ptr<uint8_t[]> converted_;
    std::unique_ptr<uint8_t[]> resampled_;

  private:
    std::atomic<uint64_t> frames_{0};
};

constexpr size_t kFrameBufferBytes = 1600 * 1200 * 3;  // 5,760,000

class PreviewFrameCallback final : public FrameGrabberCallback {
  public:
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;

  private:
    // Writes one frame as a picture; false to try the next frame (not a whole JPEG picture).
    HRESULT SaveFrame(uint32_t state, const uint8_t* data, size_t length, bool* retry);
};

struct HandedOverThumbnail;

class StillFrameCallback final : public FrameGrabberCallback {
  public:
    StillFrameCallback();
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;
    // The clock of the two-halves rule, in seconds (tests move it).
    void SetClock(int64_t (*seconds)()) { clock_ = seconds; }

  private:
    HRESULT RawSingle(const uint8_t* data, size_t length, int targetWidth, int targetHeight);
    HRESULT RawHalves(const uint8_t* data, size_t length, int targetWidth, int targetHeight);
    HRESULT PreviewSize(const AM_MEDIA_TYPE& type, const uint8_t* data, size_t length,
                        uint32_t sizeCode);
    // Converts the stored raw picture and saves it as path; its hand-over thumbnail, made from
    // the converted pixels, goes into thumbnail (empty when it could not be made).
    bool ConvertAndSave(int width, int height, size_t rawBytes, int targetWidth, int targetHeight,
                        const std::wstring& path, HandedOverThumbnail* thumbnail);

    RawStillBuffer raw_;
    CRawCameraSource camera_;
    CRawPars_HW pars_;
    int64_t (*clock_)();
    bool previewHalf_ = false;  // 0x13200258: every second still sample is a photo
};

PreviewFrameCallback& PreviewCallback();
StillFrameCallback& StillCallback();

}  // namespace orvane
