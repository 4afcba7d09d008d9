// The virtual microscope camera as the program sees it: found through the system device
// enumerator, bound from its moniker, streaming into a sample grabber, answering its stream
// configuration, register reads and still trigger, and unplugged on request.
#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <ksproxy.h>
#include <qedit.h>
#include <commctrl.h>
#include <ocidl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "tools/virtualcam/client.h"

namespace {

const CLSID kSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const GUID kIidKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kNodeSet = {0x28F03370, 0x6311, 0x4A2E, {0xBA, 0x2C, 0x68, 0x90, 0xEB, 0x33, 0x40, 0x16}};
const GUID kVendorSet = {0xF1CAFC1D, 0xD7D6, 0x400F, {0xA7, 0xFD, 0x96, 0x71, 0x5E, 0x0B, 0xD9, 0x58}};

template <class T>
struct Ptr {
    T* p = nullptr;
    Ptr() = default;
    Ptr(const Ptr&) = delete;
    Ptr& operator=(const Ptr&) = delete;
    ~Ptr() { Reset(); }
    void Reset() {
        if (p) p->Release();
        p = nullptr;
    }
    T** operator&() {
        Reset();
        return &p;
    }
    T* operator->() const { return p; }
    operator T*() const { return p; }
    void** Out() {
        Reset();
        return reinterpret_cast<void**>(&p);
    }
};

void SetConfig(const std::vector<std::wstring>& devices, DWORD failOpen = 0, DWORD failRender = 0) {
    ASSERT_TRUE(vcam::WriteConfig(devices, failOpen, failRender));
}

void SetLost(DWORD lost) { ASSERT_TRUE(vcam::WriteLost(lost)); }

HRESULT CallRegistration(const char* entry) { return vcam::CallDllEntry(entry); }

struct Device {
    std::wstring displayName;
    std::wstring friendlyName;
};

std::vector<Device> ListDevices() {
    std::vector<Device> list;
    Ptr<ICreateDevEnum> devEnum;
    Ptr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                devEnum.Out())) ||
        devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK) {
        return list;
    }
    Ptr<IMoniker> m;
    while (monikers->Next(1, &m, nullptr) == S_OK) {
        Device d;
        LPOLESTR name = nullptr;
        if (SUCCEEDED(m->GetDisplayName(nullptr, nullptr, &name))) {
            d.displayName = name;
            CoTaskMemFree(name);
        }
        Ptr<IPropertyBag> bag;
        if (SUCCEEDED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.Out()))) {
            VARIANT v;
            VariantInit(&v);
            if (SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR) d.friendlyName = v.bstrVal;
            VariantClear(&v);
        }
        list.push_back(d);
    }
    return list;
}

bool Contains(const std::wstring& hay, const wchar_t* needle) {
    std::wstring h = hay, n = needle;
    for (auto& c : h) c = towlower(c);
    for (auto& c : n) c = towlower(c);
    return h.find(n) != std::wstring::npos;
}

HRESULT BindDevice(const wchar_t* substring, IBaseFilter** filter) {
    *filter = nullptr;
    Ptr<ICreateDevEnum> devEnum;
    Ptr<IEnumMoniker> monikers;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  devEnum.Out());
    if (FAILED(hr)) return hr;
    if (devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK) return E_FAIL;
    Ptr<IMoniker> m;
    while (monikers->Next(1, &m, nullptr) == S_OK) {
        LPOLESTR name = nullptr;
        if (FAILED(m->GetDisplayName(nullptr, nullptr, &name))) continue;
        bool match = Contains(name, substring);
        CoTaskMemFree(name);
        if (match) return m->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
    }
    return VFW_E_NOT_FOUND;
}

IPin* FindPin(IBaseFilter* filter, PIN_DIRECTION dir, const GUID* category) {
    Ptr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins))) return nullptr;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION d;
        pin->QueryDirection(&d);
        bool ok = d == dir;
        if (ok && category) {
            Ptr<IKsPropertySet> ks;
            GUID cat = GUID_NULL;
            DWORD got = 0;
            ok = SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, ks.Out())) &&
                 SUCCEEDED(ks->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &cat, sizeof(cat), &got)) &&
                 cat == *category;
        }
        if (ok) return pin;
        pin->Release();
    }
    return nullptr;
}

