#include "editor/window/magnification_dlgs.h"

#include <string>

#include "editor/rules/magnification.h"
#include "resource.h"

namespace orvane {
namespace {

std::string AnsiText(HWND edit) {
    wchar_t wide[256] = {};
    GetWindowTextW(edit, wide, 256);
    char ansi[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

void SetAnsiText(HWND edit, const std::string& text) {
    SetWindowTextA(edit, text.c_str());
}

}  // namespace

CSetMagnification::CSetMagnification(double start) : Dialog(IDD_SET_MAGNIFICATION), value(start) {}

BOOL CSetMagnification::OnInitDialog() {
    SetWindowTextW(Hwnd(), title.c_str());
    SetItemText(IDC_SET_MAGNIFICATION_PROMPT, prompt.c_str());
    SetItemText(IDC_SET_MAGNIFICATION_HINT, hint.c_str());
    SetItemText(IDOK, okText.c_str());
    SetItemText(IDCANCEL, cancelText.c_str());
    SetAnsiText(Item(IDC_SET_MAGNIFICATION_VALUE), editor::MagnificationEntryText(value));
    return TRUE;
}

void CSetMagnification::OnOK() {
    double x = 0.0;
    if (!editor::ParseMagnificationEntry(AnsiText(Item(IDC_SET_MAGNIFICATION_VALUE)), x)) {
        MessageBoxW(Hwnd(), notANumber.c_str(), notANumberCaption.c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!editor::AcceptsMagnification(x)) return;
    value = x;
    EndDialog(IDOK);
}

CAdjustMagnificationDlg::CAdjustMagnificationDlg() : Dialog(IDD_ADJUST_MAGNIFICATION) {}

BOOL CAdjustMagnificationDlg::OnInitDialog() {
    SetWindowTextW(Hwnd(), title.c_str());
    SetItemText(IDC_ADJUST_UNIT, unitLabels[unit >= 0 && unit <= 3 ? unit : 0].c_str());
    SetItemText(IDC_ADJUST_LABEL1, actualLabel.c_str());
    SetItemText(IDC_ADJUST_LABEL2, adjustedLabel.c_str());
    SetItemText(IDC_ADJUST_USE, checkLabel.c_str());
    SetItemText(IDOK, okText.c_str());
    CheckDlgButton(Hwnd(), IDC_ADJUST_USE, useAdjusted ? BST_CHECKED : BST_UNCHECKED);
    SetAnsiText(Item(IDC_ADJUST_RESULT), editor::AdjustedText(adjusted));
    return TRUE;
}

void CAdjustMagnificationDlg::Recompute() {
    const std::string text = AnsiText(Item(IDC_ADJUST_ACTUAL));
    actual = std::strtod(text.c_str(), nullptr);
    adjusted = editor::AdjustedFromActual(measured, text, unit);
    SetAnsiText(Item(IDC_ADJUST_RESULT), editor::AdjustedText(adjusted));
}

bool CAdjustMagnificationDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_ADJUST_ACTUAL && code == EN_CHANGE) {
        Recompute();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

void CAdjustMagnificationDlg::OnOK() {
    Recompute();
    // A size of 0 or no number would store an infinite magnification: the dialog stays open.
    if (!editor::IsUsableAdjusted(adjusted)) return;
    useAdjusted = IsDlgButtonChecked(Hwnd(), IDC_ADJUST_USE) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}

}  // namespace orvane
