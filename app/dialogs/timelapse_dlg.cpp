#include "app/dialogs/timelapse_dlg.h"

#include <commctrl.h>

#include <string>

#include "app/ivora_dlg.h"
#include "app/messages.h"
#include "app/handlers/timelapse_time.h"
#include "resources/resource.h"

namespace orvane {

namespace {

constexpr UINT_PTR kTimerPicker = 10000;
constexpr WPARAM kNotifyStart = 0;
constexpr WPARAM kNotifyStop = 2;
constexpr int64_t kCountsPerSecond = 10'000'000;

struct FieldText {
    int id;
    int message;
};

constexpr FieldText kTexts[] = {
    {IDC_TIMELAPSE_PHOTO, kMsgTimeLapsePhoto},
    {IDC_TIMELAPSE_VIDEO, kMsgTimeLapseVideo},
    {IDC_TIMELAPSE_START_LABEL, kMsgTimeLapseStartTime},
    {IDC_TIMELAPSE_INTERVAL_LABEL, kMsgTimeLapseInterval},
    {IDC_TIMELAPSE_VIDEO_TIME_LABEL, kMsgTimeLapseVideoTime},
    {IDC_TIMELAPSE_TOTAL_LABEL, kMsgTimeLapseTotal},
    {IDC_TIMELAPSE_CAPTURED_LABEL, kMsgTimeLapseCaptured},
    {IDOK, kMsgTimeLapseStart},
    {IDCANCEL, kMsgTimeLapseStop},
};

std::u16string FieldString(HWND field) {
    const int length = GetWindowTextLengthW(field);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), length + 1)));
    return std::u16string(text.begin(), text.end());
}

}  // namespace

CMutilSegmentPhotoVideoDlg::CMutilSegmentPhotoVideoDlg() : Dialog(IDD_TIMELAPSE) {}

BOOL CMutilSegmentPhotoVideoDlg::OnInitDialog() {
    SetWindowTextW(Hwnd(), MessageText(kMsgTimeLapseTitle).c_str());
    for (const FieldText& t : kTexts) SetItemText(t.id, MessageText(t.message).c_str());
    SendMessageW(Item(IDC_TIMELAPSE_START_TIME), DTM_SETFORMATW, 0,
                 reinterpret_cast<LPARAM>(L"yyyy-MM-dd  HH:mm:ss"));
    ShowValues();  // the fields hold the values before the mode reads them back
    ApplyMode(values.mode, true);
    SetTimer(Hwnd(), kTimerPicker, SeriesPeriodMs(1000), nullptr);
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    return TRUE;
}

bool CMutilSegmentPhotoVideoDlg::OnCommand(UINT id, UINT code, HWND control) {
    static constexpr CommandEntry<CMutilSegmentPhotoVideoDlg> commands[] = {
        {IDC_TIMELAPSE_PHOTO, IDC_TIMELAPSE_PHOTO, &CMutilSegmentPhotoVideoDlg::OnRadio},
        {IDC_TIMELAPSE_VIDEO, IDC_TIMELAPSE_VIDEO, &CMutilSegmentPhotoVideoDlg::OnRadio},
    };
    if (code == BN_CLICKED && DispatchCommand<CMutilSegmentPhotoVideoDlg>(this, commands, id)) {
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

bool CMutilSegmentPhotoVideoDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                           LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_TIMER:
            if (wParam != kTimerPicker) return false;
            KeepPickerCurrent();
            return true;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != IDC_TIMELAPSE_START_TIME || header->code != DTN_DATETIMECHANGE) {
                return false;
            }
            KeepPickerCurrent();
            return true;
        }
        case WM_CLOSE:
            // Only closing the window ends the dialog; Escape is the Stop button.
            Close();
            return true;
        default:
            return false;
    }
}

void CMutilSegmentPhotoVideoDlg::OnRadio(UINT id) {
    ApplyMode(id == IDC_TIMELAPSE_VIDEO ? TimeLapseMode::kVideo : TimeLapseMode::kPhoto, false);
}

void CMutilSegmentPhotoVideoDlg::ApplyMode(TimeLapseMode mode, bool full) {
    Notify(kNotifyStop);
    if (!full && mode == values.mode) return;
    values.mode = mode;
    const bool video = mode == TimeLapseMode::kVideo;
    for (const int id :
         {IDC_TIMELAPSE_TOTAL, IDOK, IDC_TIMELAPSE_START_TIME, IDC_TIMELAPSE_INTERVAL}) {
        EnableWindow(Item(id), TRUE);
    }
    EnableWindow(Item(IDC_TIMELAPSE_VIDEO_TIME), video ? TRUE : FALSE);
    ReadValues();
    SetPickerToPresent();
    values.captured = 0;
    ShowValues();
}

