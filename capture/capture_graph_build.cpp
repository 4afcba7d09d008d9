// Building, running and tearing down the camera's media graph.
#include <initguid.h>

#include "capture/capture_graph.h"

#include <dvdmedia.h>

#include "capture/filters/media_type.h"
#include "capture/frame_grabbers.h"
#include "capture/graph_util.h"
#include "capture/negotiation.h"
#include "capture/preview/preview_converter.h"
#include "capture/shared_capture_state.h"
#include "capture/size_codes.h"

namespace orvane {

namespace {

// Not in the platform headers of this tool chain.
DEFINE_GUID(kClsidSampleGrabber, 0xC1F400A0, 0x3F08, 0x11d3, 0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03,
            0x9E, 0x37);
DEFINE_GUID(kClsidNullRenderer, 0xC1F400A4, 0x3F08, 0x11d3, 0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03,
            0x9E, 0x37);

constexpr UINT kGraphEventMessage = WM_USER + 1;

// Frees a media type the platform allocated.
void FreeMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return;
    FreeMediaTypeContents(*type);
    CoTaskMemFree(type);
}

VIDEOINFOHEADER* VideoInfoOf(AM_MEDIA_TYPE* type) {
    if (!type || type->formattype != FORMAT_VideoInfo || type->cbFormat < sizeof(VIDEOINFOHEADER) ||
        !type->pbFormat) {
        return nullptr;
    }
    return reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
}

// Sets the frame size of a size code, with the image size the bit depth gives.
void SetFrameSize(BITMAPINFOHEADER& header, uint32_t sizeCode) {
    header.biWidth = static_cast<LONG>(SizeWidth(sizeCode));
    header.biHeight = static_cast<LONG>(SizeHeight(sizeCode));
    header.biSizeImage =
        FrameImageSize(header.biBitCount, SizeWidth(sizeCode), SizeHeight(sizeCode));
}

bool IsSameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b) return false;
    ComPtr<IUnknown> ua, ub;
    a->QueryInterface(IID_IUnknown, ua.PutVoid());
    b->QueryInterface(IID_IUnknown, ub.PutVoid());
    return ua.Get() == ub.Get();
}

}  // namespace

CaptureGraph::~CaptureGraph() {
    TearDown();
    CaptureState().Clear();
}

void CaptureGraph::SetParameters(HWND owner, const RECT& preview, uint32_t sizeCode,
                                 const std::wstring& idlePath) {
    owner_ = owner;
    preview_ = preview;
    sizeCode_ = sizeCode;
    idlePath_ = idlePath;
}

int CaptureGraph::BuildGraph(int index, bool newDevice) {
    if (index < 0 || index > count_) index = current_;
    if (index < 0 || index >= count_) return -1;
    TearDown();

    builder_ = CreateObject<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2,
                                                   IID_ICaptureGraphBuilder2, CLSCTX_ALL);
    if (monikers_[index]) {
        monikers_[index]->BindToObject(nullptr, nullptr, IID_IBaseFilter, camera_.PutVoid());
    }
    const uint32_t requested = sizeCode_;
    if (newDevice) isModel6710_ = index == model6710Index_;
    CaptureState().SetCamera(camera_.Get());
    graph_ = CreateObject<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder,
                                         CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER);
    // A camera that cannot be opened is no camera: the caller goes on to the next one.
    if (!camera_) {
        TearDown();
        return -1;
    }
    if (!builder_ || !graph_) {
        TearDown();
        return static_cast<int>(sizeCode_);
    }
    builder_->SetFiltergraph(graph_.Get());
    graph_->AddFilter(camera_.Get(), L"VideoCaptureFilter");
    SetUpFileOutput();

    const uint32_t camera = codes_[index];
    ConfigureCaptureFormat(camera);
    BuildCaptureBranch();
    BuildPreviewBranch();
    current_ = index;
    // Nothing reaches the idle file until a recording starts.
    REFERENCE_TIME never = MAXLONGLONG;
    ControlCaptureStream(&never, nullptr);
    BuildStillBranch();

    const BuildResult result = FinishBuild(camera, requested, sizeCode_, stillSize_);
    sizeCode_ = result.sizeCode;
    stillSize_ = result.stillSize;
    codes_[index] = result.cameraCode;
    // The callbacks read the code for the frames they get: published just before they flow.
    CaptureState().SetSizeCode(sizeCode_);
    if (control_) control_->Run();
    return static_cast<int>(sizeCode_);
}

