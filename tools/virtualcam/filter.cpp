#include "platform/com_object.h"
#include "tools/virtualcam/filter.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "tools/virtualcam/page.h"
#include "tools/virtualcam/scene.h"

namespace vcam {

std::atomic<long> g_objects{0};

namespace {

// {28F54685-06FD-11D2-B27A-00A0C9223196}
constexpr GUID kIidKsControl = {
    0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
// MEDIASUBTYPE_YUY2 / MJPG are FOURCC-based subtypes.
constexpr DWORD kFourccYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');
constexpr DWORD kFourccMjpg = MAKEFOURCC('M', 'J', 'P', 'G');
constexpr int kRawSingleWidth = 2560, kRawSingleHeight = 1920;
constexpr int kRawHalvesWidth = 3488, kRawHalvesHeight = 2616;
constexpr auto kLossPollInterval = std::chrono::milliseconds(500);
constexpr auto kPauseDrainLimit = std::chrono::milliseconds(500);

void FreeMediaType(AM_MEDIA_TYPE& mt) {
    if (mt.cbFormat != 0) CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
    if (mt.pUnk) {
        mt.pUnk->Release();
        mt.pUnk = nullptr;
    }
}

DWORD FourccOf(const GUID& subtype) {
    return subtype.Data1;
}

// Fills mt (whose old contents are not freed) with the VIDEOINFOHEADER type of a format.
HRESULT MakeMediaType(const Format& f, AM_MEDIA_TYPE* mt) {
    auto* vih = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!vih) return E_OUTOFMEMORY;
    std::memset(vih, 0, sizeof(*vih));
    bool mjpg = FourccOf(f.subtype) == kFourccMjpg;
    BITMAPINFOHEADER& bi = vih->bmiHeader;
    bi.biSize = sizeof(BITMAPINFOHEADER);
    bi.biWidth = f.width;
    bi.biHeight = f.height;
    bi.biPlanes = 1;
    bi.biBitCount = mjpg ? 24 : 16;
    bi.biCompression = mjpg ? kFourccMjpg : kFourccYuy2;
    bi.biSizeImage = static_cast<DWORD>(f.width * f.height * (mjpg ? 3 : 2));
    vih->AvgTimePerFrame = kFramePeriod;
    vih->dwBitRate = static_cast<DWORD>(static_cast<double>(bi.biSizeImage) * 8 * 15);
    std::memset(mt, 0, sizeof(*mt));
    mt->majortype = MEDIATYPE_Video;
    mt->subtype = f.subtype;
    mt->bFixedSizeSamples = mjpg ? FALSE : TRUE;
    mt->bTemporalCompression = FALSE;
    mt->lSampleSize = mjpg ? 0 : bi.biSizeImage;
    mt->formattype = FORMAT_VideoInfo;
    mt->cbFormat = sizeof(VIDEOINFOHEADER);
    mt->pbFormat = reinterpret_cast<BYTE*>(vih);
    return S_OK;
}

AM_MEDIA_TYPE* NewMediaType(const Format& f) {
    auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt) return nullptr;
    if (FAILED(MakeMediaType(f, mt))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

// Enumerator of a fixed list of formats. Holds a reference on the pin's filter.
class MediaTypeEnum : public orvane::SingleInterfaceObject<IEnumMediaTypes, IID_IEnumMediaTypes> {
  public:
    MediaTypeEnum(IUnknown* owner, std::vector<Format> formats, size_t pos = 0)
        : owner_(owner), formats_(std::move(formats)), pos_(pos) {
        owner_->AddRef();
        ++g_objects;
    }
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && pos_ < formats_.size()) {
            out[n] = NewMediaType(formats_[pos_]);
            if (!out[n]) break;
            ++n;
            ++pos_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        pos_ = std::min<size_t>(formats_.size(), pos_ + count);
        return pos_ < formats_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** out) override {
        if (!out) return E_POINTER;
        *out = new MediaTypeEnum(owner_, formats_, pos_);
        return S_OK;
    }

  private:
    virtual ~MediaTypeEnum() {
        owner_->Release();
        --g_objects;
    }
    IUnknown* owner_;
    std::vector<Format> formats_;
    size_t pos_;
};

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

// ---------------------------------------------------------------- OutputPin

OutputPin::OutputPin(Filter* filter, bool still) : filter_(filter), still_(still) {
    const Model& m = filter->model_;
    if (still) {
        format_ = {MEDIASUBTYPE_YUY2, m.still.width, m.still.height};
    } else {
        format_ = {MEDIASUBTYPE_YUY2, m.yuy2.front().width, m.yuy2.front().height};
    }
}

OutputPin::~OutputPin() = default;

STDMETHODIMP OutputPin::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPin) {
        *ppv = static_cast<IPin*>(this);
    } else if (riid == IID_IAMStreamConfig) {
        *ppv = static_cast<IAMStreamConfig*>(this);
    } else if (riid == IID_IKsPropertySet) {
        *ppv = static_cast<IKsPropertySet*>(this);
    } else if (riid == IID_IAMStreamControl && !still_) {
        *ppv = static_cast<IAMStreamControl*>(this);
    } else if (riid == IID_IAMDroppedFrames && !still_) {
        *ppv = static_cast<IAMDroppedFrames*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) OutputPin::AddRef() {
    return filter_->AddRef();
}
STDMETHODIMP_(ULONG) OutputPin::Release() {
    return filter_->Release();
}

std::vector<Format> OutputPin::Formats() const {
    const Model& m = filter_->model_;
    std::vector<Format> list;
    if (still_) {
        list.push_back({MEDIASUBTYPE_YUY2, m.still.width, m.still.height});
        for (const Size& s : m.yuy2) {
            if (s.width != m.still.width || s.height != m.still.height) {
                list.push_back({MEDIASUBTYPE_YUY2, s.width, s.height});
            }
        }
    } else {
        for (const Size& s : m.yuy2) list.push_back({MEDIASUBTYPE_YUY2, s.width, s.height});
        for (const Size& s : m.mjpg) list.push_back({MEDIASUBTYPE_MJPG, s.width, s.height});
    }
    return list;
}

bool OutputPin::Acceptable(const AM_MEDIA_TYPE* pmt, Format* format) const {
    if (!pmt || pmt->majortype != MEDIATYPE_Video || pmt->formattype != FORMAT_VideoInfo ||
        pmt->cbFormat < sizeof(VIDEOINFOHEADER) || !pmt->pbFormat) {
        return false;
    }
    const BITMAPINFOHEADER& bi = reinterpret_cast<const VIDEOINFOHEADER*>(pmt->pbFormat)->bmiHeader;
    for (const Format& f : Formats()) {
        // The subtype decides; callers switching to MJPG often change only the subtype.
        if (f.subtype == pmt->subtype && f.width == bi.biWidth && f.height == bi.biHeight) {
            if (format) *format = f;
            return true;
        }
    }
    return false;
}

long OutputPin::SampleSize(const Format& f) const {
    long size = f.width * f.height * (FourccOf(f.subtype) == kFourccMjpg ? 3 : 2);
    if (still_) {
        switch (filter_->model_.stillKind) {
            case StillKind::RawSingle:
                size = std::max<long>(size, kRawSingleWidth * kRawSingleHeight);
                break;
            case StillKind::RawHalves:
                size = std::max<long>(size, kRawHalvesWidth * (kRawHalvesHeight / 2));
                break;
            case StillKind::Frame:
                break;
        }
    }
    return size;
}

STDMETHODIMP OutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* pmt) {
    if (!receivePin) return E_POINTER;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        if (connected_) return VFW_E_ALREADY_CONNECTED;
        if (filter_->state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    }
    if (filter_->failRender_) return VFW_E_NO_ACCEPTABLE_TYPES;
    std::vector<Format> candidates;
    Format exact;
    if (pmt && pmt->formattype == FORMAT_VideoInfo && pmt->pbFormat) {
        if (!Acceptable(pmt, &exact)) return VFW_E_TYPE_NOT_ACCEPTED;
        candidates.push_back(exact);
    } else {
        std::vector<Format> all = formatSet_ ? std::vector<Format>{} : Formats();
        candidates.push_back(format_);
        for (const Format& f : all) {
            if (f.subtype != format_.subtype || f.width != format_.width ||
                f.height != format_.height) {
                candidates.push_back(f);
            }
        }
        if (pmt) {
            std::erase_if(candidates, [&](const Format& f) {
                return (pmt->majortype != GUID_NULL && pmt->majortype != MEDIATYPE_Video) ||
                       (pmt->subtype != GUID_NULL && pmt->subtype != f.subtype);
            });
        }
    }
    HRESULT hr = VFW_E_NO_ACCEPTABLE_TYPES;
    for (const Format& f : candidates) {
        hr = TryConnection(receivePin, f);
        if (SUCCEEDED(hr)) return S_OK;
    }
    return hr;
}

