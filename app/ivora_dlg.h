#pragma once
// The main window controller: owns the settings, the capture graph, the notice and the
// dialogs for the whole run, and dispatches commands, messages and timers.
#include <memory>
#include <string>
#include <vector>

#include "widgets/bitmap_button.h"
#include "app/rules/layout.h"
#include "widgets/menu_owner_draw.h"
#include "app/dialogs/not_found_box.h"
#include "app/overlays.h"
#include "app/rules/settings.h"
#include "app/dialogs/small_dialogs.h"
#include "app/dialogs/timelapse_dlg.h"
#include "editor/window/editor_dlg.h"
#include "capture/capture_graph.h"
#include "capture/still/still_files.h"
#include "platform/dialog.h"
#include "media/media_browser.h"
#include "media/win/strip_cells.h"
#include "media/win/win_avi_library.h"
#include "media/win/win_media_files.h"
#include "platform/handles.h"
#include "results/win/main_results.h"
#include "stacking/win/focus_stack_command.h"

namespace orvane {

constexpr UINT WM_GRAPH_EVENT = WM_USER + 1;
constexpr UINT WM_TIMELAPSE_NOTIFY = WM_USER + 20;
constexpr UINT WM_EDITOR_CLOSED = WM_USER + 30;

constexpr UINT_PTR kTimerRecordingBlink = 10000;
constexpr UINT_PTR kTimerTimeLapse = 10001;
constexpr UINT_PTR kTimerDevicePoll = 10002;
constexpr UINT_PTR kTimerLabelRepaint = 10004;
constexpr UINT_PTR kTimerRecordingStep = 10010;  // the waits of the Record command

class CIvoraDlg : public Dialog {
  public:
    CIvoraDlg();
    ~CIvoraDlg() override;

    // True when the settings load failed (its error box has been shown); the window must not run.
    bool StartFailed() const { return startFailed_; }

    void SetEditorMode(const wchar_t* path);
    void OnAppExit();

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { OnAppExit(); }
    bool PreTranslateMessage(MSG& msg) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void ExchangeSettings(bool load);
    void BuildLayout(uint32_t resolutionCode);
    void ShowMagnification();
    void StartMediaLists();
    // The strip (strip_handlers.cpp).
    void PrepareStripCells();
    void PlaceStripCell(const LayoutEntry& entry, int visibleCells);
    LRESULT OnThumbClick(WPARAM cell, LPARAM flags);
    LRESULT OnThumbHover(WPARAM cell, LPARAM hover);
    LRESULT OnVerticalScroll(WPARAM, LPARAM bar);
    void OpenPictureEditor(const std::u16string& path);
    // Painting, label and tooltips (window_painting.cpp).
    void CreateTooltips();
    void UpdateLabelAndTips();
    void DrawMagnificationLabel();
    // Menus (menu_handlers.cpp).
    void LoadMenus();
    void OnMenuButton(UINT id);
    void PrepareFilePopup(HMENU popup);
    void PrepareSettingPopup(HMENU popup);
    LRESULT OnMeasureItem(WPARAM, LPARAM item);
    // File commands on the selection (file_handlers.cpp).
    void OnOpenSelected(UINT id);
    void OnMeasureOrPlay(UINT id);
    void OnDeleteSelected(UINT id);
    void OnDeleteAll(UINT id);
    // True when anything was deleted (the strip is read again); false when declined.
    bool DeleteSelection();
    void OnCopyFile(UINT id);
    void OnCopyImage(UINT id);
    // "Stack focus" of the selection (stack_handlers.cpp).
    void OnStackFocus(UINT id);
    // Help commands and the magnification field (help_handlers.cpp).
    void OnManual(UINT id);
    void OnHomePage(UINT id);
    void OnMagnificationField(UINT id);
    // The saving-folder chooser (folder_handlers.cpp).
    void OnSelectSavingFolders(UINT id);
    // The stamp settings of "Save as" (stamp_handlers.cpp).
    void OnStampSettings(UINT id);
    // "Save as" of the first selected capture (save_as_handlers.cpp).
    void OnSaveAs(UINT id);
    void SaveStampedPictureAs(const std::wstring& picture);
    void SaveClipAs(const std::wstring& clip);
    // Overlays over the live picture (overlay_handlers.cpp).
    HWND LiveWindow() const;
    RECT PreviewScreenRect() const;
    void CreateOverlays();
    void OnToggleCross(UINT id);
    void ToggleCross();
    // Places the cross again without changing its setting.
    void ReplaceCross();
    void OnToggleDateTime(UINT id);
    // The live picture's scale bar (calibrated results own it).
    void OnToggleScaleBar(UINT id);
    void FollowScaleBar();
    void ToggleDateTime();
    // Hidden under the editor, shown again after it when it is on.
    void ShowDateTimeForMode();
    LRESULT OnMove(WPARAM, LPARAM);
    void PlaceOverlays();
    void DevicePollTick();
    int BuildGraphForDevice(bool newDevice);

