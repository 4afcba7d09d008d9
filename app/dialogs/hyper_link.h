#pragma once
// A static control that opens its target with the shell, coloured by state, with a tooltip.
#include <windows.h>

#include <string>

#include "app/rules/dialog_rules.h"
#include "platform/handles.h"

namespace orvane {

class CHyperLink {
  public:
    CHyperLink() = default;
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;
    ~CHyperLink();

    // Binds to a dialog's static control and sets it up; the control must carry SS_NOTIFY.
    bool Attach(HWND control);
    void SetURL(const std::wstring& target);
    const std::wstring& Target() const { return target_; }
    bool Visited() const { return state_.visited; }
    // For the owner dialog's colour request of this control.
    HBRUSH OnControlColour(HDC dc);
    // Relays mouse messages to the tooltip; the owner's loop calls it for each message.
    void RelayToTooltip(const MSG& msg);
    // Opens the target, with the browser fallback and the error box; true on success.
    bool Open();

    static constexpr COLORREF kLinkColour = RGB(0, 0, 255);

  private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SizeToItsText();
    void UpdateTooltip();

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
    HWND tooltip_ = nullptr;
    UniqueFont font_;
    std::wstring target_;
    LinkState state_;
    uint32_t options_ = kDefaultLinkOptions;
};

}  // namespace orvane
