#pragma once
// The language chooser: a click on a radio button or on a language's written name picks it.
#include <array>
#include <cstdint>

#include "app/rules/language.h"
#include "platform/dialog.h"
#include "platform/handles.h"

namespace orvane {

class CLanguageDlg : public Dialog {
  public:
    CLanguageDlg();
    uint32_t selected = kLanguageEnglishCode;

    static constexpr uint32_t kLanguageEnglishCode = 503;

  protected:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void Choose(uint32_t code);
    std::array<LabelRect, kLanguageCount> labels_{};
    std::array<UniqueIcon, kLanguageCount> icons_;
};

}  // namespace orvane
