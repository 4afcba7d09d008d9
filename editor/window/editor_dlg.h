#pragma once
// The picture editor window: laid over the main window's client area, it hosts the canvas,
// steps through the folder's pictures, saves and copies the annotated picture, and keeps each
// picture's magnifications in its side file.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "editor/view/canvas_view.h"
#include "media/media_files.h"
#include "media/media_info.h"
#include "platform/dialog.h"
#include "platform/handles.h"
#include "results/win/editor_results.h"
#include "widgets/bitmap_button.h"
#include "widgets/menu_owner_draw.h"

namespace orvane {

class CSetMagnification;

class CIvoraImgEdtDlg : public Dialog {
  public:
    // files and clock serve the side files; they outlive the window.
    CIvoraImgEdtDlg(std::u16string path, MediaFiles& files, MediaClock& clock);
    ~CIvoraImgEdtDlg() override;

    // Creates the window over owner's client area; false (and WM_EDITOR_CLOSED posted) when the
    // picture cannot be opened.
    bool Open(HWND owner);

    CIvoraImgEdtView& Canvas() { return canvas_; }
    const std::u16string& PicturePath() const { return path_; }
    const MediaInfoRecord& Record() const { return record_; }
    std::wstring MagnificationText() const;

    // Commands, also reached through the buttons and menus.
    void Step(bool next);
    // Save As (editor_save_as.cpp): false, with a message and the picture still modified, when
    // the file cannot be written.
    bool SaveAs(const std::u16string& typedName, int32_t filterIndex, bool fullSize);
    bool SaveAsWithDialog();
    bool CopyPictureToClipboard();
    bool CopyFileToClipboard();
    void Close();
    void OnAdjustMagnification(double v);
    void ApplyCommand(UINT id);

    // Offered every message of the main window's loop while the editor is open: moves the focus
    // under the pointer and takes the close request other programs post to all top-level
    // windows. True when the message was taken.
    bool PreTranslate(MSG& msg);
    // A key message for the editor or one of its controls: it is dispatched to them as it is,
    // never taken as the main window's dialog keys.
    bool OwnsKeyMessage(const MSG& msg) const;

    static constexpr UINT kEditorClosed = WM_USER + 30;
    static constexpr size_t kButtonCount = 14;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    bool OpenPicture(const std::u16string& path);
    void LeavePicture();
    void ShowMagnification();
    std::vector<std::u16string> PictureList() const;
    bool AskSaveIfModified(bool withCancel, bool& keepOpen);
    void OpenToolMenu(int index);
    void ChooseTool(HMENU popup, UINT id, int firstPos, int lastPos);
    void WriteCaptureMagnification(double value);
    void FillSetMagnificationTexts(CSetMagnification& dlg) const;
    void Paint();
    void LayOut();
    // The window's dressing in the stored language (editor_chrome.cpp).
    void ReadLanguage();
    std::wstring Text(int message) const;
    std::wstring MenuItemText(UINT command) const;
    void LoadLanguageMenu();
    void LoadButtons();
    void CreateTooltips();
    void DrawMagnificationCaption();
    void PaintFrameBackground();
    bool DrawControl(const DRAWITEMSTRUCT& item);

    std::u16string path_;
    MediaFiles& files_;
    MediaClock& clock_;
    MediaInfoRecord record_{};
    double keptMagnification_ = 0.0;
    bool calibrationConfirmed_ = false;
    CIvoraImgEdtView canvas_;
    // Calibrated results of the open picture: its table of measurements, the scale bar tool
    // and the calibrated forms of Save As.
    results::EditorResults results_;
    uint32_t language_ = 503;
    uint32_t stringBase_ = 0;
    // Draws the items of menu_, which goes first so that no item outlives its record.
    CMenuOwnerDraw menuDraw_;
    UniqueBrush menuBrush_;
    UniqueMenu menu_;
    std::array<BitmapButton, kButtonCount> buttons_;
    UniqueWindow tooltips_;
    UniqueBitmap captionPicture_;
    // The tool menu opened last (0 Drawing, 1 Measure, -1 none) and whether the pointer has
    // moved since: the press that closes a menu does not open it again.
    int lastToolMenu_ = -1;
    bool movedSinceMenu_ = true;
    POINT menuPoint_{};
    UINT adjustMessage_ = 0;
    UINT setMessage_ = 0;
    UINT quitMessage_ = 0;
    bool closing_ = false;
    bool closed_ = false;
};

}  // namespace orvane
