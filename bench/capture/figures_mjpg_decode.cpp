// The MJPG preview's decoding cost per 1280 x 960 frame: the way the converter decodes now (one
// decoder per streaming thread) beside the way it decoded before (COM, the imaging factory, the
// codec look-up and the conversion's component enumeration for every frame), same run.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "capture/preview/jpeg_frame_decoder.h"
#include "platform/com_ptr.h"

namespace orvane::bench {

namespace {

constexpr int kWidth = 1280, kHeight = 960;

// A camera-like picture (gradients and fine detail) as one JPEG file in memory.
std::vector<uint8_t> EncodeTestFrame() {
    std::vector<uint8_t> bgr(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = &bgr[(static_cast<size_t>(y) * kWidth + x) * 3];
            p[0] = static_cast<uint8_t>(x * 255 / kWidth);
            p[1] = static_cast<uint8_t>(y * 255 / kHeight);
            p[2] = static_cast<uint8_t>(((x / 7) ^ (y / 5)) * 13);
        }
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> memory;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.PutVoid())) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, memory.Put())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Put())) ||
        FAILED(encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Put(), nullptr)) ||
        FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetSize(kWidth, kHeight)) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(
            frame->WritePixels(kHeight, kWidth * 3, static_cast<UINT>(bgr.size()), bgr.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
        return {};
    }
    STATSTG stat{};
    HGLOBAL global = nullptr;
    if (FAILED(memory->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(memory.Get(), &global))) {
        return {};
    }
    std::vector<uint8_t> jpeg(static_cast<size_t>(stat.cbSize.QuadPart));
    const void* bytes = GlobalLock(global);
    if (!bytes) return {};
    std::copy_n(static_cast<const uint8_t*>(bytes), jpeg.size(), jpeg.begin());
    GlobalUnlock(global);
    return jpeg;
}

// One frame the way the converter decoded it before, into a top-down picture.
bool DecodeAsBefore(const std::vector<uint8_t>& jpeg, std::vector<uint8_t>& out) {
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bool ok = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> source;
        ComPtr<IWICBitmapSource> bgrx;
        ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory, factory.PutVoid())) &&
             SUCCEEDED(factory->CreateStream(stream.Put())) &&
             SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data()),
                                                    static_cast<DWORD>(jpeg.size()))) &&
             SUCCEEDED(factory->CreateDecoderFromStream(
                 stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put())) &&
             SUCCEEDED(decoder->GetFrame(0, source.Put())) &&
             SUCCEEDED(
                 WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, source.Get(), bgrx.Put())) &&
             SUCCEEDED(
                 bgrx->CopyPixels(nullptr, kWidth * 4, static_cast<UINT>(out.size()), out.data()));
    }
    if (SUCCEEDED(joined)) CoUninitialize();
    return ok;
}

}  // namespace

int MjpgDecodeFigures(int frames) {
    const std::vector<uint8_t> jpeg = EncodeTestFrame();
    if (jpeg.empty() || frames < 1) {
        std::printf("MJPG decoding: no test frame could be encoded\n");
        return 1;
    }
    std::vector<uint8_t> before(static_cast<size_t>(kWidth) * 4 * kHeight);
    std::vector<uint8_t> now(before.size(), 0xAB);
    const BgrxPicture picture{now.data(), kWidth, kHeight, kWidth * 4, true};
    JpegFrameDecoder decoder;
    if (!DecodeAsBefore(jpeg, before) || !decoder.Decode(jpeg.data(), jpeg.size(), picture)) {
        std::printf("MJPG decoding: the test frame did not decode\n");
        return 1;
    }
    const bool same = before == now;
    double start = Seconds();
    for (int i = 0; i < frames; ++i) DecodeAsBefore(jpeg, before);
    const double perFrameBefore = (Seconds() - start) * 1e3 / frames;
    start = Seconds();
    for (int i = 0; i < frames; ++i) decoder.Decode(jpeg.data(), jpeg.size(), picture);
    const double perFrameNow = (Seconds() - start) * 1e3 / frames;
    std::printf(
        "MJPG 1280 x 960 (%zu bytes) to RGB32, %d frames each: everything made per frame (as "
        "before) %.2f ms a frame, one decoder per streaming thread %.2f ms a frame (%.2fx); "
        "same bytes: %s\n",
        jpeg.size(), frames, perFrameBefore, perFrameNow, perFrameBefore / perFrameNow,
        same ? "yes" : "NO");
    return same ? 0 : 1;
}

}  // namespace orvane::bench
