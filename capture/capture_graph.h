#pragma once
// The capture-graph object: the list of accepted cameras and, for the current one, the media
// graph with its preview and still branches.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <array>
#include <cstdint>
#include <string>

#include "capture/devices.h"
#include "platform/com_ptr.h"

namespace orvane {

using DeviceNameTable = std::array<std::array<wchar_t, kDeviceNameUnits>, kMaxDevices>;

class CaptureGraph {
  public:
    CaptureGraph() { DiscoverCompressor(); }
    CaptureGraph(const CaptureGraph&) = delete;
    CaptureGraph& operator=(const CaptureGraph&) = delete;
    ~CaptureGraph();

    // Lists the accepted cameras of the video-input category into the name table:
    // -1 when the system device enumerator cannot be created, else the count (at most 8).
    int EnumerateDevices(DeviceNameTable& names);
    // Makes index current when it names a listed device; returns the current index.
    int SelectDevice(int index);

    int DeviceCount() const { return count_; }
    int CurrentDevice() const { return current_; }
    uint32_t DeviceCodeAt(int index) const {
        return index >= 0 && index < count_ ? codes_[index] : 0;
    }
    bool IsModel6710() const { return isModel6710_; }
    uint32_t StillSize() const { return stillSize_; }
    uint32_t SizeCode() const { return sizeCode_; }
    bool GraphReady() const { return graphReady_; }

    // The owner window for graph events, the preview rectangle in client coordinates, the wanted
    // size code, and the file the recording branch writes while no recording runs.
    void SetParameters(HWND owner, const RECT& preview, uint32_t sizeCode,
                       const std::wstring& idlePath);
    void SetVideoCompression(bool on) { videoCompression_ = on; }
    bool VideoCompression() const { return videoCompression_; }

    // Builds and runs the graph for a camera; the negotiated size code, or -1 when the index
    // names no camera or the camera cannot be opened.
    int BuildGraph(int index, bool newDevice);
    // Stops the graph and releases everything downstream of the camera.
    void TearDown();
    void SetVideoWindow(bool visible, const RECT& rect);
    // While hidden (the picture editor covers the window) every build leaves the live picture's
    // window hidden and SetVideoWindow only moves it; showing it again shows the window.
    void SetPreviewHidden(bool hidden);
    // Moves the live picture's window to rect (client coordinates), keeping its visibility.
    void PlaceVideoWindow(const RECT& rect);

    // Drains the graph's events; true when the camera was lost or capture aborted.
    bool CameraLost();
    // Switches the file-writing branch: on, writing into path from 2.5 s of stream time on; off,
    // closing the recording by switching to path (the idle file), then rebuilding the graph.
    // The stream-control result, or 0 without a camera; when the recording file cannot be
    // named or written, the failure, with the live picture kept running on the idle file;
    // VFW_E_NO_CAPTURE_HARDWARE when the rebuild after a stop cannot open the camera.
    HRESULT SetRecording(bool start, const std::wstring& path);
    // Asks the camera for one still image through its still pin.
    HRESULT TriggerStill();
    // Opens the camera's own property pages over the owner window; 1 without a camera.
    HRESULT ShowImageSettings();
    // Looks for the DV encoder among the video compressors (done once, at construction).
    void DiscoverCompressor();
    bool HasCompressor() const { return static_cast<bool>(dvEncoder_); }

  private:
    void SetUpFileOutput();
    void AddFileOutputDirectly();
    void ConfigureCaptureFormat(uint32_t camera);
    void BuildCaptureBranch();
    HRESULT ControlCaptureStream(REFERENCE_TIME* start, REFERENCE_TIME* stop);
    // Blocks the capture branch and switches the file sink to file (closing the one before).
    HRESULT BlockCapture(const std::wstring& file);
    void StopEveryFilter();
    ComPtr<IAMStreamControl> CaptureStreamControl();
    void BuildPreviewBranch();
    bool ConnectToRenderer(IBaseFilter* grabber, IBaseFilter* renderer);
    bool RenderWithDefaultRenderer(IBaseFilter* grabber);
    void FeedPreviewWithoutWindow(IBaseFilter* grabber, IBaseFilter* renderer);
    void TakeGraphControl();
    void BuildStillBranch();
    void RemoveDownstream(IBaseFilter* filter);

    std::array<ComPtr<IMoniker>, kMaxDevices> monikers_;
    std::array<uint32_t, kMaxDevices> codes_{};
    int count_ = -1;
    int current_ = -1;
    int model6710Index_ = -1;
    bool isModel6710_ = false;
    bool graphReady_ = false;
    bool videoCompression_ = false;
    bool previewHidden_ = false;

    HWND owner_ = nullptr;
    RECT preview_{};
    uint32_t sizeCode_ = 0;
    uint32_t stillSize_ = 0;
    std::wstring idlePath_;

    ComPtr<IGraphBuilder> graph_;
    ComPtr<ICaptureGraphBuilder2> builder_;
    ComPtr<IMediaControl> control_;
    ComPtr<IVideoWindow> videoWindow_;
    ComPtr<IMediaEventEx> events_;
    ComPtr<IBaseFilter> camera_;
    ComPtr<IBaseFilter> mux_;
    ComPtr<IFileSinkFilter> fileSink_;
    // Where the graph builder cannot set up the file output and stream control itself, the
    // graph gets them directly, with the program's own gate on the capture side.
    bool directFileOutput_ = false;
    ComPtr<IBaseFilter> captureGate_;
    ComPtr<IAMStreamConfig> captureConfig_;
    ComPtr<IAMStreamConfig> stillConfig_;
    ComPtr<IBaseFilter> dvEncoder_;
};

}  // namespace orvane