// Counts samples, remembers their times and a checksum of the first and the latest.
class Counter : public ISampleGrabberCB {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == __uuidof(ISampleGrabberCB)) {
            *ppv = static_cast<ISampleGrabberCB*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample* sample) override {
        if (sleepMs) Sleep(sleepMs);  // a downstream that keeps the pin waiting
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        long length = sample->GetActualDataLength();
        uint32_t sum = 2166136261u;
        for (long i = 0; i < length; i += 7) sum = (sum ^ data[i]) * 16777619u;
        REFERENCE_TIME start = -1, stop = -1;
        sample->GetTime(&start, &stop);
        std::lock_guard<std::mutex> lk(lock);
        if (length >= 2) heads.push_back({data[0], data[1], data[length - 2], data[length - 1]});
        if (frames == 0) firstSum = sum;
        lastSum = sum;
        lengths.push_back(length);
        starts.push_back(start);
        ++frames;
        return S_OK;
    }
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return S_OK; }

    DWORD sleepMs = 0;
    std::mutex lock;
    int frames = 0;
    uint32_t firstSum = 0, lastSum = 0;
    std::vector<long> lengths;
    std::vector<std::vector<BYTE>> heads;  // first and last two bytes of each sample
    std::vector<REFERENCE_TIME> starts;
};

// camera pin -> Sample Grabber -> Null Renderer, connected pin to pin.
struct Graph {
    Ptr<IGraphBuilder> graph;
    Ptr<IBaseFilter> camera, grabberFilter, renderer;
    Ptr<ISampleGrabber> grabber;
    Ptr<IMediaControl> control;
    Ptr<IMediaEventEx> events;

    HRESULT Build(const wchar_t* device, const GUID& category, Counter* counter, int width = 0, int height = 0,
                  const GUID* subtype = nullptr) {
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                      graph.Out());
        if (FAILED(hr)) return hr;
        if (FAILED(hr = BindDevice(device, &camera))) return hr;
        if (FAILED(hr = graph->AddFilter(camera, L"VideoCaptureFilter"))) return hr;
        if (FAILED(hr = CoCreateInstance(kSampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         grabberFilter.Out())))
            return hr;
        grabberFilter->QueryInterface(__uuidof(ISampleGrabber), grabber.Out());
        grabber->SetBufferSamples(FALSE);
        grabber->SetOneShot(FALSE);
        grabber->SetCallback(counter, 0);
        if (FAILED(hr = graph->AddFilter(grabberFilter, L"Grabber"))) return hr;
        if (FAILED(hr = CoCreateInstance(kNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         renderer.Out())))
            return hr;
        if (FAILED(hr = graph->AddFilter(renderer, L"Null"))) return hr;
        Ptr<IPin> out, gin, gout, rin;
        out.p = FindPin(camera, PINDIR_OUTPUT, &category);
        if (!out) return VFW_E_NOT_FOUND;
        if (width) {
            Ptr<IAMStreamConfig> config;
            if (FAILED(hr = out->QueryInterface(IID_IAMStreamConfig, config.Out()))) return hr;
            AM_MEDIA_TYPE* mt = nullptr;
            if (FAILED(hr = config->GetFormat(&mt))) return hr;
            auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat);
            vih->bmiHeader.biWidth = width;
            vih->bmiHeader.biHeight = height;
            vih->bmiHeader.biSizeImage = width * height * 2;
            if (subtype) mt->subtype = *subtype;  // as the program does: the subtype only
            hr = config->SetFormat(mt);
            CoTaskMemFree(mt->pbFormat);
            CoTaskMemFree(mt);
            if (FAILED(hr)) return hr;
        }
        gin.p = FindPin(grabberFilter, PINDIR_INPUT, nullptr);
        gout.p = FindPin(grabberFilter, PINDIR_OUTPUT, nullptr);
        rin.p = FindPin(renderer, PINDIR_INPUT, nullptr);
        if (FAILED(hr = graph->ConnectDirect(out, gin, nullptr))) return hr;
        if (FAILED(hr = graph->ConnectDirect(gout, rin, nullptr))) return hr;
        graph->QueryInterface(IID_IMediaControl, control.Out());
        graph->QueryInterface(IID_IMediaEventEx, events.Out());
        return S_OK;
    }

    void TearDown() {
        if (control) control->Stop();
        if (graph) {
            for (IBaseFilter* f : {camera.p, grabberFilter.p, renderer.p}) {
                if (f) graph->RemoveFilter(f);
            }
        }
        events.Reset();
        control.Reset();
        grabber.Reset();
        renderer.Reset();
        grabberFilter.Reset();
        camera.Reset();
        graph.Reset();
    }
    ~Graph() { TearDown(); }
};

class VirtualCamera : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SetConfig({L"6320", L"6340", L"6353"});
        ASSERT_EQ(CallRegistration("DllRegisterServer"), S_OK);
    }
    // Leaves the prefix with the default camera, as a newcomer's run expects it.
    static void TearDownTestSuite() {
        vcam::DeleteConfig();
        CallRegistration("DllRegisterServer");
        CoUninitialize();
    }
};

