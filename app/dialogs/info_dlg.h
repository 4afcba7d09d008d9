#pragma once
// The one-button information and error box.
#include <string>

#include "platform/dialog.h"

namespace orvane {

class CInfoDlg : public Dialog {
  public:
    CInfoDlg();
    std::wstring text;
    std::wstring buttonText;
    std::wstring caption;

    // Fills the three texts from message numbers of the current language.
    void SetMessages(int captionMessage, int textMessage, int buttonMessage);

  protected:
    BOOL OnInitDialog() override;
};

}  // namespace orvane
