#include "capture/frame_grabbers.h"

#include <cstdlib>
#include <ctime>
#include <new>

#include "capture/shared_capture_state.h"
#include "capture/size_codes.h"
#include "capture/still/still_files.h"
#include "capture/still/still_rules.h"
#include "media/frame_decode.h"

namespace orvane {

namespace {

constexpr DWORD kMjpg = MAKEFOURCC('M', 'J', 'P', 'G');
constexpr DWORD kYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');

int64_t SecondsSince1970() {
    return static_cast<int64_t>(std::time(nullptr));
}

bool IsWholeJpeg(const uint8_t* data, size_t length) {
    return length >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}

const VIDEOINFOHEADER* StillVideoInfo(const AM_MEDIA_TYPE& type) {
    if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo ||
        type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat) {
        return nullptr;
    }
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

// Converts a top-down YUY2 frame into packed 24-bit rows; false when the frame is short or the
// buffer too small.
bool ConvertYuy2(const uint8_t* data, size_t length, int width, int height, uint8_t* out,
                 size_t capacity) {
    if (!out || width <= 0 || height <= 0 || width % 2 != 0) return false;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (length / 2 < pixels || capacity / 3 < pixels) return false;
    Yuy2ToBgr(data, pixels / 2, out);
    return true;
}

}  // namespace

StillRequests& Requests() {
    static StillRequests requests;
    return requests;
}

// ---- FrameGrabberCallback

FrameGrabberCallback::FrameGrabberCallback()
    : converted_(new (std::nothrow) uint8_t[kFrameBufferBytes]),
      resampled_(new (std::nothrow) uint8_t[kFrameBufferBytes]) {}

STDMETHODIMP FrameGrabberCallback::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ISampleGrabberCB) {
        *out = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOTIMPL;
}

// ---- Preview: photos from the live picture and the thumbnail of a new clip

STDMETHODIMP PreviewFrameCallback::SampleCB(double, IMediaSample* sample) {
    CountFrame();
    StillRequests& r = Requests();
    if (!sample || r.saverState.load() != kSaverIdle) return S_OK;
    uint32_t state = kSaverIdle;
    if (r.thumbnail.exchange(0) != 0) {
        state = kSaverThumbnail;
    } else if (r.previewPhoto.exchange(0) != 0) {
        state = kSaverPhoto;
    } else {
        return S_OK;
    }
    r.saverState.store(state);
    BYTE* data = nullptr;
    const long length = sample->GetActualDataLength();
    bool retry = false;
    HRESULT hr = S_OK;
    if (FAILED(sample->GetPointer(&data)) || !data || length <= 0) {
        retry = true;
    } else {
        hr = SaveFrame(state, data, static_cast<size_t>(length), &retry);
    }
    // A frame that could not be used leaves the request for the next one.
    if (retry) (state == kSaverThumbnail ? r.thumbnail : r.previewPhoto).store(1);
    r.saverState.store(kSaverIdle);
    return hr;
}

HRESULT PreviewFrameCallback::SaveFrame(uint32_t state, const uint8_t* data, size_t length,
                                        bool* retry) {
    const BITMAPINFOHEADER header = CaptureState().CaptureHeader();
    const bool mjpg = header.biCompression == kMjpg;
    const bool photo = state == kSaverPhoto;
    // A photo gets a file of its own; the clip's thumbnail keeps its one name.
    const std::wstring path = photo ? NewCaptureTempPath(mjpg) : TempFilePath(kTempThumb);
    auto handOver = [&](bool jpegFrame) {
        if (photo) HandOverCapture({path, jpegFrame, false, false, {}});
    };

    if (mjpg) {
        if (!IsWholeJpeg(data, length)) {
            *retry = true;
            return S_OK;
        }
        NewTempFile file(path);
        if (!file.Opened()) return E_FAIL;
        if (file.Write(data, length)) {
            file.Close();
            handOver(true);
        }
        return S_OK;
    }
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    const uint32_t imageSize = PackedImageSize(width, height);
    const uint8_t* rows = nullptr;
    const FrameKind kind =
        PreviewFrameKind(header.biCompression, header.biBitCount, width, height, kFrameBufferBytes);
    if (kind == FrameKind::kUnsupported) {
        // No picture can be made of this format: said once, not asked for again and again.
        if (photo) HandOverCapture({{}, false, false, true, {}});
        return S_OK;
    }
    if (kind == FrameKind::kRgb24) {
        if (imageSize == 0 || length < imageSize) {
            *retry = true;
            return S_OK;
        }
        rows = data;
    } else {
        if (!ConvertYuy2(data, length, width, height, converted_.get(), kFrameBufferBytes)) {
            *retry = true;
            return S_OK;
        }
        rows = converted_.get();
    }
    NewTempFile file(path);
    if (!file.Opened()) return E_FAIL;
    const BmpHeaders headers = TopDownBmpHeaders(width, height, imageSize);
    if (file.Write(headers.bytes.data(), headers.bytes.size()) && file.Write(rows, imageSize)) {
        file.Close();
        handOver(false);
    }
    return S_OK;
}

