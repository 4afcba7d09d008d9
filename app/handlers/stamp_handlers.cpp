// The stamp settings of "Save as", edited from the File menu and stored at once.
#include "app/dialogs/stamp_settings_dlg.h"
#include "app/ivora_dlg.h"
#include "app/settings_win.h"

namespace orvane {

void CIvoraDlg::OnStampSettings(UINT) {
    CPhotoSaveAsDisplayDlg dialog;
    dialog.stamps = settings_.PhotoSavedInfo & kStampMask;
    dialog.font = settings_.PhotoSavedInfoFont;
    dialog.colour = settings_.PhotoSavedInfoFontColor;
    dialog.scaleBar = results_.StampBar();
    if (dialog.DoModal(Hwnd()) != IDOK) return;
    results_.SetStampBar(dialog.scaleBar);
    settings_.PhotoSavedInfo = dialog.stamps & kStampMask;
    settings_.PhotoSavedInfoFont = dialog.font;
    settings_.PhotoSavedInfoFontColor = dialog.colour;
    // The three values reach the key now; without it they live in memory for the run.
    RegistrySettingsKey key;
    if (!key.Opened()) return;
    const uint32_t stamps = settings_.PhotoSavedInfo;
    const uint32_t colour = settings_.PhotoSavedInfoFontColor;
    const LogFontRecord::Bytes font = settings_.PhotoSavedInfoFont.ToBytes();
    key.Set(u"PhotoSavedInfo", ValueType::Dword, &stamps, sizeof stamps);
    key.Set(u"PhotoSavedInfoFontColor", ValueType::Dword, &colour, sizeof colour);
    key.Set(u"PhotoSavedInfoFont", ValueType::Binary, font.data(), font.size());
    key.Flush();
}

}  // namespace orvane
