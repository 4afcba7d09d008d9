// The camera's pins: connection, formats, stream control and the pins' other interfaces
// (streaming is in output_pin_stream.cpp).
#include "platform/com_object.h"
#include "tools/virtualcam/filter.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "tools/virtualcam/media_types.h"

namespace vcam {

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
    *e = NewMediaTypeEnum(static_cast<IBaseFilter*>(filter_), std::move(list));
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

}  // namespace vcam
