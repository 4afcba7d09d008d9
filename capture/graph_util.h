#pragma once
// Small steps shared by the parts of the graph build.
#include <windows.h>
#include <dshow.h>

#include "platform/com_ptr.h"

namespace orvane {

template <typename T>
ComPtr<T> CreateObject(REFCLSID clsid, REFIID iid, DWORD context) {
    ComPtr<T> object;
    CoCreateInstance(clsid, nullptr, context, iid, object.PutVoid());
    return object;
}

template <typename T>
ComPtr<T> CreateInProcess(REFCLSID clsid, REFIID iid) {
    return CreateObject<T>(clsid, iid, CLSCTX_INPROC_SERVER);
}

// The filter's first pin of the given direction, connected or not.
inline ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted) {
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins.Put())) || !pins) return {};
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION direction{};
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted) return pin;
    }
    return {};
}

}  // namespace orvane