    void OnExitCommand(UINT id);
    void OnSelectLanguage(UINT id);
    void OnAbout(UINT id);
    void OnImageSettings(UINT id);
    void OnResolution(UINT id);
    void OnVideoCompression(UINT id);
    // Photos (photo_handlers.cpp).
    void OnPhoto(UINT id);
    void OnCapturePicture(WPARAM wParam, LPARAM lParam);
    // Stores a handed-over picture under a new capture name with its side file; removes the
    // file it was handed (when ownsFile) whatever comes of it, and says why when it cannot.
    void StorePicture(const HandedOverPicture& picture, bool ownsFile = true);
    void ShowCaptureFailure(int message, const std::u16string& folder);
    // The new picture's strip thumbnail from the capture's own small copy of its pixels.
    void PrimeStripThumbnail(const std::u16string& stored, const HandedOverThumbnail& thumbnail);
    // Recording (recording_handlers.cpp).
    enum class RecordingStep { kIdle, kStartWait, kRecording, kStopThumbWait, kStopCopyWait };
    void OnRecord(UINT id);
    // Starts or stops a clip; byUser: pressed during a stop, the next clip starts after it.
    void RecordCommand(bool byUser);
    void StartRecording();
    void ShowRecordingIndicator();
    void NextRecordingStep(RecordingStep step, UINT delayMs);
    void OnRecordingStep();
    void StopRecording();
    void CloseClip();
    void AbandonRecording();
    void StoreClipThumbnail();
    void EndRecording();
    void BlinkRecordingIndicator();
    // Time-lapse series (timelapse_handlers.cpp).
    void OnTimeLapse(UINT id);
    LRESULT OnTimeLapseNotify(WPARAM action, LPARAM);
    void StartTimeLapse();
    void StopTimeLapse();
    void OnTimeLapseTick();
    void RebuildCurrentGraph();
    // No camera could be opened: no picture, and the poll looks for one every second.
    void EnterNoCameraState();
    RECT PreviewRect() const {
        return {previewRect_.x, previewRect_.y, previewRect_.x + previewRect_.width,
                previewRect_.y + previewRect_.height};
    }
    LRESULT OnTimer(WPARAM id, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM id, LPARAM item);
    void LoadButtonPictures();
    LRESULT OnEditorClosed(WPARAM, LPARAM);
    LRESULT OnGraphEvent(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnLeftButtonUp(WPARAM, LPARAM);

    // Settings and camera.
    Settings settings_;
    bool settingsLoaded_ = false;
    bool startFailed_ = false;
    CaptureGraph graph_;
    DeviceNameTable deviceNames_{};
    int deviceCount_ = 0;

    // Windows and resources held for the whole run.
    NotFoundBox notFoundBox_;
    HICON icon_ = nullptr;                   // shared resource icon: not destroyed
    HACCEL accelerators_ = nullptr;          // a resource table: not destroyed
    UniqueAccelerators editorAccelerators_;  // those that do not reach the strip
    UniqueBrush menuBrush_;
    CMenuOwnerDraw menu_;
    UniqueWindow tooltips_;
    bool tipsRegistered_ = false;
    UniqueBitmap labelPicture_;
    std::array<HMENU, 4> popups_{};  // File, Setting, Capture, Help of menu_
    BitmapSurface noCameraPicture_;
    BitmapSurface cellNormal_;
    BitmapSurface cellSelected_;
    BitmapSurface videoBadge_;
    UINT capturePictureMessage_ = 0;
    bool intakeBusy_ = false;
    WinMediaFiles mediaFiles_;
    WinMediaClock mediaClock_;
    WinAviLibrary aviLibrary_;
    StripCells strip_;
    MediaBrowser media_{mediaFiles_, aviLibrary_, strip_};
    FocusStackCommand stackFocus_{strip_, media_, mediaFiles_, mediaClock_};
    CellShared cellShared_;
    MediaInfoRecord currentRecord_{};  // of the file under the mouse
    uint32_t lastHover_ = 0;
    std::u16string videoPath_;  // the clip being recorded
    RecordingStep recordingStep_ = RecordingStep::kIdle;
    bool stopWhenStarted_ = false;
    bool startWhenStopped_ = false;
    int thumbPolls_ = 0;
    CStatusDlg status_;
    CCross cross_;
    CTextDlg dateTime_;
    results::MainWindowResults results_;
    UINT setMagnificationMessage_ = 0;

    std::wstring idleVideoPath_;
    Rect previewRect_{};
    Rect logoRect_{};
    std::array<LayoutEntry, kLayoutEntries> layout_{};
    std::array<BitmapButton, kLayoutEntries> buttons_;
    bool editorMode_ = false;
    std::unique_ptr<CIvoraImgEdtDlg> editor_;  // the picture editor while it is open
    bool recording_ = false;
    bool timeLapseRunning_ = false;
    CMutilSegmentPhotoVideoDlg timeLapse_;  // its values last for the run
    int64_t timeLapseLast_ = 0;             // when the last photo or clip started or ended
    int openMenuButton_ = 0;
    bool magnificationFocused_ = false;
};

}  // namespace orvane