TEST_F(VirtualCamera, EnumeratesOneMonikerPerConfiguredCamera) {
    std::vector<Device> devices = ListDevices();
    int found = 0;
    for (const wchar_t* pid : {L"usb#vid_0c45&pid_6320", L"usb#vid_0c45&pid_6340", L"usb#VID_0C45&PID_6353"}) {
        for (const Device& d : devices) {
            if (Contains(d.displayName, pid)) {
                ++found;
                EXPECT_FALSE(d.friendlyName.empty()) << d.displayName.c_str();
            }
        }
    }
    EXPECT_EQ(found, 3);
}

// Nine cameras (one more than the program takes), every model once; re-registering with fewer
// removes the rest.
TEST_F(VirtualCamera, RegistersNineCamerasAndShrinksAgain) {
    SetConfig({L"62c0", L"6340", L"62c1", L"62e0", L"6710", L"6353", L"6320", L"6355", L"6340", L"6320"});
    ASSERT_EQ(CallRegistration("DllRegisterServer"), S_OK);
    int ours = 0;
    for (const Device& d : ListDevices()) ours += Contains(d.displayName, L"#orvane-virtual-") ? 1 : 0;
    EXPECT_EQ(ours, 9);  // the tenth entry is dropped
    Ptr<IBaseFilter> ninth;
    EXPECT_EQ(BindDevice(L"usb#vid_0c45&pid_6340&mi_00#orvane-virtual-8", &ninth), S_OK);
    SetConfig({L"6320", L"6340", L"6353"});
    ASSERT_EQ(CallRegistration("DllRegisterServer"), S_OK);
    ours = 0;
    for (const Device& d : ListDevices()) ours += Contains(d.displayName, L"#orvane-virtual-") ? 1 : 0;
    EXPECT_EQ(ours, 3);
}

TEST_F(VirtualCamera, PinsReportCategoriesAndTheModelsFormats) {
    Ptr<IBaseFilter> camera;
    ASSERT_EQ(BindDevice(L"pid_6320", &camera), S_OK);
    Ptr<IPin> capture, still;
    capture.p = FindPin(camera, PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE);
    still.p = FindPin(camera, PINDIR_OUTPUT, &PIN_CATEGORY_STILL);
    ASSERT_TRUE(capture && still);
    Ptr<IAMStreamConfig> config;
    ASSERT_EQ(capture->QueryInterface(IID_IAMStreamConfig, config.Out()), S_OK);
    int count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    ASSERT_EQ(size, static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS)));
    std::vector<std::pair<long, long>> sizes;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* mt = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps;
        ASSERT_EQ(config->GetStreamCaps(i, &mt, reinterpret_cast<BYTE*>(&caps)), S_OK);
        auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat);
        EXPECT_EQ(mt->subtype, MEDIASUBTYPE_YUY2);
        EXPECT_EQ(vih->AvgTimePerFrame, 666666);
        EXPECT_EQ(vih->bmiHeader.biSizeImage, static_cast<DWORD>(vih->bmiHeader.biWidth * vih->bmiHeader.biHeight * 2));
        sizes.emplace_back(vih->bmiHeader.biWidth, vih->bmiHeader.biHeight);
        CoTaskMemFree(mt->pbFormat);
        CoTaskMemFree(mt);
    }
    EXPECT_EQ(sizes, (std::vector<std::pair<long, long>>{{800, 600}, {640, 480}}));
    // An unsupported size is refused and leaves the format unchanged.
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(config->GetFormat(&mt), S_OK);
    reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader.biWidth = 1024;
    EXPECT_NE(config->SetFormat(mt), S_OK);
    CoTaskMemFree(mt->pbFormat);
    CoTaskMemFree(mt);

    // The still pin reports the sensor's odd still size, which the program corrects.
    Ptr<IAMStreamConfig> stillConfig;
    ASSERT_EQ(still->QueryInterface(IID_IAMStreamConfig, stillConfig.Out()), S_OK);
    ASSERT_EQ(stillConfig->GetFormat(&mt), S_OK);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat);
    EXPECT_EQ(vih->bmiHeader.biWidth, 1744);
    EXPECT_EQ(vih->bmiHeader.biHeight, 1308);
    CoTaskMemFree(mt->pbFormat);
    CoTaskMemFree(mt);

    Ptr<IAMVideoControl> control;
    ASSERT_EQ(camera->QueryInterface(IID_IAMVideoControl, control.Out()), S_OK);
    LONG flags = 0;
    ASSERT_EQ(control->GetCaps(still, &flags), S_OK);
    EXPECT_TRUE(flags & VideoControlFlag_Trigger);
}

