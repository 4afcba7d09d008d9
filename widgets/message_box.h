#pragma once
// The program's two-button question box (template 254), shared by the main window and the
// picture editor: caption, text and button texts come from the caller in its language.
#include <windows.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/dialog.h"

namespace orvane {

class CMessageBox : public Dialog {
  public:
    static constexpr size_t kCaptionUnits = 32;
    static constexpr size_t kTextUnits = 128;
    static constexpr size_t kButtonUnits = 16;

    CMessageBox();
    // Copies into the fixed buffers, cutting what does not fit.
    void SetTexts(std::wstring_view caption, std::wstring_view text, std::wstring_view button1,
                  std::wstring_view button7);
    bool oneButton = false;

    std::array<wchar_t, kCaptionUnits> caption{};
    std::array<wchar_t, kTextUnits> text{};
    std::array<wchar_t, kButtonUnits> button1{};
    std::array<wchar_t, kButtonUnits> button7{};

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
};

// Copies text into a fixed buffer of N units, always terminated, cutting what does not fit.
template <size_t N>
void CopyTruncated(std::array<wchar_t, N>& buffer, std::wstring_view text) {
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    buffer.fill(L'\0');
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer.begin());
}

}  // namespace orvane
