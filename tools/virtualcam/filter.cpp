#include "platform/com_object.h"
#include "tools/virtualcam/filter.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "tools/virtualcam/media_types.h"
#include "tools/virtualcam/page.h"

namespace vcam {

std::atomic<long> g_objects{0};

namespace {

// {28F54685-06FD-11D2-B27A-00A0C9223196}
constexpr GUID kIidKsControl = {
    0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr auto kPauseDrainLimit = std::chrono::milliseconds(500);

class PinEnum : public orvane::SingleInterfaceObject<IEnumPins, IID_IEnumPins> {
  public:
    PinEnum(IBaseFilter* filter, IPin* a, IPin* b, size_t pos = 0)
        : filter_(filter), pins_{a, b}, pos_(pos) {
        filter_->AddRef();
        ++g_objects;
    }
    STDMETHODIMP Next(ULONG count, IPin** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && pos_ < 2) {
            out[n] = pins_[pos_++];
            out[n]->AddRef();
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        pos_ = std::min<size_t>(2, pos_ + count);
        return pos_ < 2 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** out) override {
        if (!out) return E_POINTER;
        *out = new PinEnum(filter_, pins_[0], pins_[1], pos_);
        return S_OK;
    }

  private:
    virtual ~PinEnum() {
        filter_->Release();
        --g_objects;
    }
    IBaseFilter* filter_;
    IPin* pins_[2];
    size_t pos_;
};

}  // namespace

// ---------------------------------------------------------------- Filter

Filter::Filter(int slot, const Model& model, bool failRender)
    : slot_(slot),
      model_(model),
      failRender_(failRender),
      capture_(this, false),
      still_(this, true) {
    ++g_objects;
}

Filter::~Filter() {
    // The graph stops and disconnects a filter before it lets it go; be safe anyway.
    Stop();
    capture_.Disconnect();
    still_.Disconnect();
    if (clock_) clock_->Release();
    --g_objects;
}

STDMETHODIMP Filter::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter ||
        riid == IID_IBaseFilter) {
        *ppv = static_cast<IBaseFilter*>(this);
    } else if (riid == IID_IAMFilterMiscFlags) {
        *ppv = static_cast<IAMFilterMiscFlags*>(this);
    } else if (riid == IID_IAMVideoControl) {
        *ppv = static_cast<IAMVideoControl*>(this);
    } else if (riid == IID_IAMVideoProcAmp) {
        *ppv = static_cast<IAMVideoProcAmp*>(this);
    } else if (riid == kIidKsControl) {
        *ppv = static_cast<IKsControl*>(this);
    } else if (riid == IID_IKsPropertySet) {
        *ppv = static_cast<IKsPropertySet*>(this);
    } else if (riid == IID_ISpecifyPropertyPages) {
        *ppv = static_cast<ISpecifyPropertyPages*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP Filter::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    pages->cElems = 1;
    pages->pElems[0] = kBrightnessPageClsid;
    return S_OK;
}

STDMETHODIMP_(ULONG) Filter::AddRef() {
    return ++refs_;
}

STDMETHODIMP_(ULONG) Filter::Release() {
    ULONG r = --refs_;
    if (r == 0) delete this;
    return r;
}

STDMETHODIMP Filter::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = SlotClsid(slot_);
    return S_OK;
}

REFERENCE_TIME Filter::StreamTimeLocked() {
    if (state_ != State_Running) return pausedAt_;
    if (clock_) {
        REFERENCE_TIME now = 0;
        if (SUCCEEDED(clock_->GetTime(&now))) return std::max<REFERENCE_TIME>(0, now - start_);
    }
    auto elapsed = std::chrono::steady_clock::now() - runSince_;
    return pausedAt_ + std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count() / 100;
}

STDMETHODIMP Filter::Stop() {
    std::lock_guard<std::mutex> change(stateChange_);
    {
        std::lock_guard<std::mutex> lk(lock_);
        if (state_ == State_Stopped) return S_OK;
        state_ = State_Stopped;
        pausedAt_ = 0;
    }
    wake_.notify_all();
    capture_.Deactivate();
    still_.Deactivate();
    return S_OK;
}

STDMETHODIMP Filter::Pause() {
    std::lock_guard<std::mutex> change(stateChange_);
    FILTER_STATE old;
    {
        std::lock_guard<std::mutex> lk(lock_);
        old = state_;
        if (old == State_Paused) return S_OK;
        if (old == State_Running) {
            pausedAt_ = StreamTimeLocked();
        } else {
            pausedAt_ = 0;
            lost_ = false;
        }
        state_ = State_Paused;
    }
    wake_.notify_all();
    if (old == State_Stopped) {
        HRESULT hr = capture_.Activate();
        if (SUCCEEDED(hr)) hr = still_.Activate();
        if (FAILED(hr)) {
            {
                std::lock_guard<std::mutex> lk(lock_);
                state_ = State_Stopped;
            }
            capture_.Deactivate();
            still_.Deactivate();
            return hr;
        }
        return S_OK;
    }
    // Let a delivery in progress finish (bounded: a paused renderer may hold it until Run).
    std::unique_lock<std::mutex> lk(lock_);
    wake_.wait_for(lk, kPauseDrainLimit, [this] { return delivering_ == 0; });
    return S_OK;
}

