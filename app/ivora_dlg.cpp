#include "app/ivora_dlg.h"

#include <commctrl.h>

#include <cstdio>

#include "app/dialogs/info_dlg.h"
#include "app/dialogs/language_dlg.h"
#include "app/dialogs/small_dialogs.h"
#include "capture/size_codes.h"
#include "app/rules/editor_mode_rules.h"
#include "app/rules/language.h"
#include "app/messages.h"
#include "app/settings_win.h"
#include "platform/accelerators.h"
#include "platform/out_of_memory.h"
#include "platform/wide.h"
#include "resources/lang/menu_ids.h"
#include "resources/resource.h"
#include "widgets/button_clicks.h"

namespace orvane {

namespace {

constexpr uint32_t kStartupLayoutCode = 0x028001E0;
constexpr wchar_t kNoMagnification[] = L"------------------------------";

}  // namespace

// The dispatch tables name private handlers, so they are built inside the class's scope.
bool CIvoraDlg::OnCommand(UINT id, UINT code, HWND control) {
    // A button's command is its click; its other notifications are not commands.
    if (IsButtonNotificationOtherThanClick(control, code)) return true;
    // Under the editor the strip's selection is out of reach.
    if (editor_ && ActsOnStripSelection(id)) return true;
    static constexpr CommandEntry<CIvoraDlg> commands[] = {
        {ID_FILE_EXIT, ID_FILE_EXIT, &CIvoraDlg::OnExitCommand},
        {ID_SETTING_SELECT_LANGUAGE, ID_SETTING_SELECT_LANGUAGE, &CIvoraDlg::OnSelectLanguage},
        {ID_HELP_ABOUT_BOX, ID_HELP_ABOUT_BOX, &CIvoraDlg::OnAbout},
        {ID_SETTING_IMAGE_SETTINGS, ID_SETTING_IMAGE_SETTINGS, &CIvoraDlg::OnImageSettings},
        {IDC_BTN_SETTING, IDC_BTN_SETTING, &CIvoraDlg::OnImageSettings},
        {ID_RESOLUTION_FIRST, ID_RESOLUTION_LAST, &CIvoraDlg::OnResolution},
        {ID_SETTING_VIDEO_COMPRESSION, ID_SETTING_VIDEO_COMPRESSION,
         &CIvoraDlg::OnVideoCompression},
        {ID_CAPTURE_PHOTO, ID_CAPTURE_PHOTO, &CIvoraDlg::OnPhoto},
        {IDC_BTN_SNAP, IDC_BTN_SNAP, &CIvoraDlg::OnPhoto},
        {ID_CAPTURE_VIDEO, ID_CAPTURE_VIDEO, &CIvoraDlg::OnRecord},
        {ID_CAPTURE_TIMELAPSE, ID_CAPTURE_TIMELAPSE, &CIvoraDlg::OnTimeLapse},
        {IDC_BTN_CLOCK, IDC_BTN_CLOCK, &CIvoraDlg::OnTimeLapse},
        {IDC_BTN_CAPTURE, IDC_BTN_CAPTURE, &CIvoraDlg::OnRecord},
        {ID_SETTING_CROSSING_CURSOR, ID_SETTING_CROSSING_CURSOR, &CIvoraDlg::OnToggleCross},
        {IDC_BTN_CROSS, IDC_BTN_CROSS, &CIvoraDlg::OnToggleCross},
        {ID_SETTING_DATE_TIME, ID_SETTING_DATE_TIME, &CIvoraDlg::OnToggleDateTime},
        {IDC_BTN_TIME, IDC_BTN_TIME, &CIvoraDlg::OnToggleDateTime},
        {ID_SETTING_SCALE_BAR, ID_SETTING_SCALE_BAR, &CIvoraDlg::OnToggleScaleBar},
        {IDC_BTN_MENU_FILE, IDC_BTN_MENU_HELP, &CIvoraDlg::OnMenuButton},
        {ID_FILE_OPEN, ID_FILE_OPEN, &CIvoraDlg::OnOpenSelected},
        {IDC_BTN_MEASURE, IDC_BTN_MEASURE, &CIvoraDlg::OnMeasureOrPlay},
        {ID_FILE_DELETE, ID_FILE_DELETE, &CIvoraDlg::OnDeleteSelected},
        {IDC_BTN_DEL, IDC_BTN_DEL, &CIvoraDlg::OnDeleteSelected},
        {IDC_BTN_DEL_ALL, IDC_BTN_DEL_ALL, &CIvoraDlg::OnDeleteAll},
        {ID_FILE_COPY_IMAGE, ID_FILE_COPY_IMAGE, &CIvoraDlg::OnCopyImage},
        {ID_FILE_COPY_FILE, ID_FILE_COPY_FILE, &CIvoraDlg::OnCopyFile},
        {ID_FILE_STACK_FOCUS, ID_FILE_STACK_FOCUS, &CIvoraDlg::OnStackFocus},
        {ID_HELP_MANUAL, ID_HELP_MANUAL, &CIvoraDlg::OnManual},
        {ID_HELP_MANUAL_KEY, ID_HELP_MANUAL_KEY, &CIvoraDlg::OnManual},
        {ID_HELP_UPDATE, ID_HELP_UPDATE, &CIvoraDlg::OnHomePage},
        {IDC_MAGNIFICATION_EDIT, IDC_MAGNIFICATION_EDIT, &CIvoraDlg::OnMagnificationField},
        {ID_FILE_SELECT_FOLDER, ID_FILE_SELECT_FOLDER, &CIvoraDlg::OnSelectSavingFolders},
        {IDC_SELECT_FOLDER_COMMAND, IDC_SELECT_FOLDER_COMMAND, &CIvoraDlg::OnSelectSavingFolders},
        {ID_FILE_SAVE_AS_DISPLAYED, ID_FILE_SAVE_AS_DISPLAYED, &CIvoraDlg::OnStampSettings},
        {ID_FILE_SAVE_AS, ID_FILE_SAVE_AS, &CIvoraDlg::OnSaveAs},
        {IDC_BTN_SAVE, IDC_BTN_SAVE, &CIvoraDlg::OnSaveAs},
    };
    return DispatchCommand<CIvoraDlg>(this, commands, id);
}

bool CIvoraDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr MessageEntry<CIvoraDlg> messages[] = {
        {WM_TIMER, &CIvoraDlg::OnTimer},
        {WM_PAINT, &CIvoraDlg::OnPaint},
        {WM_ERASEBKGND, &CIvoraDlg::OnEraseBackground},
        {WM_QUERYDRAGICON, &CIvoraDlg::OnQueryDragIcon},
        {WM_DRAWITEM, &CIvoraDlg::OnDrawItem},
        {WM_MEASUREITEM, &CIvoraDlg::OnMeasureItem},
        {WM_EDITOR_CLOSED, &CIvoraDlg::OnEditorClosed},
        {WM_GRAPH_EVENT, &CIvoraDlg::OnGraphEvent},
        {WM_TIMELAPSE_NOTIFY, &CIvoraDlg::OnTimeLapseNotify},
        {WM_LBUTTONDOWN, &CIvoraDlg::OnLeftButtonDown},
        {WM_LBUTTONUP, &CIvoraDlg::OnLeftButtonUp},
        {WM_THUMB_CLICK, &CIvoraDlg::OnThumbClick},
        {WM_THUMB_HOVER, &CIvoraDlg::OnThumbHover},
        {WM_VSCROLL, &CIvoraDlg::OnVerticalScroll},
        {WM_MOVE, &CIvoraDlg::OnMove},
    };
    // The registered messages arrive here through whichever loop runs (a modal box's too).
    if (capturePictureMessage_ != 0 && message == capturePictureMessage_) {
        OnCapturePicture(wParam, lParam);
        result = 0;
        return true;
    }
    if (message == OutOfMemoryMessage() && message != 0) {
        MessageBoxW(Hwnd(), MessageText(kMsgNotEnoughMemory).c_str(),
                    MessageText(kMsgWarning).c_str(), MB_OK | MB_ICONEXCLAMATION);
        result = 0;
        return true;
    }
    if (setMagnificationMessage_ != 0 && message == setMagnificationMessage_) {
        RegistrySettingsKey key;
        if (key.Opened()) ReadMagnification(key, settings_.InputMaginification);
        ShowMagnification();
        result = 0;
        return true;
    }
    return DispatchMessageTo<CIvoraDlg>(this, messages, message, wParam, lParam, result);
}

