// The MJPG model: what the platform offers to decode MJPG, and what becomes of the program's
// preview when the camera is switched to MJPG 1280 x 960.
#include <initguid.h>

#include <qedit.h>
#include <vfw.h>

#include <atomic>
#include <cstdio>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "bench/capture/graph_probe.h"
#include "bench/capture/virtual_camera.h"
#include "capture/frame_grabbers.h"

namespace orvane::bench {

namespace {

DEFINE_GUID(kSampleGrabberClsid, 0xC1F400A0, 0x3F08, 0x11d3, 0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03,
            0x9E, 0x37);
DEFINE_GUID(kNullRendererClsid, 0xC1F400A4, 0x3F08, 0x11d3, 0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03,
            0x9E, 0x37);
// The virtual camera of slot 0; the CameraWatch in front of it sees what this makes.
constexpr CLSID kCameraSlot0 = {
    0x6F1C2A40, 0x8D3B, 0x4E57, {0x9A, 0x61, 0x0B, 0x7C, 0x5E, 0x3D, 0x2A, 0x00}};

void PrintPlatformDecoders() {
    ComPtr<IBaseFilter> decoder;
    const HRESULT filter = CoCreateInstance(CLSID_MjpegDec, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IBaseFilter, decoder.PutVoid());
    std::printf("MJPEG decompressor filter: 0x%08lX\n", static_cast<unsigned long>(filter));
    const HIC codec = ICOpen(ICTYPE_VIDEO, mmioFOURCC('M', 'J', 'P', 'G'), ICMODE_DECOMPRESS);
    std::printf("video codec for MJPG decompression: %s\n", codec ? "yes" : "none");
    if (codec) ICClose(codec);

    ComPtr<IFilterMapper2> mapper;
    if (FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFilterMapper2, mapper.PutVoid()))) {
        return;
    }
    const GUID input[2] = {MEDIATYPE_Video, MEDIASUBTYPE_MJPG};
    ComPtr<IEnumMoniker> found;
    if (FAILED(mapper->EnumMatchingFilters(found.Put(), 0, FALSE, MERIT_DO_NOT_USE + 1, TRUE, 1,
                                           input, nullptr, nullptr, FALSE, FALSE, 0, nullptr,
                                           nullptr, nullptr)) ||
        !found) {
        return;
    }
    int count = 0;
    ComPtr<IMoniker> moniker;
    while (found->Next(1, moniker.Put(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        VARIANT name;
        VariantInit(&name);
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())) &&
            SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR) {
            std::printf("  registered filter taking MJPG: %ls\n", name.bstrVal);
        }
        VariantClear(&name);
        ++count;
    }
    std::printf("registered filters taking MJPG input: %d\n", count);
}

// Counts the samples a grabber passes on.
class FrameCount : public ISampleGrabberCB {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = iid == IID_IUnknown || iid == IID_ISampleGrabberCB ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the caller's stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample*) override {
        ++frames;
        return S_OK;
    }
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return S_OK; }
    std::atomic<long> frames{0};
};

struct PreviewTrial {
    HRESULT render = E_FAIL;     // RenderStream(PREVIEW, camera, grabber or none, renderer)
    HRESULT fallback = S_FALSE;  // after a failure: the grabber's output into a Null Renderer
    long grabbed = -1;           // frames at the grabber in 2 s of running after the fallback
};

