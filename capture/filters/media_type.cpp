#include "capture/filters/media_type.h"

#include <cstring>

namespace orvane {

void FreeMediaTypeContents(AM_MEDIA_TYPE& type) {
    if (type.pbFormat) CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    type.pUnk = nullptr;
}

HRESULT CopyMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE* to) {
    if (!to) return E_POINTER;
    *to = from;
    to->pbFormat = nullptr;
    to->cbFormat = 0;
    if (from.cbFormat && from.pbFormat) {
        to->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(from.cbFormat));
        if (!to->pbFormat) {
            to->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(to->pbFormat, from.pbFormat, from.cbFormat);
        to->cbFormat = from.cbFormat;
    }
    if (to->pUnk) to->pUnk->AddRef();
    return S_OK;
}

bool MediaType::Assign(const AM_MEDIA_TYPE& from) {
    Clear();
    if (SUCCEEDED(CopyMediaType(from, &type_))) return true;
    type_ = AM_MEDIA_TYPE{};
    return false;
}

void MediaType::Clear() {
    FreeMediaTypeContents(type_);
    type_ = AM_MEDIA_TYPE{};
}

HRESULT MediaType::CopyTo(AM_MEDIA_TYPE* to) const {
    return CopyMediaType(type_, to);
}

AM_MEDIA_TYPE* MediaType::NewCopy() const {
    auto* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!copy) return nullptr;
    if (FAILED(CopyTo(copy))) {
        CoTaskMemFree(copy);
        return nullptr;
    }
    return copy;
}

long MediaType::SampleBytes() const {
    if (type_.formattype == FORMAT_VideoInfo && type_.pbFormat &&
        type_.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type_.pbFormat);
        if (info->bmiHeader.biSizeImage > 0) return static_cast<long>(info->bmiHeader.biSizeImage);
    }
    return type_.lSampleSize > 0 ? static_cast<long>(type_.lSampleSize) : 0;
}

}  // namespace orvane
