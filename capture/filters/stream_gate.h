#pragma once
// A pass-through filter for the capture side of the graph: it forwards samples only while its
// stream control lets them flow. Where the platform's splitter has no stream control on its
// capture output, recording is switched here and the preview keeps running.
#include <windows.h>
#include <dshow.h>

#include <mutex>

#include "capture/filters/local_filter.h"
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
        STDMETHODIMP EndOfStream() override;
        STDMETHODIMP BeginFlush() override;
        STDMETHODIMP EndFlush() override;
        STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

      protected:
        bool Accepts(const AM_MEDIA_TYPE& type) const override;
        HRESULT OnReceive(IMediaSample* sample) override;

      private:
        StreamGate& gate_;
    };

    class Output : public IPin, public IAMStreamControl {
      public:
        Output(StreamGate& gate) : gate_(gate) {}
        ~Output();

        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return gate_.AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return gate_.Release(); }

        STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
        STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override {
            return E_UNEXPECTED;
        }
        STDMETHODIMP Disconnect() override;
        STDMETHODIMP ConnectedTo(IPin** pin) override;
        STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
        STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
        STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
        STDMETHODIMP QueryId(LPWSTR* id) override;
        STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
        STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
        STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
        STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
        STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
        STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
        STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override {
            return E_UNEXPECTED;
        }

        STDMETHODIMP StartAt(const REFERENCE_TIME* start, DWORD cookie) override;
        STDMETHODIMP StopAt(const REFERENCE_TIME* stop, BOOL sendExtra, DWORD cookie) override;
        STDMETHODIMP GetInfo(AM_STREAM_INFO* info) override;

        IPin* Peer() const { return peer_; }
        IMemInputPin* Receiver() const { return receiver_; }

      private:
        HRESULT DecideAllocator();

        StreamGate& gate_;
        // Own references, changed only while stopped.
        IPin* peer_ = nullptr;
        IMemInputPin* receiver_ = nullptr;
        IMemAllocator* allocator_ = nullptr;
        MediaType type_;
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