TEST_F(VirtualCamera, RegistersReadThroughBothPropertyPaths) {
    Ptr<IBaseFilter> camera;
    ASSERT_EQ(BindDevice(L"pid_6320", &camera), S_OK);
    Ptr<IKsControl> ks;
    ASSERT_EQ(camera->QueryInterface(kIidKsControl, ks.Out()), S_OK);
    auto nodeRead = [&](uint16_t address, uint8_t* value) {
        KSP_NODE node{};
        node.Property.Set = kNodeSet;
        node.Property.Id = 1;
        node.NodeId = 1;
        node.Property.Flags = KSPROPERTY_TYPE_SET | KSPROPERTY_TYPE_TOPOLOGY;
        BYTE data[4] = {static_cast<BYTE>(address & 0xFF), static_cast<BYTE>(address >> 8), 0, 0xFF};
        ULONG got = 0;
        HRESULT hr = ks->KsProperty(&node.Property, sizeof(node), data, 4, &got);
        if (FAILED(hr)) return hr;
        node.Property.Flags = KSPROPERTY_TYPE_GET | KSPROPERTY_TYPE_TOPOLOGY;
        hr = ks->KsProperty(&node.Property, sizeof(node), data, 4, &got);
        *value = data[2];
        return hr;
    };
    Ptr<IKsPropertySet> vendor;
    ASSERT_EQ(camera->QueryInterface(IID_IKsPropertySet, vendor.Out()), S_OK);
    auto vendorRead = [&](uint16_t address, uint8_t* value) {
        uint32_t rec[10] = {};
        rec[5] = 2;
        rec[6] = address;
        HRESULT hr = vendor->Set(kVendorSet, 0, rec, sizeof(rec), rec, sizeof(rec));
        if (FAILED(hr)) return hr;
        uint32_t back[10] = {};
        back[5] = 1;
        DWORD got = 0;
        hr = vendor->Get(kVendorSet, 0, back, sizeof(back), back, sizeof(back), &got);
        *value = static_cast<uint8_t>(back[7] & 0xFF);
        return hr;
    };
    for (uint16_t address : {0x11B7, 0x1192, 0x11B8, 0x11CF, 0x110E, 0x11D5, 0x11DB, 0x11DF}) {
        uint8_t a = 0xAA, b = 0x55;
        ASSERT_EQ(nodeRead(address, &a), S_OK) << address;
        ASSERT_EQ(vendorRead(address, &b), S_OK) << address;
        EXPECT_EQ(a, b) << address;
    }
    uint8_t v = 0;
    nodeRead(0x11B7, &v);
    EXPECT_EQ(v & 1, 1);  // gamma on
    nodeRead(0x11CF, &v);
    EXPECT_EQ(v, 255);    // last gamma point
    // First chroma row, first coefficient: 10-bit two's complement -20.
    uint8_t low = 0, high = 0;
    nodeRead(0x11D8, &low);
    nodeRead(0x11DB, &high);
    int coefficient = (high & 3) * 256 + low;
    if (coefficient > 511) coefficient -= 1024;
    EXPECT_EQ(coefficient, -20);

    Ptr<IAMVideoProcAmp> amp;
    ASSERT_EQ(camera->QueryInterface(IID_IAMVideoProcAmp, amp.Out()), S_OK);
    LONG mn, mx, step, def, fl, value;
    ASSERT_EQ(amp->GetRange(VideoProcAmp_Brightness, &mn, &mx, &step, &def, &fl), S_OK);
    EXPECT_EQ(mn, -64);
    EXPECT_EQ(mx, 64);
    EXPECT_EQ(amp->Set(VideoProcAmp_Brightness, 20, VideoProcAmp_Flags_Manual), S_OK);
    EXPECT_EQ(amp->Get(VideoProcAmp_Brightness, &value, &fl), S_OK);
    EXPECT_EQ(value, 20);
    EXPECT_NE(amp->Set(VideoProcAmp_Brightness, 65, VideoProcAmp_Flags_Manual), S_OK);
}

