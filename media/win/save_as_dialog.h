#pragma once
// The save dialog of pictures: the platform's classic file dialog with a choice of output size
// ("320X240" or "Original size") added below its own controls.
#include <windows.h>

#include <string>

namespace orvane {

class CSaveAsDialog {
  public:
    static constexpr int kSmallSizeRadio = 100;
    static constexpr int kFullSizeRadio = 101;

    // filter: "Text(*.X)|*.X|...||" as the program's menus write it. OFN_NOCHANGEDIR is added to
    // the flags.
    CSaveAsDialog(bool open, const wchar_t* defaultExtension, const std::wstring& fileName,
                  DWORD flags, const wchar_t* filter, HWND parent);

    void SetTitle(const std::wstring& title) { title_ = title; }
    // True when the user confirmed a name.
    bool DoModal();

    const std::wstring& PathName() const { return path_; }
    int FilterIndex() const { return filterIndex_; }
    bool FullSizeChosen() const { return fullSize_; }

  private:
    static UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void AddSizeChoice(HWND dialog);

    bool open_;
    std::wstring defaultExtension_;
    std::wstring fileName_;
    DWORD flags_;
    std::wstring filter_;  // NUL-separated, ending in two NULs
    HWND parent_;
    std::wstring title_;
    std::wstring path_;
    int filterIndex_ = 1;
    bool fullSize_ = true;
    UINT fileOkMessage_ = 0;
};

}  // namespace orvane
