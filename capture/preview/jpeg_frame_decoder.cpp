#include "capture/preview/jpeg_frame_decoder.h"

#include <new>

namespace orvane {

namespace {

// The thread's COM while a call runs, whatever the streaming thread's owner set up (a thread
// already in an apartment only counts one more use).
class ThreadCom {
  public:
    ThreadCom() : hr_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ThreadCom() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ThreadCom(const ThreadCom&) = delete;
    ThreadCom& operator=(const ThreadCom&) = delete;
    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT hr_;
};

}  // namespace

JpegFrameDecoder::JpegFrameDecoder() : thread_(GetCurrentThreadId()) {
    ThreadCom com;
    if (!com.Usable()) return;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory_.PutVoid())) ||
        FAILED(CoGetClassObject(CLSID_WICJpegDecoder, CLSCTX_INPROC_SERVER, nullptr,
                                IID_IClassFactory, jpeg_.PutVoid()))) {
        factory_.Reset();
        jpeg_.Reset();
    }
}

bool JpegFrameDecoder::Decode(const uint8_t* data, size_t length, const BgrxPicture& to) {
    if (!Ready() || !data || !to.bits) return false;
    if (length < 4 || data[0] != 0xFF || data[1] != 0xD8 || length > 0x7FFFFFFF) return false;
    ThreadCom com;
    if (!com.Usable()) return false;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> source;
    if (FAILED(factory_->CreateStream(stream.Put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(length))) ||
        FAILED(jpeg_->CreateInstance(nullptr, IID_IWICBitmapDecoder, decoder.PutVoid())) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, source.Put()))) {
        return false;
    }
    // The conversion WICConvertBitmapSource would pick, made by the factory directly.
    ComPtr<IWICBitmapSource> bgrx;
    WICPixelFormatGUID format{};
    if (FAILED(source->GetPixelFormat(&format))) return false;
    if (format == GUID_WICPixelFormat32bppBGR) {
        bgrx = ComPtr<IWICBitmapSource>::Share(source.Get());
    } else {
        ComPtr<IWICFormatConverter> converter;
        if (FAILED(factory_->CreateFormatConverter(converter.Put())) ||
            FAILED(converter->Initialize(source.Get(), GUID_WICPixelFormat32bppBGR,
                                         WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeMedianCut))) {
            return false;
        }
        bgrx = ComPtr<IWICBitmapSource>::Share(converter.Get());
    }
    UINT width = 0, height = 0;
    if (FAILED(bgrx->GetSize(&width, &height)) || width != static_cast<UINT>(to.width) ||
        height != static_cast<UINT>(to.height)) {
        return false;
    }
    const UINT rowBytes = width * 4;
    if (to.topDown && to.stride == static_cast<ptrdiff_t>(rowBytes)) {
        return SUCCEEDED(bgrx->CopyPixels(nullptr, rowBytes, rowBytes * height, to.bits));
    }
    try {
        decoded_.resize(static_cast<size_t>(rowBytes) * height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (FAILED(bgrx->CopyPixels(nullptr, rowBytes, static_cast<UINT>(decoded_.size()),
                                decoded_.data()))) {
        return false;
    }
    return CopyTopDownBgrx(decoded_.data(), decoded_.size(), to);
}

}  // namespace orvane