CIvoraDlg::CIvoraDlg() : Dialog(IDD_MAIN) {
    icon_ = LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_ORVANE));
    ExchangeSettings(true);
    if (startFailed_) return;
    noCameraPicture_.Load(Instance(), 130);
    cellNormal_.Load(Instance(), 287);
    cellSelected_.Load(Instance(), 288);
    videoBadge_.Load(Instance(), 318);
    settings_.bDisplayRealTimeMagnification = 1;
    settings_.bSetMagnification = 0;
    graph_.SetVideoCompression(settings_.VideoCompression != 0);
}

CIvoraDlg::~CIvoraDlg() {
    notFoundBox_.Destroy();
}

void CIvoraDlg::ExchangeSettings(bool load) {
    RegistrySettingsKey key;
    if (load) {
        ShellFolders folders;
        const LoadResult result = LoadSettings(key.Opened() ? &key : nullptr, folders, settings_);
        SetCurrentStringBase(StringBase(settings_.Language));
        if (!result.ok) {
            // Nothing further was loaded, so nothing is written back at exit either.
            startFailed_ = true;
            CInfoDlg box;
            box.SetMessages(kMsgError, result.failedMessage, kMsgOK);
            box.text += L"\n";
            box.text += ToWide(result.failedPath);
            box.DoModal(nullptr);
            return;
        }
        // Without the key at start nothing is written back at exit either: the exit must not
        // create it with the defaults.
        settingsLoaded_ = key.Opened();
        return;
    }
    if (settingsLoaded_ && key.Opened()) SaveSettings(settings_, key);
}

