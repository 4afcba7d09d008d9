// The Photo command and the intake of a picture the frame callbacks announced.
#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "app/ivora_dlg.h"
#include "capture/frame_grabbers.h"
#include "capture/size_codes.h"
#include "capture/still/still_files.h"
#include "capture/still/still_rules.h"
#include "media/capture_names.h"
#include "media/media_info.h"
#include "platform/wide.h"
#include "resources/resource.h"

namespace orvane {

namespace {

// Converts the JPEG frame in "Orvane.jpg" into "Orvane.bmp".
bool JpegFrameToBmp() {
    CLSID bmp{};
    if (!ImageEncoderFor(L"*.BMP", &bmp)) return false;
    // Loaded and saved under different names, so the file GDI+ keeps open is not the target.
    Gdiplus::Bitmap frame(TempFilePath(kTempJpg).c_str());
    if (frame.GetLastStatus() != Gdiplus::Ok) return false;
    return frame.Save(TempFilePath(kTempBmp).c_str(), &bmp, nullptr) == Gdiplus::Ok;
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
            if (requests.stillPending.exchange(1) != 0) return;
            graph_.TriggerStill();
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
    if (wParam > 1 || intakeBusy_) return;
    intakeBusy_ = true;
    StorePicture(wParam != 0, lParam != 0);
    intakeBusy_ = false;
}

void CIvoraDlg::StorePicture(bool jpegFrame, bool keepJpeg) {
    const CaptureFolders folders{std::u16string(PathText(settings_.PictureFolderPath)),
                                 std::u16string(PathText(settings_.VideoFolderPath))};
    // Two photos in one 50-ms step keep distinct names instead of the second being refused.
    const std::u16string name =
        MakeFreeCaptureName(CaptureKind::Picture, folders, mediaClock_, mediaFiles_);
    if (name.empty()) return;
    std::wstring source;
    std::u16string destination = name;
    if (keepJpeg) {
        source = TempFilePath(kTempJpg);
        destination += u".JPG";
    } else {
        if (jpegFrame && !JpegFrameToBmp()) return;
        source = TempFilePath(kTempBmp);
        destination += u".BMP";
    }
    if (!CopyFileW(source.c_str(), ToWide(destination).c_str(), TRUE)) return;
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
    media_.ShowDisplayList(MediaView::Picture);
}

}  // namespace orvane
