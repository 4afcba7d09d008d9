// The pins' streaming threads: preview frames at the frame rate, stills on a trigger.
#include "platform/com_object.h"
#include "tools/virtualcam/filter.h"

#include <algorithm>
#include <cstring>

#include "tools/virtualcam/media_types.h"
#include "tools/virtualcam/scene.h"

namespace vcam {

namespace {
constexpr auto kLossPollInterval = std::chrono::milliseconds(500);
}  // namespace

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

}  // namespace vcam
