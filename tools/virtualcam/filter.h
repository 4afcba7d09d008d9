// The virtual microscope camera: a live source filter with a capture pin and a still pin.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <ksproxy.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/virtualcam/drop_count.h"
#include "tools/virtualcam/focus_feed.h"
#include "tools/virtualcam/jpeg.h"
#include "tools/virtualcam/models.h"
#include "tools/virtualcam/registers.h"

namespace vcam {

extern std::atomic<long> g_objects;  // live objects and server locks of the module

struct Format {
    GUID subtype;
    int width;
    int height;
};

class Filter;

class OutputPin : public IPin,
                  public IAMStreamConfig,
                  public IKsPropertySet,
                  public IAMStreamControl,
                  public IAMDroppedFrames {
public:
    OutputPin(Filter* filter, bool still);
    ~OutputPin();

    // IUnknown (the reference count is the filter's)
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** e) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** pmt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** pmt, BYTE* caps) override;

    // IKsPropertySet (pin category)
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD dataSize,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IAMStreamControl
    STDMETHODIMP StartAt(const REFERENCE_TIME* start, DWORD cookie) override;
    STDMETHODIMP StopAt(const REFERENCE_TIME* stop, BOOL sendExtra, DWORD cookie) override;
    STDMETHODIMP GetInfo(AM_STREAM_INFO* info) override;

    // IAMDroppedFrames (capture pin): frames of this stream that were late or refused
    STDMETHODIMP GetNumDropped(LONG* number) override;
    STDMETHODIMP GetNumNotDropped(LONG* number) override;
    STDMETHODIMP GetDroppedInfo(LONG size, LONG* frames, LONG* copied) override;
    STDMETHODIMP GetAverageFrameSize(LONG* size) override;

    // Called by the filter with its state-change lock held.
    HRESULT Activate();   // stopped -> paused: commit the allocator, start the thread
    void Deactivate();    // -> stopped: decommit, join the thread
    bool IsConnected() const { return connected_ != nullptr; }
    HRESULT Trigger();
    bool still() const { return still_; }

private:
    std::vector<Format> Formats() const;
    bool Acceptable(const AM_MEDIA_TYPE* pmt, Format* format) const;
    HRESULT TryConnection(IPin* receivePin, const Format& format);
    HRESULT DecideAllocator(IMemInputPin* input, long bufferSize);
    long SampleSize(const Format& format) const;
    void Stream();
    void DeliverFrame(long long frame);
    // One YUY2 frame of the capture format at stream time seconds: the focus sweep's, or the
    // micrometer scene.
    void RenderCaptureFrame(uint8_t* yuy2, double seconds);
    void DeliverStill();
    HRESULT Deliver(IMediaSample* sample);
    bool Gated(REFERENCE_TIME t, DWORD* started, DWORD* stopped);

    Filter* filter_;
    const bool still_;
    Format format_;               // what GetFormat reports and the next connection uses
    bool formatSet_ = false;      // SetFormat chose format_: connections use nothing else
    // Connection, changed only while stopped.
    IPin* connected_ = nullptr;
    IMemInputPin* input_ = nullptr;
    IMemAllocator* allocator_ = nullptr;
    Format connectedFormat_{};
    // Streaming.
    std::thread thread_;
    bool quit_ = false;           // guarded by the filter's lock
    int pendingStills_ = 0;       // guarded by the filter's lock
    bool discontinuity_ = true;
    std::vector<uint8_t> scratch_;   // streaming thread only
    JpegEncoder jpeg_;               // streaming thread only
    std::unique_ptr<FocusFeed> focus_;  // the focus sweep's frames, while one is configured
    // Stream control (capture pin): deliver while start <= t < stop.
    REFERENCE_TIME startAt_ = MINLONGLONG;
    REFERENCE_TIME stopAt_ = MAXLONGLONG;
    DWORD startCookie_ = 0, stopCookie_ = 0;
    bool startNotified_ = true, stopNotified_ = true;
    DropCount drops_;
};

class Filter : public IBaseFilter,
               public IAMFilterMiscFlags,
               public IAMVideoControl,
               public IAMVideoProcAmp,
               public IKsControl,
               public IKsPropertySet,
               public ISpecifyPropertyPages {
public:
    Filter(int slot, const Model& model, bool failRender);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPersist / IMediaFilter / IBaseFilter
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** e) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }

    // IAMVideoControl
    STDMETHODIMP GetCaps(IPin* pin, LONG* flags) override;
    STDMETHODIMP SetMode(IPin* pin, LONG mode) override;
    STDMETHODIMP GetMode(IPin* pin, LONG* mode) override;
    STDMETHODIMP GetCurrentActualFrameRate(IPin* pin, LONGLONG* rate) override;
    STDMETHODIMP GetMaxAvailableFrameRate(IPin* pin, LONG index, SIZE dimensions, LONGLONG* rate) override;
    STDMETHODIMP GetFrameRateList(IPin* pin, LONG index, SIZE dimensions, LONG* count, LONGLONG** rates) override;

    // IAMVideoProcAmp
    STDMETHODIMP GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* def, LONG* flags) override;
    STDMETHODIMP Set(LONG property, LONG value, LONG flags) override;
    STDMETHODIMP Get(LONG property, LONG* value, LONG* flags) override;

    // IKsControl (register reads through the node property)
    STDMETHODIMP KsProperty(PKSPROPERTY property, ULONG propertySize, LPVOID data, ULONG dataSize,
                            ULONG* returned) override;
    STDMETHODIMP KsMethod(PKSMETHOD method, ULONG methodSize, LPVOID data, ULONG dataSize, ULONG* returned) override;
    STDMETHODIMP KsEvent(PKSEVENT event, ULONG eventSize, LPVOID data, ULONG dataSize, ULONG* returned) override;

    // IKsPropertySet (register reads through the vendor records)
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD dataSize,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

private:
    friend class OutputPin;
    virtual ~Filter();
    REFERENCE_TIME StreamTimeLocked();
    void SignalLost();

    std::atomic<ULONG> refs_{1};
    const int slot_;
    const Model& model_;
    const bool failRender_;
    OutputPin capture_;
    OutputPin still_;

    std::mutex stateChange_;                 // serialises Stop / Pause / Run
    std::mutex lock_;                        // state, clock, registers, pin streaming flags
    std::condition_variable wake_;
    FILTER_STATE state_ = State_Stopped;
    int delivering_ = 0;                     // deliveries in progress
    IReferenceClock* clock_ = nullptr;
    REFERENCE_TIME start_ = 0;               // the graph's start time (clock units)
    REFERENCE_TIME pausedAt_ = 0;            // stream time reached when paused (no clock)
    std::chrono::steady_clock::time_point runSince_;
    IFilterGraph* graph_ = nullptr;          // not counted: the graph owns us
    IMediaEventSink* sink_ = nullptr;        // not counted
    std::wstring name_;
    bool lost_ = false;
    std::atomic<int> brightness_{0};
    RegisterFile registers_;
    uint16_t nodeAddress_ = 0;
    uint16_t vendorAddress_ = 0;
};

}  // namespace vcam
