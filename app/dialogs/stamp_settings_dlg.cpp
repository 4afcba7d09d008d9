#include "app/dialogs/stamp_settings_dlg.h"

#include <commdlg.h>

#include <cstring>

#include "app/messages.h"
#include "resources/resource.h"

namespace orvane {

namespace {

struct StampBox {
    int id;
    uint32_t bit;
    int message;
};

constexpr StampBox kBoxes[] = {
    {IDC_STAMP_SIZE, kStampSize, kMsgStampSize},
    {IDC_STAMP_DATE_TIME, kStampDateTime, kMsgStampDateTime},
    {IDC_STAMP_FILE_NAME, kStampFileName, kMsgStampFileName},
    {IDC_STAMP_MAGNIFICATION, kStampMagnification, kMsgMagnification},
};

static_assert(sizeof(LOGFONTW) == LogFontRecord::kSize);

}  // namespace

CPhotoSaveAsDisplayDlg::CPhotoSaveAsDisplayDlg() : Dialog(IDD_STAMP_SETTINGS) {}

BOOL CPhotoSaveAsDisplayDlg::OnInitDialog() {
    stamps &= kStampMask;
    SetWindowTextW(Hwnd(), MessageText(kMsgPhotoSaveAsDisplay).c_str());
    for (const StampBox& box : kBoxes) {
        SetItemText(box.id, MessageText(box.message).c_str());
        CheckDlgButton(Hwnd(), box.id, (stamps & box.bit) ? BST_CHECKED : BST_UNCHECKED);
    }
    SetItemText(IDC_STAMP_SCALE_BAR, MessageText(kMsgScaleBar).c_str());
    CheckDlgButton(Hwnd(), IDC_STAMP_SCALE_BAR, scaleBar ? BST_CHECKED : BST_UNCHECKED);
    SetItemText(IDC_STAMP_FONT, MessageText(kMsgFont).c_str());
    SetItemText(IDOK, MessageText(kMsgOK).c_str());
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    return TRUE;
}

bool CPhotoSaveAsDisplayDlg::OnCommand(UINT id, UINT code, HWND control) {
    static constexpr CommandEntry<CPhotoSaveAsDisplayDlg> commands[] = {
        {IDC_STAMP_FONT, IDC_STAMP_FONT, &CPhotoSaveAsDisplayDlg::OnFont},
    };
    if (DispatchCommand<CPhotoSaveAsDisplayDlg>(this, commands, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CPhotoSaveAsDisplayDlg::OnFont(UINT) {
    LOGFONTW logFont{};
    const LogFontRecord::Bytes bytes = font.ToBytes();
    std::memcpy(&logFont, bytes.data(), bytes.size());
    CHOOSEFONTW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = Hwnd();
    choice.lpLogFont = &logFont;
    choice.rgbColors = colour;
    choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&choice)) return;
    LogFontRecord::Bytes chosen{};
    std::memcpy(chosen.data(), &logFont, chosen.size());
    font.FromBytes(chosen.data(), chosen.size());
    colour = choice.rgbColors;
}

void CPhotoSaveAsDisplayDlg::OnOK() {
    uint32_t chosen = 0;
    for (const StampBox& box : kBoxes) {
        if (IsDlgButtonChecked(Hwnd(), box.id) == BST_CHECKED) chosen |= box.bit;
    }
    stamps = chosen & kStampMask;
    scaleBar = IsDlgButtonChecked(Hwnd(), IDC_STAMP_SCALE_BAR) == BST_CHECKED;
    EndDialog(IDOK);
}

}  // namespace orvane