void ExpectSteadyStream(const wchar_t* device, int width, int height, bool withClock = true) {
    Counter counter;
    Graph g;
    ASSERT_EQ(g.Build(device, PIN_CATEGORY_CAPTURE, &counter, width, height), S_OK);
    if (!withClock) {
        Ptr<IMediaFilter> timing;
        ASSERT_EQ(g.graph->QueryInterface(IID_IMediaFilter, timing.Out()), S_OK);
        ASSERT_EQ(timing->SetSyncSource(nullptr), S_OK);
    }
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    Sleep(2000);
    g.control->Stop();
    std::lock_guard<std::mutex> lk(counter.lock);
    std::printf("frames in 2 s at %dx%d%s: %d\n", width, height, withClock ? "" : " without a clock",
                counter.frames);
    EXPECT_GE(counter.frames, 24);
    EXPECT_LE(counter.frames, 31);
    EXPECT_NE(counter.firstSum, counter.lastSum);  // the scene drifts
    for (long length : counter.lengths) EXPECT_EQ(length, width * height * 2);
    for (size_t i = 1; i < counter.starts.size(); ++i) {
        EXPECT_EQ(counter.starts[i] - counter.starts[i - 1], 666666) << i;  // no frame dropped
    }
}

TEST_F(VirtualCamera, StreamsMovingFramesAtFifteenPerSecond) {
    ExpectSteadyStream(L"usb#vid_0c45&pid_6320", 640, 480);
    ExpectSteadyStream(L"usb#vid_0c45&pid_6340", 1280, 960);
    ExpectSteadyStream(L"usb#vid_0c45&pid_6340", 800, 600, /*withClock=*/false);
}

// What the capture pin's IAMDroppedFrames reports after a run.
struct FrameAccount {
    LONG dropped = -1, delivered = -1, average = -1;
    std::vector<LONG> recent;
};

FrameAccount ReadFrameAccount(IBaseFilter* camera) {
    FrameAccount a;
    Ptr<IPin> pin;
    Ptr<IAMDroppedFrames> drops;
    if (FAILED(camera->FindPin(L"Capture", &pin)) ||
        FAILED(pin->QueryInterface(IID_IAMDroppedFrames, drops.Out()))) {
        return a;
    }
    drops->GetNumDropped(&a.dropped);
    drops->GetNumNotDropped(&a.delivered);
    drops->GetAverageFrameSize(&a.average);
    a.recent.resize(100);
    LONG copied = 0;
    drops->GetDroppedInfo(static_cast<LONG>(a.recent.size()), a.recent.data(), &copied);
    a.recent.resize(copied);
    return a;
}

TEST_F(VirtualCamera, CapturePinAccountsEveryFrameOfASteadyStream) {
    Counter counter;
    Graph g;
    ASSERT_EQ(g.Build(L"usb#vid_0c45&pid_6340", PIN_CATEGORY_CAPTURE, &counter, 1280, 960), S_OK);
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    Sleep(1500);
    g.control->Stop();
    const FrameAccount a = ReadFrameAccount(g.camera);
    std::lock_guard<std::mutex> lk(counter.lock);
    EXPECT_EQ(a.dropped, 0);
    EXPECT_EQ(a.delivered, counter.frames);
    EXPECT_EQ(a.average, 1280 * 960 * 2);
    EXPECT_TRUE(a.recent.empty());
}

TEST_F(VirtualCamera, CapturePinCountsTheFramesASlowDownstreamMisses) {
    Counter counter;
    counter.sleepMs = 150;  // more than two frame periods per frame
    Graph g;
    ASSERT_EQ(g.Build(L"usb#vid_0c45&pid_6320", PIN_CATEGORY_CAPTURE, &counter, 640, 480), S_OK);
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    Sleep(2000);
    g.control->Stop();
    const FrameAccount a = ReadFrameAccount(g.camera);
    std::lock_guard<std::mutex> lk(counter.lock);
    ASSERT_GT(counter.frames, 2);
    EXPECT_EQ(a.delivered, counter.frames);
    // Each delivery outlasts two periods, so at least one frame is lost after each.
    EXPECT_GE(a.dropped, a.delivered - 1);
    // Up to the last frame delivered, every frame number is either delivered or dropped.
    const LONG last = static_cast<LONG>(counter.starts.back() / 666666);
    EXPECT_GE(a.delivered + a.dropped, last + 1);
    EXPECT_LE(a.delivered + a.dropped, last + 4);
    // The latest dropped numbers come oldest first and none of them was delivered.
    ASSERT_EQ(a.recent.size(), static_cast<size_t>(std::min<LONG>(a.dropped, 100)));
    for (size_t i = 1; i < a.recent.size(); ++i) EXPECT_LT(a.recent[i - 1], a.recent[i]);
    for (LONG frame : a.recent) {
        for (REFERENCE_TIME start : counter.starts) EXPECT_NE(start / 666666, frame);
    }
}

