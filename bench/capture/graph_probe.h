#pragma once
// Looks into a running graph from its camera filter: the graph, its filters and connections, the
// camera's frame account and the renderer's.
#include <windows.h>
#include <dshow.h>

#include "platform/com_ptr.h"

namespace orvane::bench {

ComPtr<IAMDroppedFrames> CaptureDrops(IBaseFilter* camera);
ComPtr<IFilterGraph> GraphOf(IBaseFilter* filter);
// The first filter of the graph that reports frames drawn (a video renderer).
ComPtr<IQualProp> RendererQuality(IFilterGraph* graph);
// Prints each filter with its class and its pins' connections and media subtypes.
void PrintFilters(IFilterGraph* graph);
// The capture pin's connected subtype as text ("YUY2", "MJPG", or "none").
const char* CaptureSubtype(IBaseFilter* camera);

}  // namespace orvane::bench