HRESULT OutputPin::TryConnection(IPin* receivePin, const Format& f) {
    AM_MEDIA_TYPE mt;
    HRESULT hr = MakeMediaType(f, &mt);
    if (FAILED(hr)) return hr;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        connected_ = receivePin;
        connected_->AddRef();
        connectedFormat_ = f;
    }
    hr = receivePin->ReceiveConnection(this, &mt);
    FreeMediaType(mt);
    IMemInputPin* input = nullptr;
    if (SUCCEEDED(hr))
        hr = receivePin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (SUCCEEDED(hr)) {
        hr = DecideAllocator(input, SampleSize(f));
        if (FAILED(hr)) receivePin->Disconnect();
    }
    std::lock_guard<std::mutex> lk(filter_->lock_);
    if (FAILED(hr)) {
        if (input) input->Release();
        connected_->Release();
        connected_ = nullptr;
        return hr;
    }
    input_ = input;
    format_ = f;
    return S_OK;
}

HRESULT OutputPin::DecideAllocator(IMemInputPin* input, long bufferSize) {
    ALLOCATOR_PROPERTIES wanted{};
    input->GetAllocatorRequirements(&wanted);
    wanted.cBuffers = std::max<long>(wanted.cBuffers, still_ ? 2 : 3);
    wanted.cbBuffer = std::max<long>(wanted.cbBuffer, bufferSize);
    wanted.cbAlign = std::max<long>(wanted.cbAlign, 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        IMemAllocator* alloc = nullptr;
        HRESULT hr = attempt == 0
                         ? input->GetAllocator(&alloc)
                         : CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IMemAllocator, reinterpret_cast<void**>(&alloc));
        if (FAILED(hr) || !alloc) continue;
        ALLOCATOR_PROPERTIES actual{};
        hr = alloc->SetProperties(&wanted, &actual);
        if (SUCCEEDED(hr) && actual.cbBuffer >= bufferSize)
            hr = input->NotifyAllocator(alloc, FALSE);
        else if (SUCCEEDED(hr))
            hr = E_FAIL;
        if (SUCCEEDED(hr)) {
            allocator_ = alloc;
            return S_OK;
        }
        alloc->Release();
    }
    return VFW_E_NO_ALLOCATOR;
}

