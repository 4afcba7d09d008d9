#include "capture/preview/preview_converter.h"

#include <cstdlib>
#include <new>

namespace orvane {

namespace {

// {1D0E7B52-93A4-4C7E-8F21-6B3D0C5A9E41}
constexpr CLSID kClsidPreviewConverter = {
    0x1d0e7b52, 0x93a4, 0x4c7e, {0x8f, 0x21, 0x6b, 0x3d, 0x0c, 0x5a, 0x9e, 0x41}};

constexpr int kMaxSide = 16384;

const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& type) {
    if (type.formattype != FORMAT_VideoInfo || type.cbFormat < sizeof(VIDEOINFOHEADER) ||
        !type.pbFormat) {
        return nullptr;
    }
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

bool IsMjpg(const AM_MEDIA_TYPE& type) {
    return type.subtype == MEDIASUBTYPE_MJPG;
}

// The frame size of a video-info type: width, and height without its direction sign.
bool FrameSize(const AM_MEDIA_TYPE& type, int& width, int& height) {
    const VIDEOINFOHEADER* info = VideoInfoOf(type);
    if (!info) return false;
    width = info->bmiHeader.biWidth;
    height = std::abs(info->bmiHeader.biHeight);
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

}  // namespace

ComPtr<IBaseFilter> PreviewConverter::Create() {
    return ComPtr<IBaseFilter>::Attach(new (std::nothrow) PreviewConverter());
}

bool PreviewConverter::Converts(const AM_MEDIA_TYPE& type) {
    if (type.majortype != MEDIATYPE_Video) return false;
    int width = 0, height = 0;
    if (!FrameSize(type, width, height)) return false;
    if (IsMjpg(type)) return true;
    return type.subtype == MEDIASUBTYPE_YUY2 && Yuy2FrameBytes(width, height) != 0;
}

PreviewConverter::PreviewConverter()
    : LocalFilter(kClsidPreviewConverter), input_(*this), output_(*this) {}

IPin* PreviewConverter::PinAt(int index) {
    if (index == 0) return &input_;
    return &output_;
}

HRESULT PreviewConverter::OnActivate() {
    IMemAllocator* allocator = output_.Allocator();
    return allocator ? allocator->Commit() : S_OK;
}

void PreviewConverter::OnDeactivate() {
    // Also releases a delivery waiting for a buffer.
    if (IMemAllocator* allocator = output_.Allocator()) allocator->Decommit();
}

bool PreviewConverter::LayoutOf(IMediaSample* sample, BgrxPicture& picture) const {
    const VIDEOINFOHEADER* out = VideoInfoOf(output_.Type().Get());
    if (!out || !FrameSize(input_.Type().Get(), picture.width, picture.height)) return false;
    const BITMAPINFOHEADER& header = out->bmiHeader;
    // The renderer may ask for a wider stride than the picture, never for another picture.
    if (header.biBitCount != 32 || header.biCompression != BI_RGB ||
        header.biWidth < picture.width || std::abs(header.biHeight) != picture.height) {
        return false;
    }
    picture.stride = static_cast<ptrdiff_t>(header.biWidth) * 4;
    picture.topDown = header.biHeight < 0;
    BYTE* bits = nullptr;
    if (FAILED(sample->GetPointer(&bits)) || !bits) return false;
    if (sample->GetSize() / picture.stride < picture.height) return false;
    picture.bits = bits;
    return true;
}

HRESULT PreviewConverter::Deliver(IMediaSample* frame) {
    IMemAllocator* allocator = output_.Allocator();
    IMemInputPin* next = output_.Receiver();
    BYTE* data = nullptr;
    if (!allocator || !next || FAILED(frame->GetPointer(&data)) || !data) return S_OK;
    const long length = frame->GetActualDataLength();
    if (length <= 0) return S_OK;

    ComPtr<IMediaSample> out;
    // Fails once the converter stops; the frame is then simply not shown.
    if (FAILED(allocator->GetBuffer(out.Put(), nullptr, nullptr, 0)) || !out) return S_OK;
    if (!output_.AdoptSampleType(out.Get())) return S_OK;
    BgrxPicture picture;
    if (!LayoutOf(out.Get(), picture)) return S_OK;
    const bool converted = IsMjpg(input_.Type().Get())
                               ? DecodeJpeg(data, static_cast<size_t>(length), picture)
                               : Yuy2ToBgrx(data, static_cast<size_t>(length), picture);
    if (!converted) return S_OK;

    out->SetActualDataLength(static_cast<long>(picture.stride * picture.height));
    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT timed = frame->GetTime(&start, &stop);
    if (timed == S_OK) {
        out->SetTime(&start, &stop);
    } else if (timed == VFW_S_NO_STOP_TIME) {
        stop = start + 1;
        out->SetTime(&start, &stop);
    } else {
        out->SetTime(nullptr, nullptr);
    }
    out->SetSyncPoint(TRUE);
    out->SetDiscontinuity(frame->IsDiscontinuity() == S_OK);
    return next->Receive(out.Get());
}

bool PreviewConverter::DecodeJpeg(const uint8_t* data, size_t length, const BgrxPicture& to) {
    // Made on a streaming thread's first frame; a graph run again streams on a new thread,
    // which makes its own.
    if (!jpeg_ || !jpeg_->Ready() || jpeg_->Thread() != GetCurrentThreadId()) {
        jpeg_.reset(new (std::nothrow) JpegFrameDecoder());
    }
    return jpeg_ && jpeg_->Decode(data, length, to);
}

// ---- Input: stream events pass on to the renderer.

IPin* PreviewConverter::Input::Downstream() const {
    return owner_.output_.Peer();
}

// ---- Output: 32-bit RGB of the input's frame size, bottom-up.

bool PreviewConverter::Output::OfferedType(MediaType& type) const {
    if (!owner_.input_.Connected()) return false;
    const AM_MEDIA_TYPE& in = owner_.input_.Type().Get();
    int width = 0, height = 0;
    if (!FrameSize(in, width, height)) return false;
    VIDEOINFOHEADER info{};
    info.AvgTimePerFrame = VideoInfoOf(in)->AvgTimePerFrame;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * 4 * static_cast<DWORD>(height);
    AM_MEDIA_TYPE rgb{};
    rgb.majortype = MEDIATYPE_Video;
    rgb.subtype = MEDIASUBTYPE_RGB32;
    rgb.bFixedSizeSamples = TRUE;
    rgb.lSampleSize = info.bmiHeader.biSizeImage;
    rgb.formattype = FORMAT_VideoInfo;
    rgb.cbFormat = sizeof info;
    rgb.pbFormat = reinterpret_cast<BYTE*>(&info);
    return type.Assign(rgb);
}

bool PreviewConverter::Output::AdoptSampleType(IMediaSample* sample) {
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample->GetMediaType(&changed) != S_OK || !changed) return true;
    const bool ok =
        changed->subtype == MEDIASUBTYPE_RGB32 && VideoInfoOf(*changed) && ReplaceType(*changed);
    FreeMediaTypeContents(*changed);
    CoTaskMemFree(changed);
    return ok;
}

}  // namespace orvane
