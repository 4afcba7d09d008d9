// Time-lapse series: the launcher, the start and stop requests of the dialog and the
// once-a-second tick that takes the photos or records the clips.
#include <windows.h>
#include <commctrl.h>

#include "app/dialogs/info_dlg.h"
#include "app/ivora_dlg.h"
#include "app/messages.h"
#include "app/handlers/timelapse_time.h"
#include "capture/timelapse/timelapse_schedule.h"
#include "resources/resource.h"

namespace orvane {

namespace {

constexpr WPARAM kNotifyStart = 0;
constexpr WPARAM kNotifyStop = 2;

}  // namespace

void CIvoraDlg::OnTimeLapse(UINT) {
    if (recording_) {
        CInfoDlg box;
        box.SetMessages(kMsgInformation, kMsgStopRecordingFirst, kMsgOK);
        box.DoModal(Hwnd());
        return;
    }
    // The start-time picker's window class is registered only on request.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    // Our modal loop dispatches every message, so the series' timer runs while it is open.
    timeLapse_.DoModal(Hwnd());
    StopTimeLapse();
}

LRESULT CIvoraDlg::OnTimeLapseNotify(WPARAM action, LPARAM) {
    if (action == kNotifyStart) StartTimeLapse();
    if (action == kNotifyStop) StopTimeLapse();
    return 0;
}

void CIvoraDlg::StartTimeLapse() {
    if (timeLapseRunning_) return;
    timeLapseLast_ = timeLapse_.startTime;
    timeLapseRunning_ = true;
    SetTimer(Hwnd(), kTimerTimeLapse, SeriesPeriodMs(1000), nullptr);
    if (timeLapse_.values.mode == TimeLapseMode::kPhoto) OnTimeLapseTick();
}

void CIvoraDlg::StopTimeLapse() {
    KillTimer(Hwnd(), kTimerTimeLapse);
    // A clip in progress is ended and kept, but not counted.
    if (timeLapseRunning_ && timeLapse_.values.mode == TimeLapseMode::kVideo && recording_) {
        RecordCommand(false);
    }
    timeLapseRunning_ = false;
}

void CIvoraDlg::OnTimeLapseTick() {
    if (!timeLapseRunning_) return;
    RecorderState recorder = RecorderState::kIdle;
    if (recording_) {
        const bool stopping = recordingStep_ == RecordingStep::kStopThumbWait ||
                              recordingStep_ == RecordingStep::kStopCopyWait;
        recorder = stopping ? RecorderState::kChanging : RecorderState::kRecording;
    }
    switch (TimeLapseTick(timeLapse_.values, timeLapseLast_, SeriesNow(), recorder)) {
        case TickAction::kWait:
            break;
        case TickAction::kPhoto:
            OnPhoto(ID_CAPTURE_PHOTO);
            timeLapse_.ShowValues();
            break;
        case TickAction::kStartClip:
            RecordCommand(false);
            break;
        case TickAction::kEndClip:
            RecordCommand(false);
            timeLapse_.ShowValues();
            break;
        case TickAction::kFinish:
            StopTimeLapse();
            timeLapse_.Close();
            break;
    }
}

}  // namespace orvane
