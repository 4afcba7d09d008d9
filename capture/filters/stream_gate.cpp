#include "capture/filters/stream_gate.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

namespace orvane {

namespace {

// {48E4A378-6B09-4899-BD1A-D5A83A037D38}
constexpr CLSID kClsidStreamGate = {
    0x48e4a378, 0x6b09, 0x4899, {0xbd, 0x1a, 0xd5, 0xa8, 0x3a, 0x03, 0x7d, 0x38}};

constexpr wchar_t kOutputName[] = L"Capture";

// A partial type matches when each field it names equals the connection's.
bool Matches(const AM_MEDIA_TYPE& wanted, const AM_MEDIA_TYPE& actual) {
    if (wanted.majortype != GUID_NULL && wanted.majortype != actual.majortype) return false;
    if (wanted.subtype != GUID_NULL && wanted.subtype != actual.subtype) return false;
    if (wanted.formattype != GUID_NULL && wanted.formattype != actual.formattype) return false;
    return true;
}

std::optional<int64_t> TimeOf(const REFERENCE_TIME* t) {
    return t ? std::optional<int64_t>(*t) : std::nullopt;
}

}  // namespace

ComPtr<IBaseFilter> StreamGate::Create() {
    auto* gate = new (std::nothrow) StreamGate();
    return ComPtr<IBaseFilter>::Attach(gate);
}

StreamGate::StreamGate() : LocalFilter(kClsidStreamGate), input_(*this), output_(*this) {}

IPin* StreamGate::PinAt(int index) {
    if (index == 0) return &input_;
    return &output_;
}

bool StreamGate::Admit(REFERENCE_TIME t) {
    StreamSchedule::Transition change;
    bool flows = false;
    {
        std::lock_guard<std::mutex> hold(scheduleLock_);
        change = schedule_.Observe(t);
        flows = schedule_.Flows(t);
    }
    IPin* pin = &output_;
    if (change.started)
        Notify(EC_STREAM_CONTROL_STARTED, reinterpret_cast<LONG_PTR>(pin), change.startCookie);
    if (change.stopped)
        Notify(EC_STREAM_CONTROL_STOPPED, reinterpret_cast<LONG_PTR>(pin), change.stopCookie);
    return flows;
}

// ---- Input

bool StreamGate::Input::Accepts(const AM_MEDIA_TYPE& type) const {
    return type.majortype == MEDIATYPE_Video || type.majortype == MEDIATYPE_Interleaved;
}

HRESULT StreamGate::Input::OnReceive(IMediaSample* sample) {
    REFERENCE_TIME start = 0, stop = 0;
    if (FAILED(sample->GetTime(&start, &stop))) start = gate_.StreamTimeNow();
    if (!gate_.Admit(start)) return S_OK;
    IMemInputPin* next = gate_.output_.Receiver();
    return next ? next->Receive(sample) : S_OK;
}

STDMETHODIMP StreamGate::Input::EndOfStream() {
    IPin* next = gate_.output_.Peer();
    return next ? next->EndOfStream() : S_OK;
}

STDMETHODIMP StreamGate::Input::BeginFlush() {
    IPin* next = gate_.output_.Peer();
    return next ? next->BeginFlush() : S_OK;
}

STDMETHODIMP StreamGate::Input::EndFlush() {
    IPin* next = gate_.output_.Peer();
    return next ? next->EndFlush() : S_OK;
}

STDMETHODIMP StreamGate::Input::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    IPin* next = gate_.output_.Peer();
    return next ? next->NewSegment(start, stop, rate) : S_OK;
}

// ---- Output

StreamGate::Output::~Output() {
    if (allocator_) allocator_->Release();
    if (receiver_) receiver_->Release();
    if (peer_) peer_->Release();
}

STDMETHODIMP StreamGate::Output::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *out = static_cast<IPin*>(this);
    } else if (iid == IID_IAMStreamControl) {
        *out = static_cast<IAMStreamControl*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP StreamGate::Output::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
    if (!receivePin) return E_POINTER;
    if (peer_) return VFW_E_ALREADY_CONNECTED;
    if (gate_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    // The gate passes on what it receives: only the input's type can flow out.
    if (!gate_.input_.Connected()) return VFW_E_NO_ACCEPTABLE_TYPES;
    const AM_MEDIA_TYPE& offered = gate_.input_.Type().Get();
    if (type && !Matches(*type, offered)) return VFW_E_TYPE_NOT_ACCEPTED;
    if (!type_.Assign(offered)) return E_OUTOFMEMORY;

    HRESULT hr = receivePin->ReceiveConnection(this, &type_.Get());
    if (FAILED(hr)) {
        type_.Clear();
        return hr;
    }
    peer_ = receivePin;
    peer_->AddRef();
    hr = peer_->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&receiver_));
    if (SUCCEEDED(hr)) hr = DecideAllocator();
    if (FAILED(hr)) {
        peer_->Disconnect();
        Disconnect();
        return hr == E_NOINTERFACE ? VFW_E_NO_TRANSPORT : hr;
    }
    return S_OK;
}

