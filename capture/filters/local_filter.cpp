#include "capture/filters/local_filter.h"

#include <cstring>
#include <cwchar>
#include <memory>

#include "platform/com_object.h"

namespace orvane {

namespace {

LPWSTR TaskCopy(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (copy) std::memcpy(copy, text.c_str(), bytes);
    return copy;
}

void CopyName(const std::wstring& name, WCHAR (&to)[MAX_FILTER_NAME]) {
    const size_t n = name.size() < MAX_FILTER_NAME - 1 ? name.size() : MAX_FILTER_NAME - 1;
    std::wmemcpy(to, name.c_str(), n);
    to[n] = L'\0';
}

class PinEnumerator final : public SingleInterfaceObject<IEnumPins, IID_IEnumPins> {
  public:
    PinEnumerator(LocalFilter& filter, int position) : filter_(filter), position_(position) {
        filter_.AddRef();
    }
    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
        if (!pins) return E_POINTER;
        ULONG n = 0;
        while (n < count && position_ < filter_.PinCount()) {
            pins[n] = filter_.PinAt(position_++);
            pins[n]->AddRef();
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += static_cast<int>(count);
        return position_ <= filter_.PinCount() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** out) override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) PinEnumerator(filter_, position_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

  private:
    ~PinEnumerator() override { filter_.Release(); }
    LocalFilter& filter_;
    int position_;
};

class MediaTypeEnumerator final
    : public SingleInterfaceObject<IEnumMediaTypes, IID_IEnumMediaTypes> {
  public:
    explicit MediaTypeEnumerator(int position) : position_(position) {}
    bool Init(const MediaType& type) { return type.Empty() || type_.Assign(type.Get()); }

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
        if (!types) return E_POINTER;
        ULONG n = 0;
        while (n < count && position_ < Size()) {
            types[n] = type_.NewCopy();
            if (!types[n]) break;
            ++position_;
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += static_cast<int>(count);
        return position_ <= Size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** out) override {
        if (!out) return E_POINTER;
        auto* copy = new (std::nothrow) MediaTypeEnumerator(position_);
        if (!copy) return E_OUTOFMEMORY;
        if (!copy->Init(type_)) {
            copy->Release();
            return E_OUTOFMEMORY;
        }
        *out = copy;
        return S_OK;
    }

  private:
    ~MediaTypeEnumerator() override = default;
    int Size() const { return type_.Empty() ? 0 : 1; }
    MediaType type_;
    int position_;
};

}  // namespace

HRESULT NewMediaTypeEnumerator(const MediaType& type, IEnumMediaTypes** out) {
    if (!out) return E_POINTER;
    auto* e = new (std::nothrow) MediaTypeEnumerator(0);
    if (!e) return E_OUTOFMEMORY;
    if (!e->Init(type)) {
        e->Release();
        return E_OUTOFMEMORY;
    }
    *out = e;
    return S_OK;
}

// ---- LocalFilter

LocalFilter::LocalFilter(const CLSID& clsid) : clsid_(clsid) {}

LocalFilter::~LocalFilter() {
    if (clock_) clock_->Release();
}

STDMETHODIMP LocalFilter::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter) {
        *out = static_cast<IBaseFilter*>(this);
        AddRef();
        return S_OK;
    }
    return QueryOther(iid, out);
}

STDMETHODIMP_(ULONG) LocalFilter::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP LocalFilter::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP LocalFilter::Stop() {
    std::lock_guard<std::mutex> hold(lock_);
    if (state_ != State_Stopped) {
        state_ = State_Stopped;
        OnDeactivate();
    }
    return S_OK;
}

STDMETHODIMP LocalFilter::Pause() {
    std::lock_guard<std::mutex> hold(lock_);
    if (state_ == State_Stopped) {
        const HRESULT hr = OnActivate();
        if (FAILED(hr)) return hr;
    }
    state_ = State_Paused;
    return S_OK;
}

STDMETHODIMP LocalFilter::Run(REFERENCE_TIME start) {
    std::lock_guard<std::mutex> hold(lock_);
    if (state_ == State_Stopped) {
        const HRESULT hr = OnActivate();
        if (FAILED(hr)) return hr;
    }
    start_ = start;
    state_ = State_Running;
    return S_OK;
}

STDMETHODIMP LocalFilter::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    *state = state_;
    return S_OK;
}

STDMETHODIMP LocalFilter::SetSyncSource(IReferenceClock* clock) {
    std::lock_guard<std::mutex> hold(lock_);
    if (clock) clock->AddRef();
    if (clock_) clock_->Release();
    clock_ = clock;
    return S_OK;
}

STDMETHODIMP LocalFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *clock = clock_;
    if (clock_) clock_->AddRef();
    return S_OK;
}