BOOL CIvoraDlg::OnInitDialog() {
    if (icon_) {
        SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    settings_.CurrentUI = 0;
    menuBrush_.Reset(CreateSolidBrush(RGB(255, 0, 0)));
    PrepareStripCells();

    BuildLayout(kStartupLayoutCode);
    SetThreadLocale(LOCALE_SYSTEM_DEFAULT);

    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    idleVideoPath_ =
        (length > 0 && length < MAX_PATH) ? std::wstring(temp, length) : std::wstring();
    if (!idleVideoPath_.empty() && idleVideoPath_.back() != L'\\') idleVideoPath_ += L'\\';
    idleVideoPath_ += L"tmp.avi";

    notFoundBox_.Create(Hwnd());
    notFoundBox_.Arm();

    const RECT preview = PreviewRect();
    graph_.SetParameters(Hwnd(), preview, settings_.ResolutionDisplay, idleVideoPath_);
    SetTimer(Hwnd(), kTimerDevicePoll, 1000, nullptr);

    openMenuButton_ = 0;
    settings_.CurrentUI = 0;

    accelerators_ = LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    editorAccelerators_ = AcceleratorsWithout(accelerators_, ActsOnStripSelection);
    capturePictureMessage_ = RegisterWindowMessageW(L"OrvaneCapturePicture");
    setMagnificationMessage_ = RegisterWindowMessageW(L"OrvaneSetMagnificaton");

    SetScrollRange(Item(IDC_STRIP_SCROLL), SB_CTL, 0, kScrollRange, TRUE);
    StartMediaLists();
    ShowMagnification();
    CreateTooltips();
    UpdateLabelAndTips();
    CreateOverlays();

    SetTimer(Hwnd(), kTimerLabelRepaint, 500, nullptr);
    return TRUE;
}

void CIvoraDlg::BuildLayout(uint32_t resolutionCode) {
    settings_.CurrentReselution = resolutionCode >> 28;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(Hwnd(), nullptr, work.left, work.top, work.right - work.left,
                 work.bottom - work.top, SWP_NOZORDER);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    layout_ = BuildLayoutTable(client.right, client.bottom);
    const int visibleCells = VisibleCells(client.bottom);
    for (const LayoutEntry& e : layout_) {
        if (e.kind == LayoutKind::Preview) {
            previewRect_ = {e.x, e.y, e.width, e.height};
            graph_.PlaceVideoWindow(PreviewRect());
        }
        if (e.kind == LayoutKind::Cell) PlaceStripCell(e, visibleCells);
        if (e.kind == LayoutKind::None || e.kind == LayoutKind::Preview ||
            e.kind == LayoutKind::Cell) {
            continue;
        }
        if (HWND control = Item(e.id)) MoveWindow(control, e.x, e.y, e.width, e.height, FALSE);
    }
    logoRect_ = LogoRect(previewRect_);
    LoadButtonPictures();
    LoadMenus();
    ReplaceCross();
    ShowWindow(Hwnd(), SW_SHOW);
    CenterOn(nullptr);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CIvoraDlg::StartMediaLists() {
    media_.SetFolders({std::u16string(PathText(settings_.PictureFolderPath)),
                       std::u16string(PathText(settings_.VideoFolderPath)),
                       settings_.VideoThumbFolderPath});
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int cells = VisibleCells(client.bottom);
    media_.SetLayout(cells, cells);
    media_.RebuildMediaLists();
    media_.ShowDisplayList(MediaView::Picture);
}

void CIvoraDlg::ShowMagnification() {
    cellShared_.magnification = settings_.InputMaginification;
    FollowScaleBar();
    if (settings_.InputMaginification > 0) {
        wchar_t text[64];
        swprintf(text, 64, L"%.2f", settings_.InputMaginification);
        SetItemText(IDC_MAGNIFICATION_EDIT, text);
    } else {
        SetItemText(IDC_MAGNIFICATION_EDIT, kNoMagnification);
    }
}

bool CIvoraDlg::PreTranslateMessage(MSG& msg) {
    // The not-found notice is modeless: its keys are its own, not the main window's.
    if (notFoundBox_.TranslateOwnKeys(msg)) return true;
    // While the editor is open no key reaches the strip's selection under it.
    HACCEL keys = editor_ ? editorAccelerators_.Get() : accelerators_;
    if (keys && TranslateAcceleratorW(Hwnd(), keys, &msg)) return true;
    if (editor_) {
        // It decides where the focus goes.
        if (editor_->PreTranslate(msg)) return true;
        // Keys typed into the editor are its own: the main window's dialog keys (Esc ending
        // the program) do not apply there.
        if (editor_->OwnsKeyMessage(msg)) return false;
    }
    if (msg.message == WM_MOUSEMOVE && !editor_ && msg.hwnd != Item(IDC_MAGNIFICATION_EDIT))
        SetFocus(msg.hwnd);
    if (msg.message == WM_COMMAND) openMenuButton_ = 0;
    return Dialog::PreTranslateMessage(msg);
}

void CIvoraDlg::DevicePollTick() {
    deviceCount_ = graph_.EnumerateDevices(deviceNames_);
    if (deviceCount_ < 0) deviceCount_ = 0;
    if (deviceCount_ >= 1) {
        notFoundBox_.Hide();
        notFoundBox_.Arm();
        KillTimer(Hwnd(), kTimerDevicePoll);
        int result = -1;
        for (int i = 0; i < deviceCount_; ++i) {
            graph_.SelectDevice(i);
            result = BuildGraphForDevice(true);
            if (result > 0) break;
        }
        settings_.ResolutionDisplay = static_cast<uint32_t>(result);
        if (result < 0) {
            notFoundBox_.ShowCentered(Hwnd());
            SetTimer(Hwnd(), kTimerDevicePoll, 1000, nullptr);
        }
        ReplaceCross();
        return;
    }
    if (notFoundBox_.Armed()) notFoundBox_.ShowCentered(Hwnd());
}

int CIvoraDlg::BuildGraphForDevice(bool newDevice) {
    return graph_.BuildGraph(graph_.CurrentDevice(), newDevice);
}

void CIvoraDlg::SetEditorMode(const wchar_t* path) {
    editorMode_ = path != nullptr;
    if (!editorMode_) editor_.reset();  // the editor's window goes with it
    for (const LayoutEntry& e : layout_) {
        // The cells show as their items say; the live picture as the graph keeps it.
        if (e.kind == LayoutKind::None || e.kind == LayoutKind::Preview ||
            e.kind == LayoutKind::Cell) {
            continue;
        }
        if (HWND control = Item(e.id)) ShowWindow(control, editorMode_ ? SW_HIDE : e.show);
    }
    strip_.SetHidden(editorMode_);
    // The live picture hides under the editor, and every graph built meanwhile keeps it hidden.
    graph_.SetPreviewHidden(editorMode_);
    ReplaceCross();
    ShowDateTimeForMode();
    if (!editorMode_) {
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void CIvoraDlg::OnAppExit() {
    // An open editor is destroyed first, and the owner-drawn menu before the settings are saved.
    SetEditorMode(nullptr);
    AbandonRecording();  // a clip being recorded is closed and kept
    menu_.Destroy();
    ExchangeSettings(false);
    PostQuitMessage(0);
}

void CIvoraDlg::OnExitCommand(UINT) {
    OnAppExit();
}

LRESULT CIvoraDlg::OnTimer(WPARAM id, LPARAM) {
    switch (id) {
        case kTimerDevicePoll:
            DevicePollTick();
            break;
        case kTimerRecordingBlink:
            BlinkRecordingIndicator();
            break;
        case kTimerRecordingStep:
            OnRecordingStep();
            break;
        case kTimerTimeLapse:
            OnTimeLapseTick();
            break;
        case kTimerLabelRepaint:
            KillTimer(Hwnd(), kTimerLabelRepaint);
            RedrawWindow(Item(IDC_MAGNIFICATION_LABEL), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE);
            break;
        default:
            break;
    }
    return 0;
}

LRESULT CIvoraDlg::OnEditorClosed(WPARAM, LPARAM) {
    SetEditorMode(nullptr);
    return 0;
}

LRESULT CIvoraDlg::OnLeftButtonDown(WPARAM, LPARAM) {
    SetCapture(Hwnd());
    return 0;
}

LRESULT CIvoraDlg::OnLeftButtonUp(WPARAM, LPARAM) {
    ReleaseCapture();
    openMenuButton_ = 0;
    return 0;
}

}  // namespace orvane

namespace orvane {

void CIvoraDlg::OnSelectLanguage(UINT) {
    CLanguageDlg dialog;
    dialog.selected = settings_.Language;
    dialog.DoModal(Hwnd());
    if (dialog.selected == settings_.Language) return;
    settings_.Language = dialog.selected;
    SetCurrentStringBase(StringBase(settings_.Language));
    RegistrySettingsKey key;
    if (key.Opened()) WriteDwordValue(key, u"Language", settings_.Language);
    // The layout rebuild brings the button pictures, menus and cross of the new language; the
    // label and the tooltips' texts follow.
    BuildLayout(kStartupLayoutCode);
    UpdateLabelAndTips();
}

}  // namespace orvane

namespace orvane {

void CIvoraDlg::OnAbout(UINT) {
    CAboutDlg about;
    about.lines[0] = MessageText(kMsgOrvane);
    about.lines[1] = MessageText(kMsgVersion) + L"1.2.1.2 (2016052701)";
    about.lines[2] = MessageText(kMsgLegalNotice);
    about.buttonText = MessageText(kMsgOK);
    about.link.SetURL(kHomePage);
    about.DoModal(Hwnd());
}

}  // namespace orvane

namespace orvane {

void CIvoraDlg::LoadButtonPictures() {
    for (size_t i = 0; i < layout_.size(); ++i) {
        const LayoutEntry& e = layout_[i];
        if (e.kind != LayoutKind::ToolButton && e.kind != LayoutKind::MenuButton) continue;
        HWND button = Item(e.id);
        if (!button) continue;
        wchar_t text[64] = {};
        GetWindowTextW(button, text, 64);
        std::wstring base = text;
        if (e.kind == LayoutKind::MenuButton) {
            const std::u16string name =
                MenuButtonBitmapName(FromWide(base), settings_.Language, u'U');
            base = ToWide(std::u16string_view(name).substr(0, name.size() - 1));
        }
        if (buttons_[i].Load(Instance(), base)) {
            TakeDoubleClicksAsClicks(button);
            SetWindowLongW(button, GWL_STYLE,
                           (GetWindowLongW(button, GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
            InvalidateRect(button, nullptr, TRUE);
        }
    }
}

LRESULT CIvoraDlg::OnDrawItem(WPARAM id, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType == ODT_MENU) return menu_.DrawItem(&item) ? TRUE : FALSE;
    if (item.CtlType != ODT_BUTTON) return FALSE;
    for (size_t i = 0; i < layout_.size(); ++i) {
        if (layout_[i].id == static_cast<int>(id) && buttons_[i].Loaded()) {
            buttons_[i].Draw(item);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace orvane

namespace orvane {

LRESULT CIvoraDlg::OnGraphEvent(WPARAM, LPARAM) {
    if (!graph_.CameraLost()) return 0;
    // Recording stops first; then the cameras are tried again in list order.
    AbandonRecording();
    deviceCount_ = graph_.EnumerateDevices(deviceNames_);
    if (deviceCount_ <= 0) {
        deviceCount_ = 0;
        graph_.TearDown();
        SetTimer(Hwnd(), kTimerDevicePoll, 1000, nullptr);
        const RECT preview = PreviewRect();
        RedrawWindow(Hwnd(), &preview, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        ReplaceCross();
        return 0;
    }
    int result = -1;
    for (int i = 0; i < deviceCount_; ++i) {
        graph_.SelectDevice(i);
        result = graph_.BuildGraph(i, true);
        settings_.ResolutionDisplay = static_cast<uint32_t>(result);
        if (result > 0) break;
    }
    if (result < 0) {
        notFoundBox_.ShowCentered(Hwnd());
        SetTimer(Hwnd(), kTimerDevicePoll, 1000, nullptr);
    }
    ReplaceCross();
    return 0;
}

}  // namespace orvane

namespace orvane {

void CIvoraDlg::OnImageSettings(UINT) {
    graph_.ShowImageSettings();
}

}  // namespace orvane

namespace orvane {

void CIvoraDlg::OnResolution(UINT id) {
    if (recording_) {
        CInfoDlg box;
        box.SetMessages(kMsgInformation, kMsgStopRecordingFirst, kMsgOK);
        box.DoModal(Hwnd());
        return;
    }
    const ResolutionItem* item = ResolutionByCommand(static_cast<int>(id));
    if (!item) return;
    const RECT preview = PreviewRect();
    graph_.SetParameters(Hwnd(), preview, item->sizeCode, idleVideoPath_);
    RebuildCurrentGraph();
    ReplaceCross();
}

void CIvoraDlg::OnVideoCompression(UINT) {
    // The graph is rebuilt onto the idle file: a clip being recorded would be cut.
    if (recording_) {
        CInfoDlg box;
        box.SetMessages(kMsgInformation, kMsgStopRecordingFirst, kMsgOK);
        box.DoModal(Hwnd());
        return;
    }
    settings_.VideoCompression = settings_.VideoCompression ? 0 : 1;
    graph_.SetVideoCompression(settings_.VideoCompression != 0);
    const int result = graph_.BuildGraph(graph_.CurrentDevice(), false);
    settings_.ResolutionDisplay = static_cast<uint32_t>(result);
    if (result < 0) EnterNoCameraState();
}

void CIvoraDlg::EnterNoCameraState() {
    graph_.TearDown();
    deviceCount_ = 0;
    notFoundBox_.Arm();
    SetTimer(Hwnd(), kTimerDevicePoll, 1000, nullptr);
    const RECT preview = PreviewRect();
    RedrawWindow(Hwnd(), &preview, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    ReplaceCross();
}

void CIvoraDlg::RebuildCurrentGraph() {
    const int result = graph_.BuildGraph(graph_.CurrentDevice(), false);
    settings_.ResolutionDisplay = static_cast<uint32_t>(result);
    if (result < 0) {
        MessageBoxW(nullptr, L"Orvane device not Found,Exit...", L"Stop", MB_OK | MB_ICONERROR);
        SetTimer(Hwnd(), kTimerDevicePoll, 1000, nullptr);
    }
}

}  // namespace orvane
