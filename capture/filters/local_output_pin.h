#pragma once
// An output pin of the program's own filters: it offers one media type, connects to a
// downstream input pin, agrees an allocator with it and hands samples to it.
#include <windows.h>
#include <dshow.h>

#include "capture/filters/local_filter.h"
#include "capture/filters/media_type.h"

namespace orvane {

class LocalOutputPin : public IPin {
  public:
    LocalOutputPin(LocalFilter& filter, const wchar_t* name) : filter_(filter), name_(name) {}
    virtual ~LocalOutputPin();
    LocalOutputPin(const LocalOutputPin&) = delete;
    LocalOutputPin& operator=(const LocalOutputPin&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return filter_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return filter_.Release(); }
    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
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

    // Set while connected; changed only while the filter is stopped.
    IPin* Peer() const { return peer_; }
    IMemInputPin* Receiver() const { return receiver_; }
    IMemAllocator* Allocator() const { return allocator_; }
    const MediaType& Type() const { return type_; }

  protected:
    // The one type this pin offers now; false when it has none (its input is not connected).
    virtual bool OfferedType(MediaType& type) const = 0;
    // Whether samples handed downstream come from upstream unchanged (read-only for the peer).
    virtual bool ForwardsSamples() const = 0;
    // Takes a type the peer asked for while streaming (a new stride, say); false refuses it.
    bool ReplaceType(const AM_MEDIA_TYPE& type) { return type_.Assign(type); }

    LocalFilter& filter_;

  private:
    HRESULT DecideAllocator();

    const wchar_t* const name_;
    IPin* peer_ = nullptr;                // own reference
    IMemInputPin* receiver_ = nullptr;    // own reference
    IMemAllocator* allocator_ = nullptr;  // own reference
    MediaType type_;
};

// A partial type matches when each field it names equals the other's.
bool MediaTypeMatches(const AM_MEDIA_TYPE& wanted, const AM_MEDIA_TYPE& actual);

}  // namespace orvane
