#include "widgets/label_picture.h"

#include "platform/handles.h"

namespace orvane {

HBITMAP LabelPicture(HINSTANCE instance, UINT bitmapId, const RECT& box, const std::wstring& text,
                     BYTE pitchAndFamily) {
    BitmapSurface picture;
    if (!picture.Load(instance, bitmapId)) return nullptr;
    const UniqueFont font(CreateFontW(box.bottom - box.top, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, pitchAndFamily, L"Microsoft Sans Serif"));
    const HGDIOBJ oldFont = SelectObject(picture.Dc(), font.Get());
    SetBkMode(picture.Dc(), TRANSPARENT);
    RECT area = box;
    DrawTextW(picture.Dc(), text.c_str(), static_cast<int>(text.size()), &area,
              DT_RIGHT | DT_SINGLELINE);
    SelectObject(picture.Dc(), oldFont);
    return picture.Release();
}

}  // namespace orvane