bool CMutilSegmentPhotoVideoDlg::ReadValues() {
    struct Field {
        int id;
        uint32_t* value;
    };
    const Field fields[] = {{IDC_TIMELAPSE_INTERVAL, &values.interval},
                            {IDC_TIMELAPSE_VIDEO_TIME, &values.videoTime},
                            {IDC_TIMELAPSE_TOTAL, &values.total}};
    for (const Field& f : fields) {
        if (ParseUnsignedField(FieldString(Item(f.id)), *f.value)) continue;
        MessageBoxW(Hwnd(), L"Enter a positive integer.", MessageText(kMsgOrvane).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(f.id));
        SendMessageW(Item(f.id), EM_SETSEL, 0, -1);
        return false;
    }
    return true;
}

void CMutilSegmentPhotoVideoDlg::ShowValues() {
    if (!Hwnd()) return;
    SetDlgItemInt(Hwnd(), IDC_TIMELAPSE_INTERVAL, values.interval, FALSE);
    SetDlgItemInt(Hwnd(), IDC_TIMELAPSE_VIDEO_TIME, values.videoTime, FALSE);
    SetDlgItemInt(Hwnd(), IDC_TIMELAPSE_TOTAL, values.total, FALSE);
    SetDlgItemInt(Hwnd(), IDC_TIMELAPSE_CAPTURED, values.captured, FALSE);
    CheckRadioButton(
        Hwnd(), IDC_TIMELAPSE_PHOTO, IDC_TIMELAPSE_VIDEO,
        values.mode == TimeLapseMode::kVideo ? IDC_TIMELAPSE_VIDEO : IDC_TIMELAPSE_PHOTO);
}

void CMutilSegmentPhotoVideoDlg::OnOK() {
    // A value that is no number starts nothing.
    if (!ReadValues()) return;
    values.captured = 0;
    SYSTEMTIME picked{};
    HWND picker = Item(IDC_TIMELAPSE_START_TIME);
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) !=
            GDT_VALID ||
        !SystemTimeToCount(picked, startTime)) {
        startTime = SeriesNow();
    }
    Notify(kNotifyStart);
    // The focus leaves the button before it is disabled, or the keyboard would lose the dialog;
    // it goes to a field, so Enter stays Start (now disabled) rather than pressing Stop.
    SetFocus(Item(IDC_TIMELAPSE_TOTAL));
    EnableWindow(Item(IDOK), FALSE);
    ShowValues();
}

void CMutilSegmentPhotoVideoDlg::OnCancel() {
    ApplyMode(values.mode, true);
    EnableWindow(Item(IDOK), TRUE);
}

void CMutilSegmentPhotoVideoDlg::Close() {
    if (!Hwnd()) return;
    KillTimer(Hwnd(), kTimerPicker);
    EndDialog(IDCANCEL);
}

void CMutilSegmentPhotoVideoDlg::KeepPickerCurrent() {
    SYSTEMTIME picked{};
    int64_t count = 0;
    HWND picker = Item(IDC_TIMELAPSE_START_TIME);
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) !=
            GDT_VALID ||
        !SystemTimeToCount(picked, count)) {
        SetPickerToPresent();
        return;
    }
    // The picker shows whole seconds: it is behind only when its second has passed.
    if (count / kCountsPerSecond < SeriesNow() / kCountsPerSecond) SetPickerToPresent();
}

void CMutilSegmentPhotoVideoDlg::SetPickerToPresent() {
    SYSTEMTIME now{};
    if (!CountToSystemTime(SeriesNow(), now)) GetLocalTime(&now);
    now.wMilliseconds = 0;
    SendMessageW(Item(IDC_TIMELAPSE_START_TIME), DTM_SETSYSTEMTIME, GDT_VALID,
                 reinterpret_cast<LPARAM>(&now));
}

void CMutilSegmentPhotoVideoDlg::Notify(WPARAM action) {
    if (HWND owner = GetWindow(Hwnd(), GW_OWNER)) {
        PostMessageW(owner, WM_TIMELAPSE_NOTIFY, action, 0);
    }
}

}  // namespace orvane
