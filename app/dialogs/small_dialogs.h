#pragma once
// The About box, the progress strip and the recording indicator (the question box is shared
// with the editor: widgets/message_box.h).
#include <windows.h>

#include <array>
#include <string>

#include "app/dialogs/hyper_link.h"
#include "platform/dialog.h"
#include "platform/handles.h"
#include "widgets/message_box.h"

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

}  // namespace orvane