TEST_F(VirtualCamera, MjpgModelSendsWholeJpegFrames) {
    Counter counter;
    Graph g;
    ASSERT_EQ(g.Build(L"pid_6353", PIN_CATEGORY_CAPTURE, &counter, 1280, 960, &MEDIASUBTYPE_MJPG), S_OK);
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(g.grabber->GetConnectedMediaType(&mt), S_OK);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_MJPG);
    CoTaskMemFree(mt.pbFormat);
    if (mt.pUnk) mt.pUnk->Release();
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    // Eight frames, however long a loaded machine takes to encode them (the rate is a
    // benchmark's figure, not this test's).
    const DWORD started = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> lk(counter.lock);
            if (counter.frames >= 8) break;
        }
        if (GetTickCount() - started > 8000) break;
        Sleep(50);
    }
    g.control->Stop();
    std::lock_guard<std::mutex> lk(counter.lock);
    std::printf("MJPG frames at 1280x960: %d in %lu ms\n", counter.frames,
                static_cast<unsigned long>(GetTickCount() - started));
    ASSERT_GE(counter.frames, 8);
    for (const auto& h : counter.heads) EXPECT_EQ(h, (std::vector<BYTE>{0xFF, 0xD8, 0xFF, 0xD9}));
    for (long length : counter.lengths) EXPECT_LT(length, 1280 * 960);
}

// The program's way: the capture graph builder finds the pins by category and renders the
// preview through a Smart Tee and the still pin into a grabber.
TEST_F(VirtualCamera, CaptureGraphBuilderRendersPreviewAndStill) {
    Ptr<IGraphBuilder> graph;
    Ptr<ICaptureGraphBuilder2> builder;
    Ptr<IBaseFilter> camera, previewGrabber, previewSink, stillGrabber, stillSink;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.Out()), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                               builder.Out()),
              S_OK);
    ASSERT_EQ(builder->SetFiltergraph(graph), S_OK);
    ASSERT_EQ(BindDevice(L"pid_6320", &camera), S_OK);
    ASSERT_EQ(graph->AddFilter(camera, L"VideoCaptureFilter"), S_OK);
    Ptr<IAMStreamConfig> captureConfig, stillConfig;
    ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, IID_IAMStreamConfig,
                                     captureConfig.Out()),
              S_OK);
    ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, camera, IID_IAMStreamConfig,
                                     stillConfig.Out()),
              S_OK);
    // The still pin takes the preview size, as the program sets it.
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(stillConfig->GetFormat(&mt), S_OK);
    reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader.biWidth = 800;
    reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader.biHeight = 600;
    EXPECT_EQ(stillConfig->SetFormat(mt), S_OK);
    CoTaskMemFree(mt->pbFormat);
    CoTaskMemFree(mt);

    Counter preview, still;
    auto addGrabber = [&](Ptr<IBaseFilter>& grabber, Ptr<IBaseFilter>& sink, Counter* counter, const wchar_t* name) {
        ASSERT_EQ(CoCreateInstance(kSampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, grabber.Out()), S_OK);
        ASSERT_EQ(CoCreateInstance(kNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, sink.Out()), S_OK);
        Ptr<ISampleGrabber> sg;
        ASSERT_EQ(grabber->QueryInterface(__uuidof(ISampleGrabber), sg.Out()), S_OK);
        sg->SetCallback(counter, 0);
        ASSERT_EQ(graph->AddFilter(grabber, name), S_OK);
        ASSERT_EQ(graph->AddFilter(sink, (std::wstring(name) + L" sink").c_str()), S_OK);
    };
    addGrabber(previewGrabber, previewSink, &preview, L"VideoSampleGrab");
    addGrabber(stillGrabber, stillSink, &still, L"SampleGrab");
    HRESULT hr = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera, previewGrabber, previewSink);
    EXPECT_TRUE(hr == S_OK || hr == VFW_S_NOPREVIEWPIN) << std::hex << hr;
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, camera, stillGrabber, stillSink), S_OK);
    Ptr<IPin> stillPin;
    ASSERT_EQ(builder->FindPin(camera, PINDIR_OUTPUT, &PIN_CATEGORY_STILL, nullptr, FALSE, 0, &stillPin), S_OK);
    Ptr<IAMVideoControl> control;
    ASSERT_EQ(camera->QueryInterface(IID_IAMVideoControl, control.Out()), S_OK);
    Ptr<IMediaControl> media;
    ASSERT_EQ(graph->QueryInterface(IID_IMediaControl, media.Out()), S_OK);
    ASSERT_TRUE(SUCCEEDED(media->Run()));
    Sleep(500);
    EXPECT_EQ(control->SetMode(stillPin, VideoControlFlag_Trigger), S_OK);
    for (int i = 0; i < 60 && still.frames < 2; ++i) Sleep(50);
    media->Stop();
    EXPECT_GE(preview.frames, 5);
    EXPECT_EQ(still.frames, 2);
    // Tear down: every filter out of the graph before it goes.
    for (IBaseFilter* f : {stillSink.p, stillGrabber.p, previewSink.p, previewGrabber.p, camera.p}) {
        graph->RemoveFilter(f);
    }
    Ptr<IEnumFilters> rest;
    graph->EnumFilters(&rest);
    Ptr<IBaseFilter> f;
    while (rest && rest->Next(1, &f, nullptr) == S_OK) {
        graph->RemoveFilter(f);
        rest->Reset();
    }
}