STDMETHODIMP OutputPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) {
    return E_UNEXPECTED;
}

STDMETHODIMP OutputPin::Disconnect() {
    std::lock_guard<std::mutex> lk(filter_->lock_);
    if (filter_->state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!connected_) return S_FALSE;
    if (allocator_) {
        allocator_->Decommit();
        allocator_->Release();
        allocator_ = nullptr;
    }
    if (input_) {
        input_->Release();
        input_ = nullptr;
    }
    connected_->Release();
    connected_ = nullptr;
    return S_OK;
}

STDMETHODIMP OutputPin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    std::lock_guard<std::mutex> lk(filter_->lock_);
    *pin = connected_;
    if (!connected_) return VFW_E_NOT_CONNECTED;
    connected_->AddRef();
    return S_OK;
}

STDMETHODIMP OutputPin::ConnectionMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    Format f;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        if (!connected_) {
            std::memset(pmt, 0, sizeof(*pmt));
            return VFW_E_NOT_CONNECTED;
        }
        f = connectedFormat_;
    }
    return MakeMediaType(f, pmt);
}

STDMETHODIMP OutputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = filter_;
    filter_->AddRef();
    info->dir = PINDIR_OUTPUT;
    std::wcscpy(info->achName, still_ ? L"Still" : L"Capture");
    return S_OK;
}

STDMETHODIMP OutputPin::QueryDirection(PIN_DIRECTION* dir) {
    if (!dir) return E_POINTER;
    *dir = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP OutputPin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    const wchar_t* name = still_ ? L"Still" : L"Capture";
    size_t bytes = (std::wcslen(name) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, name, bytes);
    return S_OK;
}