// ---- Still: stills at preview size and the raw photo sizes

StillFrameCallback::StillFrameCallback() : clock_(&SecondsSince1970) {
    raw_.Init();
    raw_.SetLastHalfTime(clock_());
    pars_.SetSource(&camera_);
}

STDMETHODIMP StillFrameCallback::BufferCB(double, BYTE* buffer, long length) {
    CountFrame();
    StillRequests& r = Requests();
    AM_MEDIA_TYPE type{};
    if (FAILED(CaptureState().CopyStillType(&type)) || !StillVideoInfo(type)) {
        FreeMediaTypeContents(type);
        r.stillPending.store(0);
        return kSampleNotUsed;
    }
    const uint32_t sizeCode = CaptureState().SizeCode();
    const StillPath path = StillPathOf(sizeCode);
    const uint8_t* data = buffer;
    const size_t bytes = (buffer && length > 0) ? static_cast<size_t>(length) : 0;
    HRESULT hr = kSampleNotUsed;
    switch (path.kind) {
        case StillPath::Kind::kPreviewRequest:
            r.previewPhoto.store(1);
            hr = S_OK;
            break;
        case StillPath::Kind::kPreviewEveryOther:
            previewHalf_ = !previewHalf_;
            if (previewHalf_) r.previewPhoto.store(1);
            hr = S_OK;
            break;
        case StillPath::Kind::kRawSingle:
            hr = RawSingle(data, bytes, path.targetWidth, path.targetHeight);
            break;
        case StillPath::Kind::kRawHalves:
            hr = RawHalves(data, bytes, path.targetWidth, path.targetHeight);
            break;
        case StillPath::Kind::kPreviewSize:
            hr = PreviewSize(type, data, bytes, sizeCode);
            break;
        case StillPath::Kind::kUnused:
            break;
    }
    FreeMediaTypeContents(type);
    return hr;
}

bool StillFrameCallback::ConvertAndSave(int width, int height, size_t rawBytes, int targetWidth,
                                        int targetHeight, const std::wstring& path,
                                        HandedOverThumbnail* thumbnail) {
    camera_.SetFilter(CaptureState().Camera().Get());
    const std::unique_ptr<uint8_t[]> picture =
        pars_.ConvertRaw(width, height, raw_.Data(), rawBytes);
    if (!picture || !ScaleAndSave(picture.get(), width, height, targetWidth, targetHeight, path))
        return false;
    // The strip would otherwise decode the whole file on the window thread.
    *thumbnail = MakeHandedOverThumbnail(picture.get(), width, height);
    return true;
}

HRESULT StillFrameCallback::RawSingle(const uint8_t* data, size_t length, int targetWidth,
                                      int targetHeight) {
    StillRequests& r = Requests();
    const size_t stored = raw_.Ready() ? raw_.StoreSingle(data, length) : 0;
    const std::wstring path = NewCaptureTempPath(false);
    HandedOverThumbnail thumbnail;
    if (stored > 0 && ConvertAndSave(kRawSmallWidth, kRawSmallHeight, stored, targetWidth,
                                     targetHeight, path, &thumbnail)) {
        HandOverCapture({path, false, false, false, std::move(thumbnail)});
    }
    r.stillPending.store(0);
    return S_OK;
}

