#include "platform/com_object.h"
#include "tools/virtualcam/media_types.h"

#include <algorithm>
#include <cstring>

namespace vcam {

void FreeMediaType(AM_MEDIA_TYPE& mt) {
    if (mt.cbFormat != 0) CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
    if (mt.pUnk) {
        mt.pUnk->Release();
        mt.pUnk = nullptr;
    }
}

DWORD FourccOf(const GUID& subtype) {
    return subtype.Data1;
}

HRESULT MakeMediaType(const Format& f, AM_MEDIA_TYPE* mt) {
    auto* vih = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!vih) return E_OUTOFMEMORY;
    std::memset(vih, 0, sizeof(*vih));
    bool mjpg = FourccOf(f.subtype) == kFourccMjpg;
    BITMAPINFOHEADER& bi = vih->bmiHeader;
    bi.biSize = sizeof(BITMAPINFOHEADER);
    bi.biWidth = f.width;
    bi.biHeight = f.height;
    bi.biPlanes = 1;
    bi.biBitCount = mjpg ? 24 : 16;
    bi.biCompression = mjpg ? kFourccMjpg : kFourccYuy2;
    bi.biSizeImage = static_cast<DWORD>(f.width * f.height * (mjpg ? 3 : 2));
    vih->AvgTimePerFrame = kFramePeriod;
    vih->dwBitRate = static_cast<DWORD>(static_cast<double>(bi.biSizeImage) * 8 * 15);
    std::memset(mt, 0, sizeof(*mt));
    mt->majortype = MEDIATYPE_Video;
    mt->subtype = f.subtype;
    mt->bFixedSizeSamples = mjpg ? FALSE : TRUE;
    mt->bTemporalCompression = FALSE;
    mt->lSampleSize = mjpg ? 0 : bi.biSizeImage;
    mt->formattype = FORMAT_VideoInfo;
    mt->cbFormat = sizeof(VIDEOINFOHEADER);
    mt->pbFormat = reinterpret_cast<BYTE*>(vih);
    return S_OK;
}

AM_MEDIA_TYPE* NewMediaType(const Format& f) {
    auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt) return nullptr;
    if (FAILED(MakeMediaType(f, mt))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

namespace {

// Enumerator of a fixed list of formats. Holds a reference on the pin's filter.
class MediaTypeEnum : public orvane::SingleInterfaceObject<IEnumMediaTypes, IID_IEnumMediaTypes> {
  public:
    MediaTypeEnum(IUnknown* owner, std::vector<Format> formats, size_t pos = 0)
        : owner_(owner), formats_(std::move(formats)), pos_(pos) {
        owner_->AddRef();
        ++g_objects;
    }
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && pos_ < formats_.size()) {
            out[n] = NewMediaType(formats_[pos_]);
            if (!out[n]) break;
            ++n;
            ++pos_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        pos_ = std::min<size_t>(formats_.size(), pos_ + count);
        return pos_ < formats_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** out) override {
        if (!out) return E_POINTER;
        *out = new MediaTypeEnum(owner_, formats_, pos_);
        return S_OK;
    }

  private:
    virtual ~MediaTypeEnum() {
        owner_->Release();
        --g_objects;
    }
    IUnknown* owner_;
    std::vector<Format> formats_;
    size_t pos_;
};

}  // namespace

IEnumMediaTypes* NewMediaTypeEnum(IUnknown* owner, std::vector<Format> formats) {
    return new MediaTypeEnum(owner, std::move(formats));
}

}  // namespace vcam
