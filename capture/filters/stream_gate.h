#pragma once
// A pass-through filter for the capture side of the graph: it forwards samples only while its
// stream control lets them flow. Where the platform's splitter has no stream control on its
// capture output, recording is switched here and the preview keeps running.
#include <windows.h>
#include <dshow.h>

#include <mutex>

#include "capture/filters/local_filter.h"
#include "capture/filters/local_output_pin.h"
#include "capture/stream_schedule.h"
#include "platform/com_ptr.h"

namespace orvane {

class StreamGate : public LocalFilter {
  public:
    // A new gate, not yet in a graph; it lets samples flow until told otherwise.
    static ComPtr<IBaseFilter> Create();

    int PinCount() const override { return 2; }
    IPin* PinAt(int index) override;

  private:
    class Input : public LocalInputPin {
      public:
        Input(StreamGate& gate) : LocalInputPin(gate, L"In"), gate_(gate) {}

      protected:
        IPin* Downstream() const override;
        bool Accepts(const AM_MEDIA_TYPE& type) const override;
        HRESULT OnReceive(IMediaSample* sample) override;

      private:
        StreamGate& gate_;
    };

    class Output : public LocalOutputPin, public IAMStreamControl {
      public:
        Output(StreamGate& gate) : LocalOutputPin(gate, L"Capture"), gate_(gate) {}

        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return gate_.AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return gate_.Release(); }

        STDMETHODIMP StartAt(const REFERENCE_TIME* start, DWORD cookie) override;
        STDMETHODIMP StopAt(const REFERENCE_TIME* stop, BOOL sendExtra, DWORD cookie) override;
        STDMETHODIMP GetInfo(AM_STREAM_INFO* info) override;

      protected:
        // The gate passes on what it receives: only the input's type can flow out.
        bool OfferedType(MediaType& type) const override;
        bool ForwardsSamples() const override { return true; }

      private:
        StreamGate& gate_;
    };

    StreamGate();
    ~StreamGate() override = default;
    // Whether a sample at stream time t passes; announces starts and stops that took effect.
    bool Admit(REFERENCE_TIME t);

    Input input_;
    Output output_;
    std::mutex scheduleLock_;
    StreamSchedule schedule_;
};

}  // namespace orvane