HRESULT StreamGate::Output::DecideAllocator() {
    // Samples are forwarded as received; the allocator agreed here only completes the
    // connection protocol for the downstream pin.
    HRESULT hr = receiver_->GetAllocator(&allocator_);
    if (FAILED(hr) || !allocator_) {
        hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IMemAllocator, reinterpret_cast<void**>(&allocator_));
        if (FAILED(hr)) return hr;
    }
    ALLOCATOR_PROPERTIES wanted{};
    receiver_->GetAllocatorRequirements(&wanted);
    wanted.cBuffers = std::max<long>(wanted.cBuffers, 1);
    wanted.cbBuffer = std::max<long>({wanted.cbBuffer, type_.SampleBytes(), 1});
    wanted.cbAlign = std::max<long>(wanted.cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    hr = allocator_->SetProperties(&wanted, &actual);
    if (FAILED(hr)) return hr;
    return receiver_->NotifyAllocator(allocator_, TRUE);
}

STDMETHODIMP StreamGate::Output::Disconnect() {
    if (gate_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!peer_) return S_FALSE;
    if (allocator_) allocator_->Release();
    if (receiver_) receiver_->Release();
    peer_->Release();
    allocator_ = nullptr;
    receiver_ = nullptr;
    peer_ = nullptr;
    type_.Clear();
    return S_OK;
}

STDMETHODIMP StreamGate::Output::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    *pin = peer_;
    if (!peer_) return VFW_E_NOT_CONNECTED;
    peer_->AddRef();
    return S_OK;
}

STDMETHODIMP StreamGate::Output::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    if (!peer_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return type_.CopyTo(type);
}

STDMETHODIMP StreamGate::Output::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = &gate_;
    gate_.AddRef();
    info->dir = PINDIR_OUTPUT;
    std::memcpy(info->achName, kOutputName, sizeof(kOutputName));
    return S_OK;
}

STDMETHODIMP StreamGate::Output::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP StreamGate::Output::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(kOutputName)));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, kOutputName, sizeof(kOutputName));
    return S_OK;
}

STDMETHODIMP StreamGate::Output::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    if (!gate_.input_.Connected()) return S_FALSE;
    return Matches(*type, gate_.input_.Type().Get()) ? S_OK : S_FALSE;
}

STDMETHODIMP StreamGate::Output::EnumMediaTypes(IEnumMediaTypes** types) {
    return NewMediaTypeEnumerator(gate_.input_.Type(), types);
}

STDMETHODIMP StreamGate::Output::StartAt(const REFERENCE_TIME* start, DWORD cookie) {
    std::lock_guard<std::mutex> hold(gate_.scheduleLock_);
    gate_.schedule_.StartAt(TimeOf(start), cookie);
    return S_OK;
}

STDMETHODIMP StreamGate::Output::StopAt(const REFERENCE_TIME* stop, BOOL, DWORD cookie) {
    std::lock_guard<std::mutex> hold(gate_.scheduleLock_);
    gate_.schedule_.StopAt(TimeOf(stop), cookie);
    return S_OK;
}

STDMETHODIMP StreamGate::Output::GetInfo(AM_STREAM_INFO* info) {
    if (!info) return E_POINTER;
    std::lock_guard<std::mutex> hold(gate_.scheduleLock_);
    *info = AM_STREAM_INFO{};
    const StreamSchedule& s = gate_.schedule_;
    info->tStart = s.Start();
    info->tStop = s.Stop();
    if (s.Start() != StreamSchedule::kAlways && s.Start() != StreamSchedule::kNever)
        info->dwFlags |= AM_STREAM_INFO_START_DEFINED;
    if (s.Stop() != StreamSchedule::kAlways && s.Stop() != StreamSchedule::kNever)
        info->dwFlags |= AM_STREAM_INFO_STOP_DEFINED;
    if (!s.Flows(gate_.StreamTimeNow())) info->dwFlags |= AM_STREAM_INFO_DISCARDING;
    return S_OK;
}

}  // namespace orvane