STDMETHODIMP OutputPin::QueryAccept(const AM_MEDIA_TYPE* pmt) {
    return Acceptable(pmt, nullptr) ? S_OK : S_FALSE;
}

// Like a hardware pin, after SetFormat only the format set is offered; before it, every
// format with the current one first.
STDMETHODIMP OutputPin::EnumMediaTypes(IEnumMediaTypes** e) {
    if (!e) return E_POINTER;
    std::vector<Format> list;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        list.push_back(connected_ ? connectedFormat_ : format_);
        if (!formatSet_) {
            for (const Format& f : Formats()) {
                if (f.subtype != list[0].subtype || f.width != list[0].width ||
                    f.height != list[0].height) {
                    list.push_back(f);
                }
            }
        }
    }
    *e = new MediaTypeEnum(static_cast<IBaseFilter*>(filter_), std::move(list));
    return S_OK;
}

STDMETHODIMP OutputPin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}
STDMETHODIMP OutputPin::EndOfStream() {
    return E_UNEXPECTED;
}
STDMETHODIMP OutputPin::BeginFlush() {
    return E_UNEXPECTED;
}
STDMETHODIMP OutputPin::EndFlush() {
    return E_UNEXPECTED;
}
STDMETHODIMP OutputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) {
    return S_OK;
}

// IAMStreamConfig

STDMETHODIMP OutputPin::SetFormat(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    Format f;
    if (!Acceptable(pmt, &f)) return VFW_E_INVALIDMEDIATYPE;
    IPin* peer = nullptr;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        if (filter_->state_ != State_Stopped) return VFW_E_NOT_STOPPED;
        if (connected_ && connectedFormat_.subtype == f.subtype &&
            connectedFormat_.width == f.width && connectedFormat_.height == f.height) {
            return S_OK;
        }
        format_ = f;
        formatSet_ = true;
        if (connected_) {
            peer = connected_;
            peer->AddRef();
        }
    }
    if (!peer) return S_OK;
    // A connected pin changes its format by reconnecting.
    HRESULT hr = VFW_E_NOT_IN_GRAPH;
    AM_MEDIA_TYPE mt;
    if (peer->QueryAccept(pmt) != S_OK) {
        hr = VFW_E_TYPE_NOT_ACCEPTED;
    } else if (filter_->graph_ && SUCCEEDED(MakeMediaType(f, &mt))) {
        IFilterGraph2* graph2 = nullptr;
        if (SUCCEEDED(filter_->graph_->QueryInterface(IID_IFilterGraph2,
                                                      reinterpret_cast<void**>(&graph2)))) {
            hr = graph2->ReconnectEx(this, &mt);
            graph2->Release();
        } else {
            hr = filter_->graph_->Reconnect(this);
        }
        FreeMediaType(mt);
    }
    peer->Release();
    return hr;
}

STDMETHODIMP OutputPin::GetFormat(AM_MEDIA_TYPE** pmt) {
    if (!pmt) return E_POINTER;
    Format f;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        f = connected_ ? connectedFormat_ : format_;
    }
    *pmt = NewMediaType(f);
    return *pmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP OutputPin::GetNumberOfCapabilities(int* count, int* size) {
    if (!count || !size) return E_POINTER;
    *count = static_cast<int>(Formats().size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP OutputPin::GetStreamCaps(int index, AM_MEDIA_TYPE** pmt, BYTE* caps) {
    if (!pmt || !caps) return E_POINTER;
    std::vector<Format> list = Formats();
    if (index < 0 || index >= static_cast<int>(list.size())) return S_FALSE;
    const Format& f = list[index];
    *pmt = NewMediaType(f);
    if (!*pmt) return E_OUTOFMEMORY;
    auto* c = reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps);
    std::memset(c, 0, sizeof(*c));
    c->guid = FORMAT_VideoInfo;
    c->VideoStandard = 0;
    c->InputSize = {f.width, f.height};
    c->MinCroppingSize = c->MaxCroppingSize = c->InputSize;
    c->CropGranularityX = c->CropGranularityY = 1;
    c->CropAlignX = c->CropAlignY = 1;
    c->MinOutputSize = c->MaxOutputSize = c->InputSize;
    c->OutputGranularityX = c->OutputGranularityY = 1;
    c->MinFrameInterval = c->MaxFrameInterval = kFramePeriod;
    LONG bits = f.width * f.height * 16 * 15;
    c->MinBitsPerSecond = c->MaxBitsPerSecond = bits;
    return S_OK;
}

// IKsPropertySet: the pin category.

STDMETHODIMP OutputPin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) {
    return E_PROP_ID_UNSUPPORTED;
}