STDMETHODIMP Filter::Run(REFERENCE_TIME start) {
    FILTER_STATE current;
    {
        std::lock_guard<std::mutex> lk(lock_);
        current = state_;
    }
    if (current == State_Running) return S_OK;
    if (current == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr)) return hr;
    }
    std::lock_guard<std::mutex> change(stateChange_);
    {
        std::lock_guard<std::mutex> lk(lock_);
        start_ = start;
        runSince_ = std::chrono::steady_clock::now();
        state_ = State_Running;
    }
    wake_.notify_all();
    return S_OK;
}

STDMETHODIMP Filter::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    std::lock_guard<std::mutex> lk(lock_);
    *state = state_;
    return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP Filter::SetSyncSource(IReferenceClock* clock) {
    std::lock_guard<std::mutex> lk(lock_);
    if (clock) clock->AddRef();
    if (clock_) clock_->Release();
    clock_ = clock;
    return S_OK;
}

STDMETHODIMP Filter::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    std::lock_guard<std::mutex> lk(lock_);
    *clock = clock_;
    if (clock_) clock_->AddRef();
    return S_OK;
}

STDMETHODIMP Filter::EnumPins(IEnumPins** e) {
    if (!e) return E_POINTER;
    *e = new PinEnum(this, &capture_, &still_);
    return S_OK;
}

STDMETHODIMP Filter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin) return E_POINTER;
    if (std::wcscmp(id, L"Capture") == 0) {
        *pin = &capture_;
    } else if (std::wcscmp(id, L"Still") == 0) {
        *pin = &still_;
    } else {
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP Filter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    std::lock_guard<std::mutex> lk(lock_);
    std::memset(info, 0, sizeof(*info));
    std::wcsncpy(info->achName, name_.c_str(), MAX_FILTER_NAME - 1);
    info->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
}

STDMETHODIMP Filter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    std::lock_guard<std::mutex> lk(lock_);
    graph_ = graph;
    name_ = name ? name : L"";
    sink_ = nullptr;
    if (graph) {
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(
                graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))) &&
            sink) {
            sink_ = sink;
            sink->Release();  // held without a reference: the graph outlives our membership
        }
    }
    return S_OK;
}

STDMETHODIMP Filter::QueryVendorInfo(LPWSTR*) {
    return E_NOTIMPL;
}

void Filter::SignalLost() {
    IMediaEventSink* sink;
    {
        std::lock_guard<std::mutex> lk(lock_);
        if (lost_) return;
        lost_ = true;
        sink = sink_;
    }
    wake_.notify_all();
    // An unplugged camera leaves the device list.
    RemoveDeviceMonikers(slot_);
    if (sink)
        sink->Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)),
                     0);
}

// IAMVideoControl

STDMETHODIMP Filter::GetCaps(IPin* pin, LONG* flags) {
    if (!pin || !flags) return E_POINTER;
    *flags = (pin == static_cast<IPin*>(&still_))
                 ? (VideoControlFlag_Trigger | VideoControlFlag_ExternalTriggerEnable)
                 : 0;
    return S_OK;
}

STDMETHODIMP Filter::SetMode(IPin* pin, LONG mode) {
    if (!pin) return E_POINTER;
    if (pin != static_cast<IPin*>(&still_)) return (mode == 0) ? S_OK : E_INVALIDARG;
    if (mode & VideoControlFlag_Trigger) return still_.Trigger();
    return S_OK;
}

STDMETHODIMP Filter::GetMode(IPin* pin, LONG* mode) {
    if (!pin || !mode) return E_POINTER;
    *mode = (pin == static_cast<IPin*>(&still_)) ? VideoControlFlag_ExternalTriggerEnable : 0;
    return S_OK;
}

STDMETHODIMP Filter::GetCurrentActualFrameRate(IPin* pin, LONGLONG* rate) {
    if (!pin || !rate) return E_POINTER;
    *rate = kFramePeriod;
    return S_OK;
}

STDMETHODIMP Filter::GetMaxAvailableFrameRate(IPin* pin, LONG, SIZE, LONGLONG* rate) {
    if (!pin || !rate) return E_POINTER;
    *rate = kFramePeriod;
    return S_OK;
}

