#pragma once
// The saving-folder chooser: the picture and video folders in two editable drop-down boxes
// with their histories and browse buttons. OK creates missing folders with their hidden side
// folders and records them at the front of the histories.
#include <string>

#include "app/rules/settings_records.h"
#include "platform/dialog.h"

namespace orvane {

class CSelectFolderDlg : public Dialog {
  public:
    CSelectFolderDlg();

    // The values worked on; copied in before the dialog opens and out after OK.
    PathBuffer pictureFolder{};
    HistoryBuffer pictureHistory{};
    PathBuffer videoFolder{};
    std::u16string thumbFolder;
    HistoryBuffer videoHistory{};

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void OnBrowse(UINT id);
    // P from box: made (with its parents) when missing; false after the error box.
    bool PrepareFolder(int box, int errorMessage, std::wstring& folder);
    // The side folder name inside folder, made when missing and hidden; its path.
    std::wstring PrepareSideFolder(const std::wstring& folder, const wchar_t* name,
                                   int errorMessage);
    void ShowError(int message, const std::wstring& path);
};

}  // namespace orvane