STDMETHODIMP OutputPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataSize,
                            DWORD* returned) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (returned) *returned = sizeof(GUID);
    if (!data) return returned ? S_OK : E_POINTER;
    if (dataSize < sizeof(GUID)) return E_UNEXPECTED;
    *static_cast<GUID*>(data) = still_ ? PIN_CATEGORY_STILL : PIN_CATEGORY_CAPTURE;
    return S_OK;
}

STDMETHODIMP OutputPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

// IAMStreamControl: MAXLONGLONG as start blocks the pin; NULL means now.

STDMETHODIMP OutputPin::StartAt(const REFERENCE_TIME* start, DWORD cookie) {
    std::lock_guard<std::mutex> lk(filter_->lock_);
    startAt_ = start ? *start : MINLONGLONG;
    startCookie_ = cookie;
    startNotified_ = (cookie == 0);
    if (startAt_ != MAXLONGLONG && stopAt_ <= startAt_) stopAt_ = MAXLONGLONG;
    return S_OK;
}

STDMETHODIMP OutputPin::StopAt(const REFERENCE_TIME* stop, BOOL, DWORD cookie) {
    std::lock_guard<std::mutex> lk(filter_->lock_);
    stopAt_ = stop ? *stop : MINLONGLONG;
    stopCookie_ = cookie;
    stopNotified_ = (cookie == 0);
    return S_OK;
}

STDMETHODIMP OutputPin::GetInfo(AM_STREAM_INFO* info) {
    if (!info) return E_POINTER;
    std::lock_guard<std::mutex> lk(filter_->lock_);
    std::memset(info, 0, sizeof(*info));
    info->tStart = startAt_;
    info->tStop = stopAt_;
    info->dwStartCookie = startCookie_;
    info->dwStopCookie = stopCookie_;
    if (startAt_ != MINLONGLONG && startAt_ != MAXLONGLONG)
        info->dwFlags |= AM_STREAM_INFO_START_DEFINED;
    if (stopAt_ != MAXLONGLONG && stopAt_ != MINLONGLONG)
        info->dwFlags |= AM_STREAM_INFO_STOP_DEFINED;
    bool discarding = startAt_ == MAXLONGLONG || stopAt_ == MINLONGLONG;
    if (discarding) info->dwFlags |= AM_STREAM_INFO_DISCARDING;
    return S_OK;
}

// IAMDroppedFrames

STDMETHODIMP OutputPin::GetNumDropped(LONG* number) {
    if (!number) return E_POINTER;
    *number = drops_.NumDropped();
    return S_OK;
}

STDMETHODIMP OutputPin::GetNumNotDropped(LONG* number) {
    if (!number) return E_POINTER;
    *number = drops_.NumNotDropped();
    return S_OK;
}

STDMETHODIMP OutputPin::GetDroppedInfo(LONG size, LONG* frames, LONG* copied) {
    if (!frames || !copied) return E_POINTER;
    if (size < 0) return E_INVALIDARG;
    *copied = drops_.CopyRecent(size, frames);
    return S_OK;
}

STDMETHODIMP OutputPin::GetAverageFrameSize(LONG* size) {
    if (!size) return E_POINTER;
    *size = drops_.AverageFrameSize();
    return S_OK;
}

// Whether a sample stamped t is held back by the stream control. Called with the lock held;
// the events due are returned in *started / *stopped (0: none) to be sent after unlocking.
bool OutputPin::Gated(REFERENCE_TIME t, DWORD* started, DWORD* stopped) {
    *started = *stopped = 0;
    if (still_) return false;
    bool blocked = (startAt_ == MAXLONGLONG) || t < startAt_ || t >= stopAt_;
    if (!blocked && !startNotified_) {
        startNotified_ = true;
        *started = startCookie_;
    }
    if (t >= stopAt_ && !stopNotified_) {
        stopNotified_ = true;
        *stopped = stopCookie_;
    }
    return blocked;
}

// Streaming