// The preview branch's calls on a graph of their own: the camera set to MJPG 1280 x 960 the way
// the program sets it, a sample grabber (or none) and the default video renderer. When that
// fails and a grabber is there, its output goes into a Null Renderer and the graph runs.
PreviewTrial TryPreview(bool withGrabber) {
    PreviewTrial trial;
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBaseFilter> camera, grabber, renderer;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     graph.PutVoid());
    CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                     IID_ICaptureGraphBuilder2, builder.PutVoid());
    CoCreateInstance(kCameraSlot0, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                     camera.PutVoid());
    CoCreateInstance(CLSID_VideoRendererDefault, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                     renderer.PutVoid());
    if (withGrabber) {
        CoCreateInstance(kSampleGrabberClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                         grabber.PutVoid());
    }
    if (!graph || !builder || !camera || !renderer || (withGrabber && !grabber)) return trial;
    builder->SetFiltergraph(graph.Get());
    graph->AddFilter(camera.Get(), L"camera");
    graph->AddFilter(renderer.Get(), L"renderer");
    FrameCount counter;
    if (grabber) {
        graph->AddFilter(grabber.Get(), L"grabber");
        if (auto control = grabber.As<ISampleGrabber>(IID_ISampleGrabber)) {
            control->SetCallback(&counter, 0);
        }
    }
    ComPtr<IAMStreamConfig> config;
    builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(),
                           IID_IAMStreamConfig, config.PutVoid());
    AM_MEDIA_TYPE* type = nullptr;
    if (!config || FAILED(config->GetFormat(&type))) return trial;
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
    type->subtype = MEDIASUBTYPE_MJPG;
    info->bmiHeader.biCompression = mmioFOURCC('M', 'J', 'P', 'G');
    info->bmiHeader.biWidth = 1280;
    info->bmiHeader.biHeight = 960;
    trial.render = config->SetFormat(type);
    CoTaskMemFree(type->pbFormat);
    CoTaskMemFree(type);
    if (FAILED(trial.render)) return trial;
    trial.render = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera.Get(),
                                         grabber.Get(), renderer.Get());
    if (SUCCEEDED(trial.render) || !grabber) return trial;

    ComPtr<IBaseFilter> sink;
    CoCreateInstance(kNullRendererClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                     sink.PutVoid());
    if (!sink) return trial;
    graph->RemoveFilter(renderer.Get());
    graph->AddFilter(sink.Get(), L"null renderer");
    trial.fallback = builder->RenderStream(nullptr, nullptr, grabber.Get(), nullptr, sink.Get());
    auto control = graph.As<IMediaControl>(IID_IMediaControl);
    if (FAILED(trial.fallback) || !control || FAILED(control->Run())) return trial;
    Pump(2000);
    control->Stop();
    trial.grabbed = counter.frames;
    return trial;
}

}  // namespace

int MjpgFigures(int decodeFrames) {
    PrintPlatformDecoders();
    const VirtualCameraModel model(L"6353");
    CameraWatch watch;
    if (!model.Ok() || !watch.Ok()) return 1;
    const PreviewTrial withGrabber = TryPreview(true);
    const PreviewTrial alone = TryPreview(false);
    std::printf("RenderStream(PREVIEW, MJPG camera, grabber, renderer): 0x%08lX\n",
                static_cast<unsigned long>(withGrabber.render));
    std::printf("RenderStream(PREVIEW, MJPG camera, none, renderer): 0x%08lX\n",
                static_cast<unsigned long>(alone.render));
    std::printf(
        "grabber output into a Null Renderer after the failure: 0x%08lX, grabber frames "
        "in 2 s of running: %ld\n",
        static_cast<unsigned long>(withGrabber.fallback), withGrabber.grabbed);
    watch.TakeCamera();

    GraphHost host(kSize1280x960);
    CaptureGraph& graph = host.Graph();
    DeviceNameTable names{};
    if (graph.EnumerateDevices(names) < 1) return 1;
    graph.SelectDevice(0);
    const int code = graph.BuildGraph(0, true);
    ComPtr<IBaseFilter> camera = watch.TakeCamera();
    ComPtr<IFilterGraph> filters = GraphOf(camera.Get());
    std::printf("program's graph: size code 0x%08X, graph ready %s, capture pin %s\n",
                static_cast<unsigned>(code), graph.GraphReady() ? "yes" : "no",
                CaptureSubtype(camera.Get()));
    PrintFilters(filters.Get());
    ComPtr<IAMDroppedFrames> drops = CaptureDrops(camera.Get());
    ComPtr<IQualProp> renderer = RendererQuality(filters.Get());
    const uint64_t preview = PreviewCallback().Frames();
    const uint64_t still = StillCallback().Frames();
    Pump(3000);
    LONG delivered = 0;
    if (drops) drops->GetNumNotDropped(&delivered);
    int drawn = -1;
    if (renderer) renderer->get_FramesDrawn(&drawn);
    std::printf(
        "in 3 s: video windows under the owner %d, camera delivered %ld, preview "
        "callback %llu, still callback %llu, renderer drew %d%s\n",
        ChildWindowCount(host.Owner()), static_cast<long>(delivered),
        static_cast<unsigned long long>(PreviewCallback().Frames() - preview),
        static_cast<unsigned long long>(StillCallback().Frames() - still), drawn,
        renderer ? "" : " (no renderer reports frames)");
    renderer.Reset();
    drops.Reset();
    filters.Reset();
    camera.Reset();
    graph.TearDown();
    return MjpgDecodeFigures(decodeFrames);
}

}  // namespace orvane::bench