HRESULT StillFrameCallback::RawHalves(const uint8_t* data, size_t length, int targetWidth,
                                      int targetHeight) {
    StillRequests& r = Requests();
    if (!raw_.Ready()) {
        r.stillPending.store(0);
        return S_OK;
    }
    switch (raw_.StoreHalf(data, length, clock_())) {
        case RawStillBuffer::Half::kIgnored:
            r.stillPending.store(0);
            break;
        case RawStillBuffer::Half::kFirstStored:
            break;  // the still stays pending until its second half
        case RawStillBuffer::Half::kComplete: {
            const std::wstring path = NewCaptureTempPath(true);
            HandedOverThumbnail thumbnail;
            if (ConvertAndSave(kRawLargeWidth, kRawLargeHeight, raw_.ValidBytes(), targetWidth,
                               targetHeight, path, &thumbnail)) {
                HandOverCapture({path, false, true, false, std::move(thumbnail)});
            }
            r.stillPending.store(0);
            break;
        }
    }
    return S_OK;
}

HRESULT StillFrameCallback::PreviewSize(const AM_MEDIA_TYPE& type, const uint8_t* data,
                                        size_t length, uint32_t sizeCode) {
    const int width = static_cast<int>(SizeWidth(sizeCode));
    const int height = static_cast<int>(SizeHeight(sizeCode));
    if (length < kRawMinSampleBytes || width < 160 || height < 120) return kSampleNotUsed;
    const BITMAPINFOHEADER& format = StillVideoInfo(type)->bmiHeader;
    // The header in the file is the format's own with whatever follows it in the block.
    const size_t headerBytes = type.cbFormat - (sizeof(VIDEOINFOHEADER) - sizeof(BITMAPINFOHEADER));
    const bool mjpg = format.biCompression == kMjpg;
    const std::wstring path = NewCaptureTempPath(mjpg);

    if (mjpg) {
        NewTempFile file(path);
        if (!file.Opened()) return E_FAIL;
        if (file.Write(data, length)) {
            file.Close();
            HandOverCapture({path, true, false, false, {}});
        }
        return S_OK;
    }
    const int formatWidth = format.biWidth;
    const int formatHeight = std::abs(format.biHeight);
    const uint8_t* rows = nullptr;
    uint32_t imageSize = 0;
    const FrameKind kind = PreviewFrameKind(format.biCompression, format.biBitCount, formatWidth,
                                            formatHeight, kFrameBufferBytes);
    if (kind == FrameKind::kUnsupported || PackedImageSize(width, height) > kFrameBufferBytes) {
        HandOverCapture({{}, false, false, true, {}});
        return S_OK;
    }
    if (kind == FrameKind::kRgb24) {
        imageSize = PackedImageSize(formatWidth, formatHeight);
        if (imageSize == 0 || length < imageSize) return kSampleNotUsed;
        rows = data;
    } else {
        imageSize = PackedImageSize(width, height);
        if (!ConvertYuy2(data, length, formatWidth, formatHeight, converted_.get(),
                         kFrameBufferBytes) ||
            !ResampleNearest(converted_.get(), kFrameBufferBytes, formatWidth, formatHeight,
                             resampled_.get(), kFrameBufferBytes, width, height)) {
            return kSampleNotUsed;
        }
        rows = resampled_.get();
    }
    NewTempFile file(path);
    if (!file.Opened()) return E_FAIL;
    BmpHeaders headers = TopDownBmpHeaders(width, height, imageSize, headerBytes);
    // Bytes after the header in the format block go into the file as they are.
    const uint8_t* extra = type.pbFormat + sizeof(VIDEOINFOHEADER);
    for (size_t i = BmpInfoHeader::kSize; i < headerBytes; ++i)
        headers.bytes[BmpFileHeader::kSize + i] = extra[i - BmpInfoHeader::kSize];
    if (file.Write(headers.bytes.data(), headers.bytes.size()) && file.Write(rows, imageSize)) {
        file.Close();
        HandOverCapture({path, false, false, false, {}});
    }
    return S_OK;
}

PreviewFrameCallback& PreviewCallback() {
    static PreviewFrameCallback callback;
    return callback;
}

StillFrameCallback& StillCallback() {
    static StillFrameCallback callback;
    return callback;
}

}  // namespace orvane
