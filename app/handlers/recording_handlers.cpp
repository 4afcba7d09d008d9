// The Record command: the clip under its capture name, the blinking indicator, the thumbnail
// of the clip's first preview frame. Its waits run on timers, so the window stays live.
#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <cwchar>
#include <memory>
#include <vector>

#include "app/ivora_dlg.h"
#include "app/messages.h"
#include "capture/frame_grabbers.h"
#include "capture/still/still_files.h"
#include "media/capture_folders.h"
#include "media/capture_names.h"
#include "media/companion_paths.h"
#include "platform/wide.h"

namespace orvane {

namespace {

constexpr UINT kStartWaitMs = 500;      // from the start to the thumbnail request
constexpr UINT kThumbPollMs = 100;      // the stop waits for the thumbnail this often ...
constexpr int kThumbPolls = 15;         // ... this many times at most
constexpr UINT kThumbCopyWaitMs = 500;  // from the rebuild to the thumbnail copy

// Redraws a thumbnail at 720 x 480 (the size of a clip the DV encoder wrote), same bit depth.
void StretchThumbnailTo720x480(const std::wstring& path) {
    std::unique_ptr<Gdiplus::Bitmap> source(Gdiplus::Bitmap::FromFile(path.c_str()));
    if (!source || source->GetLastStatus() != Gdiplus::Ok) return;
    Gdiplus::Bitmap target(720, 480, source->GetPixelFormat());
    {
        Gdiplus::Graphics graphics(&target);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
        graphics.DrawImage(source.get(), 0, 0, 720, 480);
    }
    source.reset();  // GDI+ keeps the loaded file open
    CLSID bmp{};
    if (ImageEncoderFor(L"*.BMP", &bmp)) target.Save(path.c_str(), &bmp, nullptr);
}

}  // namespace

void CIvoraDlg::OnRecord(UINT) {
    RecordCommand(true);
}

void CIvoraDlg::RecordCommand(bool byUser) {
    if (deviceCount_ <= 0) return;
    switch (recordingStep_) {
        case RecordingStep::kIdle:
            StartRecording();
            break;
        case RecordingStep::kStartWait:
            stopWhenStarted_ = true;  // pressed again within the start: stop right after it
            break;
        case RecordingStep::kRecording:
            StopRecording();
            break;
        case RecordingStep::kStopThumbWait:
        case RecordingStep::kStopCopyWait:
            // The stop in progress ends by itself; a clip the user asks for starts after it.
            if (byUser) startWhenStopped_ = true;
            break;
    }
}

void CIvoraDlg::StartRecording() {
    const std::u16string folder(PathText(settings_.VideoFolderPath));
    const CaptureFolders folders{std::u16string(PathText(settings_.PictureFolderPath)), folder};
    // A thumbnail left by an earlier clip must not pass for this one's, even if this one ends
    // before it asks for its own.
    DeleteFileW(TempFilePath(kTempThumb).c_str());
    videoPath_ = MakeFreeCaptureName(CaptureKind::Video, folders, mediaClock_, mediaFiles_);
    if (videoPath_.empty() || !FolderHoldsCaptures(CaptureKind::Video, folder)) {
        videoPath_.clear();
        ShowCaptureFailure(kMsgClipNotRecorded, folder);
        return;
    }
    if (FAILED(graph_.SetRecording(true, ToWide(videoPath_)))) {
        ShowCaptureFailure(kMsgClipNotRecorded, folder);
        return;
    }
    recording_ = true;
    ShowRecordingIndicator();
    SetTimer(Hwnd(), kTimerRecordingBlink, 700, nullptr);
    stopWhenStarted_ = false;
    NextRecordingStep(RecordingStep::kStartWait, kStartWaitMs);
}

void CIvoraDlg::ShowRecordingIndicator() {
    status_.mode = 0;
    if (!status_.Create(Hwnd())) return;
    SetWindowLongPtrW(
        status_.Hwnd(), GWL_EXSTYLE,
        GetWindowLongPtrW(status_.Hwnd(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    RECT client{};
    GetClientRect(status_.Hwnd(), &client);
    POINT corner{previewRect_.x + previewRect_.width, previewRect_.y + previewRect_.height};
    ClientToScreen(Hwnd(), &corner);
    SetWindowPos(status_.Hwnd(), HWND_TOP, corner.x - client.right, corner.y - client.bottom, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CIvoraDlg::NextRecordingStep(RecordingStep step, UINT delayMs) {
    recordingStep_ = step;
    SetTimer(Hwnd(), kTimerRecordingStep, delayMs, nullptr);
}

void CIvoraDlg::OnRecordingStep() {
    KillTimer(Hwnd(), kTimerRecordingStep);
    switch (recordingStep_) {
        case RecordingStep::kStartWait:
            Requests().thumbnail.store(1);
            recordingStep_ = RecordingStep::kRecording;
            if (stopWhenStarted_) StopRecording();
            break;
        case RecordingStep::kStopThumbWait:
            if (Requests().thumbnail.load() == 0 || ++thumbPolls_ >= kThumbPolls) {
                CloseClip();
            } else {
                NextRecordingStep(RecordingStep::kStopThumbWait, kThumbPollMs);
            }
            break;
        case RecordingStep::kStopCopyWait:
            StoreClipThumbnail();
            media_.ShowDisplayList(MediaView::Video);
            EndRecording();
            break;
        default:
            break;
    }
}

void CIvoraDlg::StopRecording() {
    thumbPolls_ = 0;
    if (Requests().thumbnail.load() == 0) {
        CloseClip();
    } else {
        NextRecordingStep(RecordingStep::kStopThumbWait, kThumbPollMs);
    }
}

void CIvoraDlg::CloseClip() {
    // An unserved thumbnail request must not be served by the next clip's first frame.
    Requests().thumbnail.store(0);
    const HRESULT stopped = graph_.SetRecording(false, idleVideoPath_);
    media_.AppendVideo(videoPath_);
    if (stopped == VFW_E_NO_CAPTURE_HARDWARE) EnterNoCameraState();
    NextRecordingStep(RecordingStep::kStopCopyWait, kThumbCopyWaitMs);
}

void CIvoraDlg::AbandonRecording() {
    if (recordingStep_ == RecordingStep::kIdle) return;
    // The clip so far is closed, kept and listed; the camera's recovery follows.
    KillTimer(Hwnd(), kTimerRecordingStep);
    if (recordingStep_ != RecordingStep::kStopCopyWait) {
        Requests().thumbnail.store(0);
        graph_.SetRecording(false, idleVideoPath_);
        media_.AppendVideo(videoPath_);
    }
    StoreClipThumbnail();
    media_.ShowDisplayList(MediaView::Video);
    EndRecording();
}

void CIvoraDlg::StoreClipThumbnail() {
    const std::wstring thumbnail =
        ToWide(VideoThumbnailPath(videoPath_, settings_.VideoThumbFolderPath));
    if (thumbnail.empty()) return;
    if (!CopyFileW(TempFilePath(kTempThumb).c_str(), thumbnail.c_str(), FALSE)) return;
    if (settings_.VideoCompression && !graph_.IsModel6710()) StretchThumbnailTo720x480(thumbnail);
}

void CIvoraDlg::EndRecording() {
    KillTimer(Hwnd(), kTimerRecordingBlink);
    KillTimer(Hwnd(), kTimerRecordingStep);
    status_.Destroy();
    recording_ = false;
    recordingStep_ = RecordingStep::kIdle;
    // F8 pressed while the clip was being closed: the next one starts now.
    if (startWhenStopped_ && deviceCount_ > 0) {
        startWhenStopped_ = false;
        StartRecording();
    }
    startWhenStopped_ = false;
}

void CIvoraDlg::BlinkRecordingIndicator() {
    HWND indicator = status_.Hwnd();
    if (!indicator || IsIconic(Hwnd())) return;
    ShowWindow(indicator, IsWindowVisible(indicator) ? SW_HIDE : SW_SHOWNOACTIVATE);
}

}  // namespace orvane
