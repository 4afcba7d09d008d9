#include "bench/capture/graph_probe.h"

#include <amvideo.h>

#include <cstdio>

namespace orvane::bench {

namespace {

void FreeMediaTypeFields(AM_MEDIA_TYPE& type) {
    if (type.cbFormat && type.pbFormat) CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    type = AM_MEDIA_TYPE{};
}

// FOURCC subtypes keep their code in the first field; others are printed by name.
void SubtypeText(const GUID& subtype, char (&text)[8]) {
    if (subtype == MEDIASUBTYPE_RGB24 || subtype == MEDIASUBTYPE_RGB32 ||
        subtype == MEDIASUBTYPE_RGB565 || subtype == MEDIASUBTYPE_RGB555) {
        std::snprintf(text, sizeof(text), "%s",
                      subtype == MEDIASUBTYPE_RGB24   ? "RGB24"
                      : subtype == MEDIASUBTYPE_RGB32 ? "RGB32"
                                                      : "RGB16");
        return;
    }
    const DWORD code = subtype.Data1;
    std::snprintf(text, sizeof(text), "%c%c%c%c", static_cast<char>(code & 0xFF),
                  static_cast<char>((code >> 8) & 0xFF), static_cast<char>((code >> 16) & 0xFF),
                  static_cast<char>(code >> 24));
}

}  // namespace

ComPtr<IAMDroppedFrames> CaptureDrops(IBaseFilter* camera) {
    ComPtr<IPin> pin;
    if (!camera || FAILED(camera->FindPin(L"Capture", pin.Put()))) return {};
    return pin.As<IAMDroppedFrames>(IID_IAMDroppedFrames);
}

ComPtr<IFilterGraph> GraphOf(IBaseFilter* filter) {
    FILTER_INFO info{};
    if (!filter || FAILED(filter->QueryFilterInfo(&info))) return {};
    return ComPtr<IFilterGraph>::Attach(info.pGraph);
}

ComPtr<IQualProp> RendererQuality(IFilterGraph* graph) {
    ComPtr<IEnumFilters> filters;
    if (!graph || FAILED(graph->EnumFilters(filters.Put()))) return {};
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Put(), nullptr) == S_OK) {
        if (auto quality = filter.As<IQualProp>(IID_IQualProp)) return quality;
    }
    return {};
}

void PrintFilters(IFilterGraph* graph) {
    ComPtr<IEnumFilters> filters;
    if (!graph || FAILED(graph->EnumFilters(filters.Put()))) return;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Put(), nullptr) == S_OK) {
        FILTER_INFO info{};
        filter->QueryFilterInfo(&info);
        ComPtr<IFilterGraph> owner = ComPtr<IFilterGraph>::Attach(info.pGraph);
        CLSID clsid{};
        filter->GetClassID(&clsid);
        wchar_t clsidText[40] = {};
        StringFromGUID2(clsid, clsidText, 40);
        std::printf("  filter \"%ls\" %ls:", info.achName, clsidText);
        ComPtr<IEnumPins> pins;
        ComPtr<IPin> pin;
        if (SUCCEEDED(filter->EnumPins(pins.Put()))) {
            int unconnected = 0;
            while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
                PIN_DIRECTION direction{};
                pin->QueryDirection(&direction);
                AM_MEDIA_TYPE type{};
                if (pin->ConnectionMediaType(&type) != S_OK) {
                    ++unconnected;
                    continue;
                }
                char subtype[8];
                SubtypeText(type.subtype, subtype);
                std::printf(" %s %s", direction == PINDIR_INPUT ? "in" : "out", subtype);
                FreeMediaTypeFields(type);
            }
            if (unconnected) std::printf(" (+%d unconnected)", unconnected);
        }
        std::printf("\n");
    }
}

const char* CaptureSubtype(IBaseFilter* camera) {
    ComPtr<IPin> pin;
    if (!camera || FAILED(camera->FindPin(L"Capture", pin.Put()))) return "none";
    AM_MEDIA_TYPE type{};
    if (pin->ConnectionMediaType(&type) != S_OK) return "none";
    const char* text = type.subtype == MEDIASUBTYPE_MJPG   ? "MJPG"
                       : type.subtype == MEDIASUBTYPE_YUY2 ? "YUY2"
                                                           : "other";
    FreeMediaTypeFields(type);
    return text;
}

}  // namespace orvane::bench
