// The Photo command and the intake of a picture the frame callbacks announced.
#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "app/dialogs/info_dlg.h"
#include "app/ivora_dlg.h"
#include "app/messages.h"
#include "capture/frame_grabbers.h"
#include "capture/size_codes.h"
#include "capture/still/still_files.h"
#include "capture/still/still_rules.h"
#include "media/capture_folders.h"
#include "media/capture_names.h"
#include "media/media_info.h"
#include "platform/wide.h"
#include "resources/resource.h"

namespace orvane {

namespace {

// Converts a JPEG frame into a BMP file.
bool JpegFrameToBmp(const std::wstring& jpeg, const std::wstring& bmp) {
    CLSID encoder{};
    if (!ImageEncoderFor(L"*.BMP", &encoder)) return false;
    // Loaded and saved under different names, so the file GDI+ keeps open is not the target.
    Gdiplus::Bitmap frame(jpeg.c_str());
    if (frame.GetLastStatus() != Gdiplus::Ok) return false;
    return frame.Save(bmp.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

uint64_t Ticks() {
    return GetTickCount64();
}

}  // namespace

void CIvoraDlg::OnPhoto(UINT) {
    if (deviceCount_ <= 0) return;
    StillRequests& requests = Requests();
    switch (PhotoCommandAction(settings_.ResolutionDisplay)) {
        case PhotoAction::kPreviewFrame:
            requests.previewPhoto.store(1);
            return;
        case PhotoAction::kGuardedStill:
            // One still at a time, but a still that never came does not block the next.
            if (requests.stillPending.load() != 0 &&
                !StillRequestExpired(requests.stillPendingSince.load(), Ticks())) {
                return;
            }
            requests.stillPendingSince.store(Ticks());
            requests.stillPending.store(1);
            if (FAILED(graph_.TriggerStill())) requests.stillPending.store(0);
            return;
        case PhotoAction::kStill:
            graph_.TriggerStill();
            return;
    }
}

void CIvoraDlg::OnCapturePicture(WPARAM wParam, LPARAM lParam) {
    if (wParam == 2) {
        OnPhoto(ID_CAPTURE_PHOTO);
        return;
    }
    // Another store (its message box) may be under way: what it has not taken stays queued
    // and is taken by the loop below.
    if (wParam > 1) return;
    const bool own = ReceiveOwnAnnouncement();
    if (intakeBusy_) return;
    intakeBusy_ = true;
    bool any = false;
    for (std::vector<HandedOverPicture> pictures = TakeHandedOverCaptures(); !pictures.empty();
         pictures = TakeHandedOverCaptures()) {
        any = true;
        for (const HandedOverPicture& picture : pictures) StorePicture(picture);
    }
    // A picture another program wrote under the fixed names; an own announcement whose
    // picture an earlier loop took leaves nothing to do (a stale file there is not a photo).
    if (!any && !own) {
        const bool jpegFrame = wParam != 0, keepJpeg = lParam != 0;
        StorePicture({TempFilePath(keepJpeg || jpegFrame ? kTempJpg : kTempBmp),
                      jpegFrame,
                      keepJpeg,
                      false,
                      {}},
                     false);
    }
    intakeBusy_ = false;
}

void CIvoraDlg::PrimeStripThumbnail(const std::u16string& stored,
                                    const HandedOverThumbnail& thumbnail) {
    if (thumbnail.Empty() || strip_.CellCount() == 0) return;
    const PixelView pixels{thumbnail.bgr.get(), thumbnail.width, thumbnail.height,
                           static_cast<ptrdiff_t>(thumbnail.width) * 3, 3};
    // Without the cache the strip decodes the picture itself, as for any other.
    strip_.Cell(1).WriteThumbnailCache(stored, pixels);
}

void CIvoraDlg::ShowCaptureFailure(int message, const std::u16string& folder) {
    CInfoDlg box;
    box.SetMessages(kMsgError, message, kMsgOK);
    box.text += L"\n";
    box.text += ToWide(folder);
    box.DoModal(Hwnd());
}

void CIvoraDlg::StorePicture(const HandedOverPicture& picture, bool ownsFile) {
    if (picture.unsupported) {
        CInfoDlg box;
        box.SetMessages(kMsgError, kMsgPhotoFormatUnsupported, kMsgOK);
        box.DoModal(Hwnd());
        return;
    }
    const std::u16string folder(PathText(settings_.PictureFolderPath));
    const CaptureFolders folders{folder, std::u16string(PathText(settings_.VideoFolderPath))};
    // The handed-over file goes, stored or not: a failure is said, never left silent.
    struct Cleanup {
        std::vector<std::wstring> files;
        ~Cleanup() {
            for (const std::wstring& f : files) DeleteFileW(f.c_str());
        }
    } cleanup;
    if (ownsFile) cleanup.files.push_back(picture.path);
    // Two photos in one 50-ms step keep distinct names instead of the second being refused.
    const std::u16string name =
        MakeFreeCaptureName(CaptureKind::Picture, folders, mediaClock_, mediaFiles_);
    if (name.empty() || !FolderHoldsCaptures(CaptureKind::Picture, folder)) {
        ShowCaptureFailure(kMsgPhotoNotStored, folder);
        return;
    }
    std::wstring source = picture.path;
    std::u16string destination = name;
    if (picture.keepJpeg) {
        destination += u".JPG";
    } else {
        if (picture.jpegFrame) {
            source = NewCaptureTempPath(false);
            cleanup.files.push_back(source);
            if (!JpegFrameToBmp(picture.path, source)) {
                ShowCaptureFailure(kMsgPhotoNotStored, folder);
                return;
            }
        }
        destination += u".BMP";
    }
    if (!CopyFileW(source.c_str(), ToWide(destination).c_str(), TRUE)) {
        ShowCaptureFailure(kMsgPhotoNotStored, folder);
        return;
    }
    media_.AppendPicture(destination);

    MediaInfoRecord record;
    SetRecordText(record.mediaPath, destination);
    record.captureTime = mediaClock_.LocalNow();
    record.magnification = settings_.InputMaginification;
    record.adjustedMagnification = 0.0;
    record.pictureSize = PhotoSizeOf(settings_.ResolutionDisplay);
    record.stillSize = graph_.StillSize();
    record.deviceCode = graph_.DeviceCodeAt(graph_.CurrentDevice());
    WriteMediaInfo(record, mediaFiles_);
    PrimeStripThumbnail(destination, picture.thumbnail);
    media_.ShowDisplayList(MediaView::Picture);
}

}  // namespace orvane