// The settings dialog's page: the slider sets the camera's brightness on Apply.
TEST_F(VirtualCamera, PropertyPageAppliesBrightness) {
    Ptr<IBaseFilter> camera;
    ASSERT_EQ(BindDevice(L"pid_6320", &camera), S_OK);
    Ptr<ISpecifyPropertyPages> specify;
    ASSERT_EQ(camera->QueryInterface(IID_ISpecifyPropertyPages, specify.Out()), S_OK);
    CAUUID pages{};
    ASSERT_EQ(specify->GetPages(&pages), S_OK);
    ASSERT_EQ(pages.cElems, 1u);
    Ptr<IPropertyPage> page;
    HRESULT hr = CoCreateInstance(pages.pElems[0], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.Out());
    CoTaskMemFree(pages.pElems);
    ASSERT_EQ(hr, S_OK);
    PROPPAGEINFO info{};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_GT(info.size.cx, 0);
    CoTaskMemFree(info.pszTitle);

    IUnknown* objects[1] = {camera.p};
    ASSERT_EQ(page->SetObjects(1, objects), S_OK);
    HWND parent = CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP, 0, 0, 300, 120, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    RECT rect = {0, 0, info.size.cx, info.size.cy};
    ASSERT_EQ(page->Activate(parent, &rect, FALSE), S_OK);
    HWND pageWindow = GetWindow(parent, GW_CHILD);
    ASSERT_NE(pageWindow, nullptr);
    HWND track = FindWindowExW(pageWindow, nullptr, TRACKBAR_CLASSW, nullptr);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    SendMessageW(track, TBM_SETPOS, TRUE, 33);
    SendMessageW(pageWindow, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 33), reinterpret_cast<LPARAM>(track));
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    ASSERT_EQ(page->Apply(), S_OK);
    Ptr<IAMVideoProcAmp> amp;
    ASSERT_EQ(camera->QueryInterface(IID_IAMVideoProcAmp, amp.Out()), S_OK);
    LONG value = 0, flags = 0;
    ASSERT_EQ(amp->Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    EXPECT_EQ(value, 33);
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
    page->SetObjects(0, nullptr);
    DestroyWindow(parent);
}

// Recording gates the capture pin: a start of MAXLONGLONG holds every frame back, a start
// "now" lets them through again with the stream running on.
TEST_F(VirtualCamera, StreamControlBlocksAndReleasesTheCapturePin) {
    Counter counter;
    Graph g;
    ASSERT_EQ(g.Build(L"pid_6320", PIN_CATEGORY_CAPTURE, &counter, 640, 480), S_OK);
    Ptr<IPin> pin;
    pin.p = FindPin(g.camera, PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE);
    Ptr<IAMStreamControl> control;
    ASSERT_EQ(pin->QueryInterface(IID_IAMStreamControl, control.Out()), S_OK);
    REFERENCE_TIME never = MAXLONGLONG;
    ASSERT_EQ(control->StartAt(&never, 0), S_OK);
    AM_STREAM_INFO info{};
    ASSERT_EQ(control->GetInfo(&info), S_OK);
    EXPECT_TRUE(info.dwFlags & AM_STREAM_INFO_DISCARDING);
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    Sleep(500);
    {
        std::lock_guard<std::mutex> lk(counter.lock);
        EXPECT_EQ(counter.frames, 0);
    }
    ASSERT_EQ(control->StartAt(nullptr, 0), S_OK);
    Sleep(500);
    g.control->Stop();
    std::lock_guard<std::mutex> lk(counter.lock);
    EXPECT_GE(counter.frames, 5);
    ASSERT_FALSE(counter.starts.empty());
    EXPECT_GE(counter.starts.front(), 3 * 666666);  // stream time went on while blocked
}