void CaptureGraph::ConfigureCaptureFormat(uint32_t camera) {
    builder_->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera_.Get(),
                            IID_IAMStreamConfig, captureConfig_.PutVoid());
    if (!captureConfig_) return;
    AM_MEDIA_TYPE* type = nullptr;
    if (SUCCEEDED(captureConfig_->GetFormat(&type))) {
        if (VIDEOINFOHEADER* info = VideoInfoOf(type)) {
            const bool isMjpg = type->subtype == MEDIASUBTYPE_MJPG;
            const CaptureFormatChoice choice = ChooseCaptureFormat(
                camera, sizeCode_, static_cast<uint32_t>(info->bmiHeader.biWidth), isMjpg);
            if (choice.switchToMjpg && type->majortype == MEDIATYPE_Video) {
                type->subtype = MEDIASUBTYPE_MJPG;
                info->bmiHeader.biCompression = MAKEFOURCC('M', 'J', 'P', 'G');
            }
            sizeCode_ = choice.sizeCode;
            SetFrameSize(info->bmiHeader, sizeCode_);
            captureConfig_->SetFormat(type);
        }
        FreeMediaType(type);
    }
    type = nullptr;
    if (SUCCEEDED(captureConfig_->GetFormat(&type))) {
        if (const VIDEOINFOHEADER* info = VideoInfoOf(type)) {
            sizeCode_ = MakeSizeCode(static_cast<uint32_t>(info->bmiHeader.biWidth),
                                     static_cast<uint32_t>(info->bmiHeader.biHeight));
            CaptureState().SetCaptureHeader(info->bmiHeader);
        }
        FreeMediaType(type);
    }
}

void CaptureGraph::BuildPreviewBranch() {
    ComPtr<IBaseFilter> grabberFilter =
        CreateInProcess<IBaseFilter>(kClsidSampleGrabber, IID_IBaseFilter);
    if (!grabberFilter) return;
    graph_->AddFilter(grabberFilter.Get(), L"VideoSampleGrab");
    if (auto grabber = grabberFilter.As<ISampleGrabber>(IID_ISampleGrabber)) {
        grabber->SetOneShot(FALSE);
        grabber->SetBufferSamples(TRUE);
        grabber->SetCallback(&PreviewCallback(), 0);
    }
    // The GDI renderer is preferred: it draws where every platform can show it (the renderers
    // that draw through 3-D hardware stay black on some displays). It takes RGB only.
    if (ComPtr<IBaseFilter> renderer =
            CreateInProcess<IBaseFilter>(CLSID_VideoRenderer, IID_IBaseFilter)) {
        graph_->AddFilter(renderer.Get(), L"VideoRenderer");
        const HRESULT hr = builder_->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video,
                                                  camera_.Get(), nullptr, grabberFilter.Get());
        if ((hr != S_OK && hr != VFW_S_NOPREVIEWPIN) ||
            !ConnectToRenderer(grabberFilter.Get(), renderer.Get())) {
            FeedPreviewWithoutWindow(grabberFilter.Get(), renderer.Get());
            return;
        }
    } else if (!RenderWithDefaultRenderer(grabberFilter.Get())) {
        return;
    }
    graph_.Get()->QueryInterface(IID_IVideoWindow, videoWindow_.PutVoid());
    if (!videoWindow_) return;
    // Hidden under the editor, a running graph must not bring the window up over it.
    videoWindow_->put_AutoShow(previewHidden_ ? OAFALSE : OATRUE);
    videoWindow_->put_Owner(reinterpret_cast<OAHWND>(owner_));
    videoWindow_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    videoWindow_->SetWindowPosition(preview_.left, preview_.top, preview_.right - preview_.left,
                                    preview_.bottom - preview_.top);
    videoWindow_->put_Visible(previewHidden_ ? OAFALSE : OATRUE);
    graphReady_ = true;
    TakeGraphControl();
}

