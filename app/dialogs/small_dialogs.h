#pragma once
// The About box, the two-button question box, the progress strip and the recording indicator.
#include <windows.h>

#include <array>
#include <string>

#include "app/dialogs/hyper_link.h"
#include "platform/dialog.h"
#include "platform/handles.h"

namespace orvane {

class CAboutDlg : public Dialog {
  public:
    CAboutDlg();
    // Lines 1091..1094; the first is also the caption.
    std::array<std::wstring, 4> lines;
    std::wstring buttonText;
    CHyperLink link;

  protected:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

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

class CProcessDlg : public Dialog {
  public:
    CProcessDlg();
    HWND Bar() const { return Item(531); }
    std::array<wchar_t, 260> text{};

  protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class CStatusDlg : public Dialog {
  public:
    CStatusDlg();
    int mode = 1;
    SIZE BitmapSize() const { return size_; }

  protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    BitmapSurface picture_;
    SIZE size_{};
    RECT client_{};
};

// Copies text into a fixed buffer of N units, always terminated, cutting what does not fit.
template <size_t N>
void CopyTruncated(std::array<wchar_t, N>& buffer, std::wstring_view text) {
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    buffer.fill(L'\0');
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer.begin());
}

}  // namespace orvane