STDMETHODIMP Filter::GetFrameRateList(IPin* pin, LONG, SIZE, LONG* count, LONGLONG** rates) {
    if (!pin || !count) return E_POINTER;
    *count = 1;
    if (rates) {
        *rates = static_cast<LONGLONG*>(CoTaskMemAlloc(sizeof(LONGLONG)));
        if (!*rates) return E_OUTOFMEMORY;
        **rates = kFramePeriod;
    }
    return S_OK;
}

// IAMVideoProcAmp: brightness only.

STDMETHODIMP Filter::GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* def,
                              LONG* flags) {
    if (!min || !max || !step || !def || !flags) return E_POINTER;
    if (property != VideoProcAmp_Brightness) return E_PROP_ID_UNSUPPORTED;
    *min = -64;
    *max = 64;
    *step = 1;
    *def = 0;
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

STDMETHODIMP Filter::Set(LONG property, LONG value, LONG) {
    if (property != VideoProcAmp_Brightness) return E_PROP_ID_UNSUPPORTED;
    if (value < -64 || value > 64) return E_INVALIDARG;
    brightness_ = value;
    return S_OK;
}

STDMETHODIMP Filter::Get(LONG property, LONG* value, LONG* flags) {
    if (!value || !flags) return E_POINTER;
    if (property != VideoProcAmp_Brightness) return E_PROP_ID_UNSUPPORTED;
    *value = brightness_;
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

// IKsControl

STDMETHODIMP Filter::KsProperty(PKSPROPERTY property, ULONG propertySize, LPVOID data,
                                ULONG dataSize, ULONG* returned) {
    if (!property || propertySize < sizeof(KSPROPERTY)) return E_INVALIDARG;
    if (returned) *returned = 0;
    if (property->Set != kRegisterNodeSet) return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
    if (property->Id != 1 || propertySize < sizeof(KSP_NODE) ||
        !(property->Flags & KSPROPERTY_TYPE_TOPOLOGY) ||
        reinterpret_cast<KSP_NODE*>(property)->NodeId != 1) {
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    }
    if (!data || dataSize < 4) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    auto* bytes = static_cast<uint8_t*>(data);
    std::lock_guard<std::mutex> lk(lock_);
    if (property->Flags & KSPROPERTY_TYPE_SET) {
        if (bytes[3] != 0xFF) return E_INVALIDARG;
        nodeAddress_ = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
        return S_OK;
    }
    if (property->Flags & KSPROPERTY_TYPE_GET) {
        bytes[0] = static_cast<uint8_t>(nodeAddress_ & 0xFF);
        bytes[1] = static_cast<uint8_t>(nodeAddress_ >> 8);
        bytes[2] = registers_.Read(nodeAddress_);
        bytes[3] = 0xFF;
        if (returned) *returned = 4;
        return S_OK;
    }
    return E_INVALIDARG;
}

STDMETHODIMP Filter::KsMethod(PKSMETHOD, ULONG, LPVOID, ULONG, ULONG*) {
    return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
}
STDMETHODIMP Filter::KsEvent(PKSEVENT, ULONG, LPVOID, ULONG, ULONG*) {
    return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
}

// IKsPropertySet: vendor register records.

STDMETHODIMP Filter::Set(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataSize) {
    if (set != kRegisterVendorSetA && set != kRegisterVendorSetB) return E_PROP_SET_UNSUPPORTED;
    if (id != 0) return E_PROP_ID_UNSUPPORTED;
    if (!data || dataSize < 40) return E_INVALIDARG;
    const auto* words = static_cast<const uint32_t*>(data);
    if (words[5] != 2) return E_INVALIDARG;
    std::lock_guard<std::mutex> lk(lock_);
    vendorAddress_ = static_cast<uint16_t>(words[6]);
    return S_OK;
}

STDMETHODIMP Filter::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataSize,
                         DWORD* returned) {
    if (set != kRegisterVendorSetA && set != kRegisterVendorSetB) return E_PROP_SET_UNSUPPORTED;
    if (id != 0) return E_PROP_ID_UNSUPPORTED;
    if (!data || dataSize < 40) return E_INVALIDARG;
    auto* words = static_cast<uint32_t*>(data);
    if (words[5] != 1) return E_INVALIDARG;
    std::lock_guard<std::mutex> lk(lock_);
    words[6] = vendorAddress_;
    words[7] = registers_.Read(vendorAddress_);
    if (returned) *returned = 40;
    return S_OK;
}

STDMETHODIMP Filter::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != kRegisterVendorSetA && set != kRegisterVendorSetB) return E_PROP_SET_UNSUPPORTED;
    if (id != 0) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    return S_OK;
}

}  // namespace vcam