bool CaptureGraph::ConnectToRenderer(IBaseFilter* grabber, IBaseFilter* renderer) {
    ComPtr<IPin> frames = FirstPin(grabber, PINDIR_OUTPUT);
    ComPtr<IPin> screen = FirstPin(renderer, PINDIR_INPUT);
    if (!frames || !screen) return false;
    if (SUCCEEDED(graph_->ConnectDirect(frames.Get(), screen.Get(), nullptr))) return true;
    // A format the renderer cannot take (YUY2, MJPG) goes through the program's own converter;
    // where that fails too, through whatever converter the platform offers.
    if (ComPtr<IBaseFilter> converter = PreviewConverter::Create()) {
        ComPtr<IPin> in = FirstPin(converter.Get(), PINDIR_INPUT);
        ComPtr<IPin> out = FirstPin(converter.Get(), PINDIR_OUTPUT);
        if (SUCCEEDED(graph_->AddFilter(converter.Get(), L"PreviewConverter"))) {
            if (SUCCEEDED(graph_->ConnectDirect(frames.Get(), in.Get(), nullptr)) &&
                SUCCEEDED(graph_->ConnectDirect(out.Get(), screen.Get(), nullptr))) {
                return true;
            }
            graph_->Disconnect(frames.Get());
            graph_->Disconnect(in.Get());
            graph_->RemoveFilter(converter.Get());
        }
    }
    return SUCCEEDED(graph_->Connect(frames.Get(), screen.Get()));
}

bool CaptureGraph::RenderWithDefaultRenderer(IBaseFilter* grabber) {
    // Named explicitly: letting the graph pick one fails on some platforms and leaves
    // half-connected pins behind.
    ComPtr<IBaseFilter> renderer =
        CreateInProcess<IBaseFilter>(CLSID_VideoRendererDefault, IID_IBaseFilter);
    if (!renderer)
        renderer = CreateInProcess<IBaseFilter>(CLSID_VideoMixingRenderer, IID_IBaseFilter);
    if (renderer) graph_->AddFilter(renderer.Get(), L"VideoRenderer");
    const HRESULT hr = builder_->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video,
                                              camera_.Get(), grabber, renderer.Get());
    if (hr == S_OK || hr == VFW_S_NOPREVIEWPIN) return true;
    FeedPreviewWithoutWindow(grabber, renderer.Get());
    return false;
}

void CaptureGraph::FeedPreviewWithoutWindow(IBaseFilter* grabber, IBaseFilter* renderer) {
    // A picture no renderer can show (no decoder for its format) still reaches the preview
    // callback, and the graph still runs for stills and device events; only the video window
    // is missing. Connected directly: automatic connection must not run near the multiplexer.
    if (renderer) graph_->RemoveFilter(renderer);
    ComPtr<IBaseFilter> sink = CreateInProcess<IBaseFilter>(kClsidNullRenderer, IID_IBaseFilter);
    if (!sink) return;
    graph_->AddFilter(sink.Get(), L"PreviewNullRender");
    ComPtr<IPin> output = FirstPin(grabber, PINDIR_OUTPUT);
    ComPtr<IPin> input = FirstPin(sink.Get(), PINDIR_INPUT);
    if (!output || !input || FAILED(graph_->ConnectDirect(output.Get(), input.Get(), nullptr))) {
        return;
    }
    TakeGraphControl();
}

void CaptureGraph::TakeGraphControl() {
    graph_.Get()->QueryInterface(IID_IMediaControl, control_.PutVoid());
    graph_.Get()->QueryInterface(IID_IMediaEventEx, events_.PutVoid());
    if (events_) events_->SetNotifyWindow(reinterpret_cast<OAHWND>(owner_), kGraphEventMessage, 0);
}

void CaptureGraph::BuildStillBranch() {
    ComPtr<IBaseFilter> grabberFilter =
        CreateInProcess<IBaseFilter>(kClsidSampleGrabber, IID_IBaseFilter);
    ComPtr<IBaseFilter> nullRenderer =
        CreateInProcess<IBaseFilter>(kClsidNullRenderer, IID_IBaseFilter);
    if (!grabberFilter || !nullRenderer) return;
    graph_->AddFilter(grabberFilter.Get(), L"SampleGrab");
    graph_->AddFilter(nullRenderer.Get(), L"NullRender");
    builder_->FindInterface(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, camera_.Get(),
                            IID_IAMStreamConfig, stillConfig_.PutVoid());
    if (stillConfig_) {
        AM_MEDIA_TYPE* type = nullptr;
        if (SUCCEEDED(stillConfig_->GetFormat(&type))) {
            if (VIDEOINFOHEADER* info = VideoInfoOf(type)) {
                stillSize_ = CorrectedStillSize(
                    MakeSizeCode(static_cast<uint32_t>(info->bmiHeader.biWidth),
                                 static_cast<uint32_t>(info->bmiHeader.biHeight)));
                SetFrameSize(info->bmiHeader, sizeCode_);
                stillConfig_->SetFormat(type);
            }
            FreeMediaType(type);
        }
    }
    builder_->RenderStream(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, camera_.Get(),
                           grabberFilter.Get(), nullRenderer.Get());
    if (auto grabber = grabberFilter.As<ISampleGrabber>(IID_ISampleGrabber)) {
        AM_MEDIA_TYPE connected{};
        if (SUCCEEDED(grabber->GetConnectedMediaType(&connected))) {
            CaptureState().SetStillType(connected);
            FreeMediaTypeContents(connected);
        }
        grabber->SetOneShot(FALSE);
        grabber->SetBufferSamples(TRUE);
        grabber->SetCallback(&StillCallback(), 1);
    }
}

