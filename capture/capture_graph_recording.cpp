// The file-writing branch of the graph: the multiplexer and file sink, the capture branch into
// them, and the recording switch that gates it.
#include "capture/capture_graph.h"

#include "capture/filters/file_writer.h"
#include "capture/filters/stream_gate.h"
#include "capture/graph_util.h"

namespace orvane {

namespace {

constexpr REFERENCE_TIME kRecordingStartDelay = 25'000'000;  // 2.5 s of stream time

// The platform's file writer when its input pin offers the IStream a multiplexer writes
// through, else the program's own.
ComPtr<IBaseFilter> CreateStreamFileWriter() {
    auto system = CreateInProcess<IBaseFilter>(CLSID_FileWriter, IID_IBaseFilter);
    if (ComPtr<IPin> input = FirstPin(system.Get(), PINDIR_INPUT)) {
        if (input.As<IStream>(IID_IStream)) return system;
    }
    return FileWriter::Create();
}

}  // namespace

void CaptureGraph::SetUpFileOutput() {
    const HRESULT hr = builder_->SetOutputFileName(&MEDIASUBTYPE_Avi, idlePath_.c_str(), mux_.Put(),
                                                   fileSink_.Put());
    if (hr == E_NOTIMPL) AddFileOutputDirectly();
}

void CaptureGraph::AddFileOutputDirectly() {
    directFileOutput_ = true;
    mux_ = CreateInProcess<IBaseFilter>(CLSID_AviDest, IID_IBaseFilter);
    if (!mux_) return;
    graph_->AddFilter(mux_.Get(), L"Mux");
    // Full interleaving is the one mode every multiplexer runs in with a single video stream.
    if (auto interleaving = mux_.As<IConfigInterleaving>(IID_IConfigInterleaving)) {
        interleaving->put_Mode(INTERLEAVE_FULL);
    }
    ComPtr<IBaseFilter> writer = CreateStreamFileWriter();
    if (!writer) return;
    graph_->AddFilter(writer.Get(), L"File Writer");
    fileSink_ = writer.As<IFileSinkFilter>(IID_IFileSinkFilter);
    if (fileSink_) fileSink_->SetFileName(idlePath_.c_str(), nullptr);
    ComPtr<IPin> muxOutput = FirstPin(mux_.Get(), PINDIR_OUTPUT);
    ComPtr<IPin> writerInput = FirstPin(writer.Get(), PINDIR_INPUT);
    if (muxOutput && writerInput)
        graph_->ConnectDirect(muxOutput.Get(), writerInput.Get(), nullptr);
}

void CaptureGraph::BuildCaptureBranch() {
    IBaseFilter* compressor = nullptr;
    if (videoCompression_ && !isModel6710_ && dvEncoder_) {
        graph_->AddFilter(dvEncoder_.Get(), L"Compressor");
        compressor = dvEncoder_.Get();
    }
    // Without a multiplexer the builder would render the capture pin to whatever it finds.
    if (!mux_) return;
    if (!directFileOutput_) {
        builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera_.Get(), compressor,
                               mux_.Get());
        return;
    }
    captureGate_ = StreamGate::Create();
    if (!captureGate_) return;
    graph_->AddFilter(captureGate_.Get(), L"Capture Gate");
    builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera_.Get(),
                           captureGate_.Get(), compressor ? compressor : mux_.Get());
    if (compressor) builder_->RenderStream(nullptr, nullptr, compressor, nullptr, mux_.Get());
}

ComPtr<IAMStreamControl> CaptureGraph::CaptureStreamControl() {
    if (captureGate_) {
        ComPtr<IPin> output = FirstPin(captureGate_.Get(), PINDIR_OUTPUT);
        return output.As<IAMStreamControl>(IID_IAMStreamControl);
    }
    ComPtr<IPin> capture;
    builder_->FindPin(camera_.Get(), PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, FALSE,
                      0, capture.Put());
    return capture.As<IAMStreamControl>(IID_IAMStreamControl);
}

HRESULT CaptureGraph::ControlCaptureStream(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
    if (!builder_ || !camera_) return E_FAIL;
    const HRESULT hr = builder_->ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video,
                                               camera_.Get(), start, stop, 0, 0);
    if (hr != E_NOTIMPL) return hr;
    // What the builder does: set the times on the capture side's stream control.
    ComPtr<IAMStreamControl> control = CaptureStreamControl();
    if (!control) return hr;
    const HRESULT started = control->StartAt(start, 0);
    const HRESULT stopped = control->StopAt(stop, FALSE, 0);
    return FAILED(started) ? started : stopped;
}

HRESULT CaptureGraph::SetRecording(bool start, const std::wstring& path) {
    if (!camera_) return 0;
    if (control_) control_->Stop();
    HRESULT result = S_OK;
    if (start) {
        // Without the file named, the frames would go on into the idle file: no recording.
        const HRESULT named =
            fileSink_ ? fileSink_->SetFileName(path.c_str(), nullptr) : E_NOINTERFACE;
        if (FAILED(named)) {
            if (control_) control_->Run();
            return named;
        }
        REFERENCE_TIME from = kRecordingStartDelay, until = MAXLONGLONG;
        result = ControlCaptureStream(&from, &until);
    } else {
        result = BlockCapture(path);
    }
    const HRESULT ran = control_ ? control_->Run() : S_OK;
    if (start && FAILED(ran)) {
        // The recording file cannot be written (a missing folder, a full or read-only disk):
        // say so, and keep the live picture running on the idle file.
        StopEveryFilter();
        BlockCapture(idlePath_);
        control_->Run();
        return ran;
    }
    // A camera that cannot be opened again ends the live picture: the caller polls for one.
    if (!start && BuildGraph(current_, false) < 0) return VFW_E_NO_CAPTURE_HARDWARE;
    return result;
}

HRESULT CaptureGraph::BlockCapture(const std::wstring& file) {
    REFERENCE_TIME never = MAXLONGLONG;
    const HRESULT result = ControlCaptureStream(&never, nullptr);
    if (fileSink_) fileSink_->SetFileName(file.c_str(), nullptr);
    return result;
}

}  // namespace orvane
