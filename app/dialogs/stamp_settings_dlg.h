#pragma once
// The choice of what "Save as" prints into a picture (size, date and time, file name,
// magnification) and in which font and colour.
#include <cstdint>

#include "app/rules/settings_records.h"
#include "media/stamp/stamp_layout.h"
#include "platform/dialog.h"

namespace orvane {

// Bits of the stamp choice (media/stamp/stamp_layout.h).
constexpr uint32_t kStampSize = kStampPictureSize;
constexpr uint32_t kStampMask = kStampBitsMask;

class CPhotoSaveAsDisplayDlg : public Dialog {
  public:
    CPhotoSaveAsDisplayDlg();

    // Worked on by the dialog; read back after OK.
    uint32_t stamps = 0;
    LogFontRecord font{};
    uint32_t colour = 0;
    // The scale bar stamp (a setting of calibrated results, stored apart).
    bool scaleBar = false;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void OnFont(UINT id);
};

}  // namespace orvane
