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

IPin* StreamGate::Input::Downstream() const {
    return gate_.output_.Peer();
}

// ---- Output

STDMETHODIMP StreamGate::Output::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IAMStreamControl) {
        *out = static_cast<IAMStreamControl*>(this);
        AddRef();
        return S_OK;
    }
    return LocalOutputPin::QueryInterface(iid, out);
}

bool StreamGate::Output::OfferedType(MediaType& type) const {
    return gate_.input_.Connected() && type.Assign(gate_.input_.Type().Get());
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
