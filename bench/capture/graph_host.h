#pragma once
// A capture graph hosted the way the main window hosts it: a visible owner window for the video
// window and the graph's events, and a message pump between the steps.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "capture/capture_graph.h"
#include "platform/handles.h"

namespace orvane::bench {

class GraphHost {
  public:
    explicit GraphHost(uint32_t sizeCode);
    CaptureGraph& Graph() { return *graph_; }
    HWND Owner() const { return owner_.Get(); }
    // A fresh graph object, as a new program start would have.
    void NewGraph();

  private:
    uint32_t sizeCode_;
    UniqueWindow owner_;  // outlives the graph, which owns its video window
    std::unique_ptr<CaptureGraph> graph_;
};

// Dispatches messages for ms milliseconds.
void Pump(DWORD ms);
// Pumps until the preview callback has counted more than frames; false after timeoutMs.
bool PumpUntilPreviewPast(uint64_t frames, DWORD timeoutMs);
// Child windows of the window (the video window lives there while a preview runs).
int ChildWindowCount(HWND window);
// Seconds since an arbitrary start, from the performance counter.
double Seconds();

}  // namespace orvane::bench