STDMETHODIMP LocalFilter::EnumPins(IEnumPins** pins) {
    if (!pins) return E_POINTER;
    *pins = new (std::nothrow) PinEnumerator(*this, 0);
    return *pins ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP LocalFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin) return E_POINTER;
    *pin = nullptr;
    for (int i = 0; i < PinCount(); ++i) {
        LPWSTR pinId = nullptr;
        if (SUCCEEDED(PinAt(i)->QueryId(&pinId)) && pinId) {
            const bool same = std::wcscmp(pinId, id) == 0;
            CoTaskMemFree(pinId);
            if (same) {
                *pin = PinAt(i);
                (*pin)->AddRef();
                return S_OK;
            }
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP LocalFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    CopyName(name_, info->achName);
    info->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
}

STDMETHODIMP LocalFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    std::lock_guard<std::mutex> hold(lock_);
    graph_ = graph;
    name_ = name ? name : L"";
    events_ = nullptr;
    if (graph_) {
        // The sink is part of the graph, which outlives our membership: keep no reference.
        if (SUCCEEDED(
                graph_->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&events_))) &&
            events_) {
            events_->Release();
        }
    }
    return S_OK;
}

STDMETHODIMP LocalFilter::QueryVendorInfo(LPWSTR*) {
    return E_NOTIMPL;
}

REFERENCE_TIME LocalFilter::StreamTimeNow() {
    std::lock_guard<std::mutex> hold(lock_);
    REFERENCE_TIME now = 0;
    if (!clock_ || FAILED(clock_->GetTime(&now))) return 0;
    return now - start_;
}

void LocalFilter::Notify(long code, LONG_PTR first, LONG_PTR second) {
    IMediaEventSink* events = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        events = events_;
    }
    if (events) events->Notify(code, first, second);
}

// ---- LocalInputPin

LocalInputPin::~LocalInputPin() {
    if (peer_) peer_->Release();
    if (allocator_) allocator_->Release();
}

STDMETHODIMP LocalInputPin::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *out = static_cast<IPin*>(this);
    } else if (iid == IID_IMemInputPin) {
        *out = static_cast<IMemInputPin*>(this);
    } else {
        return QueryOther(iid, out);
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP LocalInputPin::Connect(IPin*, const AM_MEDIA_TYPE*) {
    // Input pins are connected to, they do not connect.
    return E_UNEXPECTED;
}

STDMETHODIMP LocalInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type) return E_POINTER;
    if (peer_) return VFW_E_ALREADY_CONNECTED;
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!Accepts(*type)) return VFW_E_TYPE_NOT_ACCEPTED;
    if (!type_.Assign(*type)) return E_OUTOFMEMORY;
    peer_ = connector;
    peer_->AddRef();
    return S_OK;
}

STDMETHODIMP LocalInputPin::Disconnect() {
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!peer_) return S_FALSE;
    peer_->Release();
    peer_ = nullptr;
    if (allocator_) allocator_->Release();
    allocator_ = nullptr;
    type_.Clear();
    return S_OK;
}

STDMETHODIMP LocalInputPin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    *pin = peer_;
    if (!peer_) return VFW_E_NOT_CONNECTED;
    peer_->AddRef();
    return S_OK;
}

STDMETHODIMP LocalInputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    if (!peer_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return type_.CopyTo(type);
}

STDMETHODIMP LocalInputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = PINDIR_INPUT;
    const size_t n = name_.size() < MAX_PIN_NAME - 1 ? name_.size() : MAX_PIN_NAME - 1;
    std::wmemcpy(info->achName, name_.c_str(), n);
    info->achName[n] = L'\0';
    return S_OK;
}

STDMETHODIMP LocalInputPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = PINDIR_INPUT;
    return S_OK;
}

STDMETHODIMP LocalInputPin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    *id = TaskCopy(name_);
    return *id ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP LocalInputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    return Accepts(*type) ? S_OK : S_FALSE;
}

STDMETHODIMP LocalInputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    // An input pin proposes nothing of its own.
    return NewMediaTypeEnumerator(MediaType{}, types);
}

STDMETHODIMP LocalInputPin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}

STDMETHODIMP LocalInputPin::EndOfStream() {
    return OnEndOfStream();
}

HRESULT LocalInputPin::OnEndOfStream() {
    IPin* next = Downstream();
    return next ? next->EndOfStream() : S_OK;
}

STDMETHODIMP LocalInputPin::BeginFlush() {
    IPin* next = Downstream();
    return next ? next->BeginFlush() : S_OK;
}

STDMETHODIMP LocalInputPin::EndFlush() {
    IPin* next = Downstream();
    return next ? next->EndFlush() : S_OK;
}

STDMETHODIMP LocalInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    IPin* next = Downstream();
    return next ? next->NewSegment(start, stop, rate) : S_OK;
}

STDMETHODIMP LocalInputPin::GetAllocator(IMemAllocator** allocator) {
    if (!allocator) return E_POINTER;
    if (allocator_) {
        *allocator = allocator_;
        allocator_->AddRef();
        return S_OK;
    }
    return CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                            reinterpret_cast<void**>(allocator));
}

STDMETHODIMP LocalInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
    if (!allocator) return E_POINTER;
    allocator->AddRef();
    if (allocator_) allocator_->Release();
    allocator_ = allocator;
    return S_OK;
}

STDMETHODIMP LocalInputPin::Receive(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    if (!peer_) return VFW_E_NOT_CONNECTED;
    if (filter_.State() == State_Stopped) return VFW_E_WRONG_STATE;
    return OnReceive(sample);
}

STDMETHODIMP LocalInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* done) {
    if (!samples || !done) return E_POINTER;
    *done = 0;
    HRESULT hr = S_OK;
    while (*done < count) {
        hr = Receive(samples[*done]);
        if (hr != S_OK) break;
        ++*done;
    }
    return hr;
}

}  // namespace orvane
