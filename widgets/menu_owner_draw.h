#pragma once
// A menu whose items the program draws itself: 280 x 22 items with a 40-pixel column for a check
// mark or icon, a framed grey-to-white gradient under the selected item and sunken separators.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "widgets/menu_draw_rules.h"
#include "platform/handles.h"

namespace orvane {

class CMenuOwnerDraw {
  public:
    static constexpr int kCapacity = 128;
    static constexpr UINT kCheckPictureId = 307;

    struct Record {
        std::wstring text;
        int icon = -1;           // index in the icon strip, -1 for none
        uint32_t commandId = 0;  // 0 separator, 0xFFFFFFFF opens a submenu
    };

    // Loads the check picture from `instance` (the program's module when null).
    explicit CMenuOwnerDraw(HINSTANCE instance = nullptr);
    CMenuOwnerDraw(const CMenuOwnerDraw&) = delete;
    CMenuOwnerDraw& operator=(const CMenuOwnerDraw&) = delete;
    ~CMenuOwnerDraw();

    // The records are owned per menu: every item registered refers to a record by address, and
    // the records live exactly as long as the menu they were registered for. Loading or
    // attaching a menu, and Destroy, destroy the menu held before and release all records, so a
    // menu rebuilt for each language change starts again at record 0. Popups that belong to
    // another menu may be registered too; the caller then destroys that menu no later than the
    // next Load, Attach or Destroy.
    bool Load(HINSTANCE instance, UINT menuId);
    void Attach(HMENU menu);
    void Destroy();
    HMENU Menu() const { return menu_.Get(); }

    // Makes every item of `popup` and of its submenus owner-drawn. When the whole tree does not
    // fit into the records left, nothing is changed and the answer is false.
    bool RegisterItems(HMENU popup);
    int RecordCount() const { return count_; }

    // Loads an icon strip: square icons side by side, as high as the strip; white is clear.
    bool LoadIconStrip(UINT bitmapId);
    // Gives the first record with this command id an icon of the strip (-1 removes it).
    bool SetItemIcon(uint32_t commandId, int index);

    // WM_MEASUREITEM and WM_DRAWITEM of menu items; false when the item is not one of ours.
    bool MeasureItem(MEASUREITEMSTRUCT* item) const;
    bool DrawItem(const DRAWITEMSTRUCT* item) const;

    MenuIconBox IconBox() const { return box_; }
    COLORREF TransparentColour() const { return transparent_; }

  private:
    const Record* RecordOf(ULONG_PTR itemData) const;
    int CountTree(HMENU popup, int depth) const;
    void RegisterTree(HMENU popup);
    void DrawPicture(HDC dc, const RECT& item, const Record& record, UINT state) const;

    HINSTANCE instance_ = nullptr;
    UniqueMenu menu_;
    std::array<Record, kCapacity> records_{};
    int count_ = 0;

    BitmapSurface check_;
    SIZE checkSize_{};
    COLORREF transparent_ = CLR_INVALID;
    BitmapSurface strip_;
    SIZE stripSize_{};
    int iconSide_ = 0;
    MenuIconBox box_{};
};

// Gives `menu` and, through it, its submenus the background brush shown where no item is drawn.
// The brush stays the caller's.
bool SetMenuBackground(HMENU menu, HBRUSH brush);

}  // namespace orvane