TEST_F(VirtualCamera, SurvivesRepeatedBuildRunAndTeardown) {
    auto privateBytes = [] {
        PROCESS_MEMORY_COUNTERS_EX pmc{};
        pmc.cb = sizeof(pmc);
        GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
        return pmc.PagefileUsage;
    };
    SIZE_T afterWarmUp = 0;
    for (int cycle = 0; cycle < 20; ++cycle) {
        if (cycle == 3) afterWarmUp = privateBytes();
        Counter counter;
        Graph g;
        ASSERT_EQ(g.Build(L"pid_6340", PIN_CATEGORY_CAPTURE, &counter, 640, 480), S_OK) << cycle;
        ASSERT_TRUE(SUCCEEDED(g.control->Run())) << cycle;
        Sleep(cycle % 3 == 0 ? 150 : 30);
        if (cycle % 2) g.control->Pause();
        g.TearDown();
    }
    // Each cycle allocates about 1.8 MB of sample buffers at 640x480; a leak of them shows.
    SIZE_T after = privateBytes();
    std::printf("committed memory after 3 cycles: %lu KB, after 20: %lu KB\n", static_cast<unsigned long>(afterWarmUp / 1024),
                static_cast<unsigned long>(after / 1024));
    EXPECT_LT(after, afterWarmUp + 8 * 1024 * 1024);
    // Every filter, pin enumerator and media-type enumerator has been released.
    HMODULE dll = GetModuleHandleW(L"OrvaneVirtualCam.dll");
    ASSERT_NE(dll, nullptr);
    auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(VirtualCamera, StillTriggerSendsTheMosaicInTwoHalves) {
    Counter counter;
    Graph g;
    ASSERT_EQ(g.Build(L"pid_6320", PIN_CATEGORY_STILL, &counter), S_OK);
    Ptr<IAMVideoControl> control;
    ASSERT_EQ(g.camera->QueryInterface(IID_IAMVideoControl, control.Out()), S_OK);
    Ptr<IPin> still;
    still.p = FindPin(g.camera, PINDIR_OUTPUT, &PIN_CATEGORY_STILL);
    EXPECT_NE(control->SetMode(still, VideoControlFlag_Trigger), S_OK);  // not running
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    ASSERT_EQ(control->SetMode(still, VideoControlFlag_Trigger), S_OK);
    for (int i = 0; i < 100 && counter.frames < 2; ++i) Sleep(50);
    g.control->Stop();
    std::lock_guard<std::mutex> lk(counter.lock);
    ASSERT_EQ(counter.frames, 2);
    EXPECT_EQ(counter.lengths[0], 3488 * 1308);
    EXPECT_EQ(counter.lengths[1], 3488 * 1308);
}

TEST_F(VirtualCamera, UnplugSignalsDeviceLostAndLeavesTheList) {
    Counter counter;
    Graph g;
    ASSERT_EQ(g.Build(L"pid_6340", PIN_CATEGORY_CAPTURE, &counter, 640, 480), S_OK);
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    Sleep(300);
    SetLost(1u << 1);  // slot 1 is the 6340
    bool lost = false;
    for (int i = 0; i < 40 && !lost; ++i) {
        long code;
        LONG_PTR p1, p2;
        while (g.events->GetEvent(&code, &p1, &p2, 100) == S_OK) {
            if (code == EC_DEVICE_LOST) {
                Ptr<IUnknown> a, b;
                g.camera->QueryInterface(IID_IUnknown, a.Out());
                if (p1) reinterpret_cast<IUnknown*>(p1)->QueryInterface(IID_IUnknown, b.Out());
                lost = (a.p == b.p) && p2 == 0;
            }
            g.events->FreeEventParams(code, p1, p2);
        }
    }
    EXPECT_TRUE(lost);
    int framesAtLoss = counter.frames;
    Sleep(300);
    EXPECT_LE(counter.frames, framesAtLoss + 1);
    g.TearDown();
    for (const Device& d : ListDevices()) EXPECT_FALSE(Contains(d.displayName, L"pid_6340"));
    Ptr<IBaseFilter> again;
    EXPECT_NE(BindDevice(L"pid_6340", &again), S_OK);
    // Plugged in again.
    SetLost(0);
    ASSERT_EQ(CallRegistration("DllRegisterServer"), S_OK);
    EXPECT_EQ(BindDevice(L"pid_6340", &again), S_OK);
}

TEST_F(VirtualCamera, ConfiguredFailuresRefuseOpenOrConnect) {
    SetConfig({L"6320", L"6340", L"6353"}, /*failOpen=*/1u << 2, /*failRender=*/1u << 1);
    Ptr<IBaseFilter> camera;
    EXPECT_NE(BindDevice(L"pid_6353", &camera), S_OK);
    Counter counter;
    Graph g;
    EXPECT_NE(g.Build(L"pid_6340", PIN_CATEGORY_CAPTURE, &counter), S_OK);
    g.TearDown();
    SetConfig({L"6320", L"6340", L"6353"});
    EXPECT_EQ(BindDevice(L"pid_6353", &camera), S_OK);
}

}  // namespace