void CaptureGraph::RemoveDownstream(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins.Put())) || !pins) return;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION direction{};
        pin->QueryDirection(&direction);
        if (direction != PINDIR_OUTPUT) continue;
        ComPtr<IPin> peer;
        if (FAILED(pin->ConnectedTo(peer.Put())) || !peer) continue;
        PIN_INFO info{};
        if (SUCCEEDED(peer->QueryPinInfo(&info)) && info.pFilter) {
            ComPtr<IBaseFilter> next = ComPtr<IBaseFilter>::Attach(info.pFilter);
            RemoveDownstream(next.Get());
            graph_->Disconnect(peer.Get());
            graph_->Disconnect(pin.Get());
            graph_->RemoveFilter(next.Get());
        }
    }
}

void CaptureGraph::StopEveryFilter() {
    if (control_) control_->Stop();
    // A failed run can leave filters paused, which the graph's own Stop does not reach.
    if (!graph_) return;
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph_->EnumFilters(filters.Put())) || !filters) return;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Put(), nullptr) == S_OK) filter->Stop();
}

void CaptureGraph::TearDown() {
    StopEveryFilter();
    CaptureState().SetSizeCode(0);  // no frames flow: no size holds
    // A still asked of the old graph will not come; every build passes through here.
    Requests().stillPending.store(0);
    if (videoWindow_) {
        videoWindow_->put_Visible(OAFALSE);
        videoWindow_->put_Owner(0);
    }
    if (events_) events_->SetNotifyWindow(0, 0, 0);
    events_.Reset();
    videoWindow_.Reset();
    control_.Reset();
    if (graph_ && camera_) RemoveDownstream(camera_.Get());
    captureConfig_.Reset();
    stillConfig_.Reset();
    captureGate_.Reset();
    fileSink_.Reset();
    mux_.Reset();
    directFileOutput_ = false;
    camera_.Reset();
    builder_.Reset();
    graph_.Reset();
}

void CaptureGraph::SetVideoWindow(bool visible, const RECT& rect) {
    if (!videoWindow_) return;
    if (visible) {
        preview_ = rect;
        videoWindow_->SetWindowPosition(rect.left, rect.top, rect.right - rect.left,
                                        rect.bottom - rect.top);
    }
    videoWindow_->put_Visible(visible && !previewHidden_ ? OATRUE : OAFALSE);
}

void CaptureGraph::SetPreviewHidden(bool hidden) {
    previewHidden_ = hidden;
    if (!videoWindow_) return;
    videoWindow_->put_AutoShow(hidden ? OAFALSE : OATRUE);
    videoWindow_->put_Visible(hidden ? OAFALSE : OATRUE);
}

void CaptureGraph::PlaceVideoWindow(const RECT& rect) {
    preview_ = rect;
    if (videoWindow_) {
        videoWindow_->SetWindowPosition(rect.left, rect.top, rect.right - rect.left,
                                        rect.bottom - rect.top);
    }
}

bool CaptureGraph::CameraLost() {
    if (!events_) return false;
    bool lost = false;
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (events_ && events_->GetEvent(&code, &first, &second, 0) == S_OK) {
        if (code == EC_ERRORABORT) lost = true;
        if (code == EC_DEVICE_LOST && second == 0 &&
            IsSameObject(reinterpret_cast<IUnknown*>(first), camera_.Get())) {
            lost = true;
        }
        events_->FreeEventParams(code, first, second);
    }
    return lost;
}

}  // namespace orvane
