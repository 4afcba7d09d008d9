#include "tools/virtualcam/jpeg.h"

#include <algorithm>
#include <cstring>

namespace vcam {

JpegEncoder::~JpegEncoder() { Reset(); }

void JpegEncoder::Reset() {
    if (factory_) factory_->Release();
    factory_ = nullptr;
}

namespace {
inline uint8_t Clamp(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

void Yuy2ToBgr(const uint8_t* in, int width, int height, uint8_t* out) {
    for (long i = 0, n = static_cast<long>(width) * height / 2; i < n; ++i, in += 4, out += 6) {
        int u = in[1] - 128, v = in[3] - 128;
        for (int k = 0; k < 2; ++k) {
            int y = (in[k * 2] - 16) * 298;
            out[k * 3 + 0] = Clamp((y + 516 * u + 128) >> 8);
            out[k * 3 + 1] = Clamp((y - 100 * u - 208 * v + 128) >> 8);
            out[k * 3 + 2] = Clamp((y + 409 * v + 128) >> 8);
        }
    }
}

template <class T>
void SafeRelease(T*& p) {
    if (p) p->Release();
    p = nullptr;
}
}  // namespace

long JpegEncoder::Encode(const uint8_t* yuy2, int width, int height, uint8_t* out, long capacity) {
    if (!factory_ && FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWICImagingFactory, reinterpret_cast<void**>(&factory_)))) {
        factory_ = nullptr;
        return 0;
    }
    const UINT stride = static_cast<UINT>(width) * 3;
    bgr_.resize(static_cast<size_t>(stride) * height);
    Yuy2ToBgr(yuy2, width, height, bgr_.data());

    long length = 0;
    IStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(hr)) hr = factory_->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder);
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, &options);
    if (SUCCEEDED(hr)) hr = frame->Initialize(options);
    if (SUCCEEDED(hr)) hr = frame->SetSize(width, height);
    if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR) hr = E_FAIL;
    if (SUCCEEDED(hr)) hr = frame->WritePixels(height, stride, static_cast<UINT>(bgr_.size()), bgr_.data());
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    STATSTG stat{};
    if (SUCCEEDED(hr)) hr = stream->Stat(&stat, STATFLAG_NONAME);
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(hr)) hr = GetHGlobalFromStream(stream, &memory);
    if (SUCCEEDED(hr) && stat.cbSize.QuadPart <= static_cast<ULONGLONG>(capacity)) {
        if (const void* bytes = GlobalLock(memory)) {
            length = static_cast<long>(stat.cbSize.QuadPart);
            std::memcpy(out, bytes, length);
            GlobalUnlock(memory);
        }
    }
    SafeRelease(options);
    SafeRelease(frame);
    SafeRelease(encoder);
    SafeRelease(stream);
    return length;
}

}  // namespace vcam
