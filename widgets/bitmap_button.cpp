#include "widgets/bitmap_button.h"

namespace orvane {

namespace {
HBITMAP LoadNamed(HINSTANCE instance, const std::wstring& name) {
    return static_cast<HBITMAP>(LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, 0));
}
}  // namespace

bool BitmapButton::Load(HINSTANCE instance, const std::wstring& base) {
    normal_.Reset(LoadNamed(instance, base + L"U"));
    pressed_.Reset(LoadNamed(instance, base + L"D"));
    focused_.Reset(LoadNamed(instance, base + L"F"));
    disabled_.Reset(LoadNamed(instance, base + L"X"));
    return Loaded();
}

SIZE BitmapButton::Size() const {
    BITMAP info{};
    if (!normal_ || !GetObjectW(normal_.Get(), sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void BitmapButton::Draw(const DRAWITEMSTRUCT& item) const {
    HBITMAP picture = normal_.Get();
    if ((item.itemState & ODS_SELECTED) && pressed_) {
        picture = pressed_.Get();
    } else if ((item.itemState & ODS_FOCUS) && focused_) {
        picture = focused_.Get();
    } else if ((item.itemState & ODS_DISABLED) && disabled_) {
        picture = disabled_.Get();
    }
    if (!picture) return;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(memory, picture);
    BITMAP info{};
    GetObjectW(picture, sizeof info, &info);
    const RECT& r = item.rcItem;
    StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace orvane
