#pragma once
// The two process-wide frame callbacks the graph registers: per-sample for the preview branch,
// buffered for the still branch. They count frames; photos are taken by the still capture.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <atomic>
#include <cstdint>

namespace orvane {

class FrameGrabberCallback : public ISampleGrabberCB {
  public:
    // Process-wide objects: references do not end their life.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;

    uint64_t Frames() const { return frames_.load(std::memory_order_relaxed); }

  private:
    std::atomic<uint64_t> frames_{0};
};

FrameGrabberCallback& PreviewCallback();
FrameGrabberCallback& StillCallback();

}  // namespace orvane