HRESULT OutputPin::Activate() {
    if (!connected_ || !allocator_) return S_OK;
    HRESULT hr = allocator_->Commit();
    if (FAILED(hr)) return hr;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        quit_ = false;
        pendingStills_ = 0;
        discontinuity_ = true;
    }
    drops_.Restart();
    DWORD sweepMs = 0;
    if (!still_ && connectedFormat_.width % 2 == 0 && ReadFocusSweepMs(&sweepMs)) {
        const Format& f = connectedFormat_;
        focus_.reset(new (std::nothrow) FocusFeed(f.width, f.height, sweepMs / 1000.0));
    }
    thread_ = std::thread([this] { Stream(); });
    return S_OK;
}

void OutputPin::Deactivate() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        quit_ = true;
    }
    filter_->wake_.notify_all();
    // Decommitting first releases a thread waiting for a buffer.
    allocator_->Decommit();
    thread_.join();
    focus_.reset();
}

HRESULT OutputPin::Trigger() {
    std::lock_guard<std::mutex> lk(filter_->lock_);
    if (!still_) return E_INVALIDARG;
    if (!thread_.joinable() || filter_->state_ != State_Running) return VFW_E_NOT_RUNNING;
    if (filter_->lost_) return VFW_E_NOT_CONNECTED;
    if (TakeIgnoredTrigger()) return S_OK;
    ++pendingStills_;
    filter_->wake_.notify_all();
    return S_OK;
}

void OutputPin::Stream() {
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    long long frame = 0;
    auto nextLossPoll = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lk(filter_->lock_);
    while (!quit_) {
        if (filter_->state_ != State_Running || filter_->lost_) {
            filter_->wake_.wait(lk);
            continue;
        }
        if (still_) {
            if (pendingStills_ == 0) {
                filter_->wake_.wait(lk);
                continue;
            }
            --pendingStills_;
            lk.unlock();
            DeliverStill();
            lk.lock();
            continue;
        }
        // Capture pin: one frame per period of stream time; late frames are skipped.
        REFERENCE_TIME now = filter_->StreamTimeLocked();
        if (now < frame * kFramePeriod) {
            auto wait = std::chrono::microseconds((frame * kFramePeriod - now) / 10 + 1);
            filter_->wake_.wait_for(
                lk, std::min<std::chrono::microseconds>(wait, std::chrono::milliseconds(50)));
            continue;
        }
        if (now - frame * kFramePeriod > kFramePeriod) {
            drops_.Dropped(frame, now / kFramePeriod - frame);
            frame = now / kFramePeriod;
        }
        lk.unlock();
        if (std::chrono::steady_clock::now() >= nextLossPoll) {
            nextLossPoll = std::chrono::steady_clock::now() + kLossPollInterval;
            if (ReadLostMask() & (1u << filter_->slot_)) {
                filter_->SignalLost();
                lk.lock();
                continue;
            }
        }
        DeliverFrame(frame);
        ++frame;
        lk.lock();
    }
    lk.unlock();
    jpeg_.Reset();
    if (SUCCEEDED(com)) CoUninitialize();
}

void OutputPin::DeliverFrame(long long frame) {
    IMediaSample* sample = nullptr;
    if (FAILED(allocator_->GetBuffer(&sample, nullptr, nullptr, 0)) || !sample) return;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const Format& f = connectedFormat_;
    REFERENCE_TIME start = frame * kFramePeriod, stop = start + kFramePeriod;
    long length = f.width * f.height * 2;
    bool mjpg = FourccOf(f.subtype) == kFourccMjpg;
    if (data && mjpg) {
        scratch_.resize(length);
        RenderCaptureFrame(scratch_.data(), start / 1e7);
        length = jpeg_.Encode(scratch_.data(), f.width, f.height, data, sample->GetSize());
    } else if (data && sample->GetSize() >= length) {
        RenderCaptureFrame(data, start / 1e7);
    } else {
        length = 0;
    }
    if (length > 0) {
        sample->SetActualDataLength(length);
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        sample->SetDiscontinuity(discontinuity_ ? TRUE : FALSE);
        discontinuity_ = false;
        bool gated;
        DWORD started, stopped;
        IMediaEventSink* sink;
        {
            std::lock_guard<std::mutex> lk(filter_->lock_);
            gated = Gated(start, &started, &stopped);
            sink = filter_->sink_;
        }
        auto pin = reinterpret_cast<LONG_PTR>(static_cast<IPin*>(this));
        if (sink && started) sink->Notify(EC_STREAM_CONTROL_STARTED, pin, started);
        if (sink && stopped) sink->Notify(EC_STREAM_CONTROL_STOPPED, pin, stopped);
        if (!gated) Deliver(sample);
    } else if (data) {
        drops_.Dropped(frame, 1);  // no room for it, or the encoder failed
    }
    sample->Release();
}

