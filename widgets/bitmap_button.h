#pragma once
// An owner-drawn push button showing one of four pictures: normal, pressed, focused, disabled.
#include <windows.h>

#include <string>

#include "platform/handles.h"

namespace orvane {

class BitmapButton {
  public:
    // Loads "<base>U", "<base>D", "<base>F" and, where it exists, "<base>X"; false without "U".
    bool Load(HINSTANCE instance, const std::wstring& base);
    // Draws the button for its owner's WM_DRAWITEM.
    void Draw(const DRAWITEMSTRUCT& item) const;
    bool Loaded() const { return static_cast<bool>(normal_); }
    // The normal picture's size; 0 x 0 without one.
    SIZE Size() const;

  private:
    UniqueBitmap normal_;
    UniqueBitmap pressed_;
    UniqueBitmap focused_;
    UniqueBitmap disabled_;
};

}  // namespace orvane
