#pragma once
// The program's own small filters share this: filter state, clock and graph membership, pin and
// media-type enumeration, and an input pin that receives samples. Pins count their references
// on the filter that owns them.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <mutex>
#include <string>

#include "capture/filters/media_type.h"

namespace orvane {

class LocalFilter : public IBaseFilter {
  public:
    LocalFilter(const LocalFilter&) = delete;
    LocalFilter& operator=(const LocalFilter&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override;
    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    FILTER_STATE State() const { return state_.load(); }
    // Stream time now (clock time since Run), or 0 without a clock.
    REFERENCE_TIME StreamTimeNow();
    // Reports an event to the graph, when the graph accepts events.
    void Notify(long code, LONG_PTR first, LONG_PTR second);

    virtual int PinCount() const = 0;
    virtual IPin* PinAt(int index) = 0;

  protected:
    LocalFilter(const CLSID& clsid);
    virtual ~LocalFilter();
    // Further interfaces of a derived filter; the IUnknown rules are those of QueryInterface.
    virtual HRESULT QueryOther(REFIID, void**) { return E_NOINTERFACE; }
    // Stopped -> paused: get ready to receive; a failure keeps the filter stopped.
    virtual HRESULT OnActivate() { return S_OK; }
    // Any state -> stopped.
    virtual void OnDeactivate() {}

    std::mutex lock_;  // guards state changes, the clock and the graph membership

  private:
    std::atomic<ULONG> refs_{1};
    const CLSID clsid_;
    std::atomic<FILTER_STATE> state_{State_Stopped};
    IReferenceClock* clock_ = nullptr;  // own reference
    REFERENCE_TIME start_ = 0;
    IFilterGraph* graph_ = nullptr;      // the graph owns us: no reference
    IMediaEventSink* events_ = nullptr;  // part of the graph: no reference
    std::wstring name_;
};

// An input pin that accepts a connection and receives samples; the derived pin says which types
// it takes and what it does with a sample.
class LocalInputPin : public IPin, public IMemInputPin {
  public:
    LocalInputPin(LocalFilter& filter, const wchar_t* name) : filter_(filter), name_(name) {}
    virtual ~LocalInputPin();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return filter_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return filter_.Release(); }
    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    // Stream events go on to the downstream pin, where the filter has one.
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* done) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_OK; }

    bool Connected() const { return peer_ != nullptr; }
    const MediaType& Type() const { return type_; }

  protected:
    virtual bool Accepts(const AM_MEDIA_TYPE& type) const = 0;
    virtual HRESULT OnReceive(IMediaSample* sample) = 0;
    virtual HRESULT QueryOther(REFIID, void**) { return E_NOINTERFACE; }
    // The end of the stream where this filter ends it; a pass-through filter forwards it.
    virtual HRESULT OnEndOfStream();
    // The connected pin this filter passes samples on to, or null for a sink.
    virtual IPin* Downstream() const { return nullptr; }

    LocalFilter& filter_;

  private:
    const std::wstring name_;
    IPin* peer_ = nullptr;  // own reference, changed only while stopped
    MediaType type_;
    IMemAllocator* allocator_ = nullptr;  // own reference
};

// Hands out one media type (or none) to whoever enumerates a pin's types.
HRESULT NewMediaTypeEnumerator(const MediaType& type, IEnumMediaTypes** out);

}  // namespace orvane