void OutputPin::RenderCaptureFrame(uint8_t* yuy2, double seconds) {
    const Format& f = connectedFormat_;
    if (focus_ && focus_->Frame(seconds, filter_->brightness_, yuy2)) return;
    RenderYuy2(yuy2, f.width, f.height, seconds, filter_->brightness_);
}

void OutputPin::DeliverStill() {
    REFERENCE_TIME now;
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        now = filter_->StreamTimeLocked();
    }
    REFERENCE_TIME stop = now + kFramePeriod;
    double seconds = now / 1e7;
    ReadStillSceneTime(&seconds);
    int brightness = filter_->brightness_;
    const StillKind kind = filter_->model_.stillKind;
    int parts = kind == StillKind::RawHalves ? 2 : 1;
    for (int part = 0; part < parts; ++part) {
        IMediaSample* sample = nullptr;
        if (FAILED(allocator_->GetBuffer(&sample, nullptr, nullptr, 0)) || !sample) return;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        long length = 0;
        if (data) {
            if (kind == StillKind::Frame) {
                const Format& f = connectedFormat_;
                length = f.width * f.height * 2;
                if (sample->GetSize() >= length) {
                    // With a focus sweep, the still shows it at the trigger's moment.
                    DWORD sweepMs = 0;
                    const bool focus =
                        ReadFocusSweepMs(&sweepMs) && f.width % 2 == 0 &&
                        RenderSweepYuy2(f.width, f.height, CameraSweep(sweepMs / 1000.0), seconds,
                                        brightness, data);
                    if (!focus) RenderYuy2(data, f.width, f.height, seconds, brightness);
                }
            } else if (kind == StillKind::RawSingle) {
                length = kRawSingleWidth * kRawSingleHeight;
                if (sample->GetSize() >= length) {
                    RenderMosaic(data, kRawSingleWidth, kRawSingleHeight, 0, kRawSingleHeight,
                                 seconds, brightness);
                }
            } else {
                const int half = kRawHalvesHeight / 2;
                length = kRawHalvesWidth * half;
                if (sample->GetSize() >= length) {
                    if (part == 0) {
                        RenderMosaic(data, kRawHalvesWidth, kRawHalvesHeight, 0, half, seconds,
                                     brightness);
                    } else {
                        // The lower half travels bottom-up: the picture's last row comes first.
                        for (int r = 0; r < half; ++r) {
                            RenderMosaic(data + static_cast<size_t>(r) * kRawHalvesWidth,
                                         kRawHalvesWidth, kRawHalvesHeight,
                                         kRawHalvesHeight - 1 - r, 1, seconds, brightness);
                        }
                    }
                }
            }
        }
        if (data && sample->GetSize() >= length) {
            sample->SetActualDataLength(length);
            sample->SetTime(&now, &stop);
            sample->SetSyncPoint(TRUE);
            Deliver(sample);
        }
        sample->Release();
    }
}

// Hands one sample downstream while the filter runs; Pause and Stop wait for it to return.
HRESULT OutputPin::Deliver(IMediaSample* sample) {
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        if (quit_ || filter_->state_ != State_Running || filter_->lost_) return S_FALSE;
        ++filter_->delivering_;
    }
    HRESULT hr = input_->Receive(sample);
    {
        std::lock_guard<std::mutex> lk(filter_->lock_);
        --filter_->delivering_;
    }
    filter_->wake_.notify_all();
    if (!still_) {
        if (hr == S_OK) {
            drops_.Delivered(sample->GetActualDataLength());
        } else if (FAILED(hr)) {
            REFERENCE_TIME start = 0, stop = 0;
            sample->GetTime(&start, &stop);
            drops_.Dropped(start / kFramePeriod, 1);
        }
    }
    return hr;
}

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
