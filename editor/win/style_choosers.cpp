#include "editor/win/style_choosers.h"

#include "editor/model/style_choice.h"
#include "resource.h"

namespace orvane {

BOOL CLineChooser::OnInitDialog() {
    SetWindowTextW(Hwnd(), title.c_str());
    SetItemText(IDOK, okText.c_str());
    if (selection >= 0 && selection < count_)
        CheckRadioButton(Hwnd(), IDC_LINE_CHOICE_FIRST, IDC_LINE_CHOICE_FIRST + count_ - 1,
                         IDC_LINE_CHOICE_FIRST + selection);
    return TRUE;
}

void CLineChooser::OnOK() {
    int checked = -1;
    for (int k = 0; k < count_ && checked < 0; ++k)
        if (IsDlgButtonChecked(Hwnd(), IDC_LINE_CHOICE_FIRST + k) == BST_CHECKED) checked = k;
    selection = editor::ChoiceOnOk(checked, count_);
    EndDialog(IDOK);
}

CLineStyle::CLineStyle() : CLineChooser(IDD_LINE_STYLE, editor::kStyleCount) {}

CLineWidth::CLineWidth() : CLineChooser(IDD_LINE_WIDTH, editor::kWidthCount) {}

}  // namespace orvane
