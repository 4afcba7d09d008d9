#pragma once
// The editor's "Measurements" window: the table of the picture's measurements, with Copy (tab-
// separated text for a spreadsheet) and Export... (a CSV file).
#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "results/table_text.h"

namespace orvane::results {

class CMeasurementsDlg : public Dialog {
  public:
    CMeasurementsDlg();
    std::wstring title, copyText, exportText, closeText;
    std::wstring failureText;  // when the CSV cannot be written; the file follows
    std::wstring failureCaption;
    std::wstring copyFailureText;  // when the clipboard cannot take the table
    TableTexts texts;
    std::vector<MeasurementRow> rows;
    std::wstring proposedName;  // the CSV's name as offered
    std::wstring filterName;    // the file type's name in the save dialog

    // What Copy put on the clipboard and Export... wrote, for the tests and the window itself.
    static std::wstring ClipboardText(const std::string& tabSeparated);

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void FitColumns(HWND list, const std::vector<std::wstring>& lines);
    bool PutOnClipboard(const std::wstring& text);
    void OnCopy(UINT id);
    void OnExport(UINT id);
    void OnClose(UINT id);
};

}  // namespace orvane::results
