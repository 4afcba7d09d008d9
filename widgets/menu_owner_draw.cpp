#include "widgets/menu_owner_draw.h"

#include <cstdint>

namespace orvane {

namespace {

constexpr int kMaxTextLength = 1024;
constexpr int kMaxMenuDepth = 16;  // deeper trees are refused rather than walked
// Menu style word set with the background; no MNS_* style uses this bit, and the mask below
// does not apply the style word, so the menus keep their style.
constexpr DWORD kMenuStyleWord = 0x100;
// Item states kept when an item becomes owner-drawn.
constexpr UINT kKeptStates = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void FillSolid(HDC dc, int x, int y, int cx, int cy, COLORREF colour) {
    const RECT rect{x, y, x + cx, y + cy};
    FillSolid(dc, rect, colour);
}

// A one-pixel frame: top and left edges in `topLeft`, bottom and right edges in `bottomRight`,
// which take the two corners they share with the others.
void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    const int x = rect.left, y = rect.top;
    const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    FillSolid(dc, x, y, cx - 1, 1, topLeft);
    FillSolid(dc, x, y, 1, cy - 1, topLeft);
    FillSolid(dc, x + cx - 1, y, 1, cy, bottomRight);
    FillSolid(dc, x, y + cy - 1, cx, 1, bottomRight);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

}  // namespace

CMenuOwnerDraw::CMenuOwnerDraw(HINSTANCE instance)
    : instance_(instance ? instance : GetModuleHandleW(nullptr)) {
    // Without the picture checked items show no mark.
    if (check_.Load(instance_, kCheckPictureId)) {
        checkSize_ = BitmapSize(check_.Bitmap());
        transparent_ = GetPixel(check_.Dc(), 0, 0);
    } else {
        check_.Reset();
    }
    box_ = MenuIconBoxFor(checkSize_.cx, checkSize_.cy);
}

CMenuOwnerDraw::~CMenuOwnerDraw() {
    Destroy();
}

bool CMenuOwnerDraw::Load(HINSTANCE instance, UINT menuId) {
    Attach(LoadMenuW(instance, MAKEINTRESOURCEW(menuId)));
    return static_cast<bool>(menu_);
}

void CMenuOwnerDraw::Attach(HMENU menu) {
    // The items that point at the records go with their menu.
    menu_.Reset(menu);
    for (int i = 0; i < count_; ++i) records_[i] = Record{};
    count_ = 0;
}

void CMenuOwnerDraw::Destroy() {
    Attach(nullptr);
}

int CMenuOwnerDraw::CountTree(HMENU popup, int depth) const {
    const int items = GetMenuItemCount(popup);
    if (items < 0 || depth > kMaxMenuDepth) return -1;
    int total = items;
    for (int pos = 0; pos < items; ++pos) {
        if (HMENU sub = GetSubMenu(popup, pos)) {
            const int inner = CountTree(sub, depth + 1);
            if (inner < 0) return -1;
            total += inner;
            if (total > kCapacity) return total;
        }
    }
    return total;
}

bool CMenuOwnerDraw::RegisterItems(HMENU popup) {
    if (!popup) return false;
    const int needed = CountTree(popup, 0);
    if (needed < 0 || needed > kCapacity - count_) return false;
    const int before = count_;
    RegisterTree(popup);
    return count_ - before == needed;
}

void CMenuOwnerDraw::RegisterTree(HMENU popup) {
    const int items = GetMenuItemCount(popup);
    for (int pos = 0; pos < items && count_ < kCapacity; ++pos) {
        Record& record = records_[count_];
        wchar_t text[kMaxTextLength + 1] = {};
        const int length =
            GetMenuStringW(popup, static_cast<UINT>(pos), text, kMaxTextLength + 1, MF_BYPOSITION);
        record.text.assign(text, length > 0 ? static_cast<size_t>(length) : 0);
        record.commandId = GetMenuItemID(popup, pos);
        record.icon = -1;

        const UINT state = GetMenuState(popup, static_cast<UINT>(pos), MF_BYPOSITION);
        HMENU sub = GetSubMenu(popup, pos);
        UINT flags = MF_BYPOSITION | MF_OWNERDRAW | (state & kKeptStates);
        UINT_PTR newId = record.commandId;
        if (sub) {
            flags |= MF_POPUP;
            newId = reinterpret_cast<UINT_PTR>(sub);
        } else if (state & MF_SEPARATOR) {
            // Still a separator: never highlighted, never chosen.
            flags |= MF_SEPARATOR;
        }
        if (!ModifyMenuW(popup, static_cast<UINT>(pos), flags, newId,
                         reinterpret_cast<LPCWSTR>(&record))) {
            record = Record{};
            continue;
        }
        ++count_;
        if (sub) RegisterTree(sub);
    }
}

bool CMenuOwnerDraw::LoadIconStrip(UINT bitmapId) {
    if (strip_.Load(instance_, bitmapId)) {
        stripSize_ = BitmapSize(strip_.Bitmap());
        iconSide_ = stripSize_.cy;
    } else {
        strip_.Reset();
        stripSize_ = {};
        iconSide_ = 0;
    }
    if (iconSide_ <= 0) {
        strip_.Reset();
        for (int i = 0; i < count_; ++i) records_[i].icon = -1;
        box_ = MenuIconBoxFor(checkSize_.cx, checkSize_.cy);
        return false;
    }
    box_ = MenuIconBoxFor(iconSide_, iconSide_);
    return true;
}

bool CMenuOwnerDraw::SetItemIcon(uint32_t commandId, int index) {
    if (!strip_.Dc() || iconSide_ <= 0) return false;
    if (index < -1 || index >= stripSize_.cx / iconSide_) return false;
    for (int i = 0; i < count_; ++i) {
        if (records_[i].commandId == commandId) {
            records_[i].icon = index;
            return true;
        }
    }
    return false;
}

const CMenuOwnerDraw::Record* CMenuOwnerDraw::RecordOf(ULONG_PTR itemData) const {
    // Only the address of a record in use is accepted: item data of another menu, or of a
    // menu whose records were released, is not ours to draw.
    const auto first = reinterpret_cast<uintptr_t>(records_.data());
    const uintptr_t data = itemData;
    if (data < first) return nullptr;
    const uintptr_t offset = data - first;
    if (offset % sizeof(Record) != 0 || offset / sizeof(Record) >= static_cast<size_t>(count_))
        return nullptr;
    return &records_[offset / sizeof(Record)];
}

bool CMenuOwnerDraw::MeasureItem(MEASUREITEMSTRUCT* item) const {
    if (!item || item->CtlType != ODT_MENU) return false;
    const Record* record = RecordOf(item->itemData);
    if (!record) return false;
    const MenuItemSize size = MenuItemSizeFor(record->commandId);
    item->itemWidth = static_cast<UINT>(size.width);
    item->itemHeight = static_cast<UINT>(size.height);
    return true;
}

bool CMenuOwnerDraw::DrawItem(const DRAWITEMSTRUCT* item) const {
    if (!item || item->CtlType != ODT_MENU) return false;
    const Record* record = RecordOf(item->itemData);
    if (!record) return false;

    HDC dc = item->hDC;
    const RECT& rect = item->rcItem;
    const UINT state = item->itemState;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldBack = GetBkColor(dc);
    const COLORREF oldText = GetTextColor(dc);

    if (record->commandId != 0) {
        if (state & ODS_SELECTED) {
            // Frame with the surface's own pen and brush, then the gradient inside it.
            Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
            RECT inner = rect;
            InflateRect(&inner, -1, -1);
            const int rows = inner.bottom - inner.top;
            for (int d = 0; d < rows; ++d)
                FillSolid(dc, inner.left, inner.top + d, inner.right - inner.left, 1,
                          GradientRowColour(kMenuGrey, kMenuWhite, rows, d));
        } else {
            FillSolid(dc, rect, kMenuBackground);
        }

        const bool greyed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
        SetTextColor(dc, greyed ? kMenuGrey : kMenuBlack);
        RECT textRect = rect;
        textRect.left += kMenuColumnWidth;
        DrawTextW(dc, record->text.c_str(), static_cast<int>(record->text.size()), &textRect,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER);

        DrawPicture(dc, rect, *record, state);
    } else {
        FillSolid(dc, rect, kMenuGrey);
        Draw3dFrame(dc, rect, kMenuSeparatorDark, kMenuWhite);
    }

    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SetBkMode(dc, oldMode);
    return true;
}

void CMenuOwnerDraw::DrawPicture(HDC dc, const RECT& item, const Record& record, UINT state) const {
    const int x = item.left + box_.left, y = item.top + box_.top;
    const int w = box_.right - box_.left, h = box_.bottom - box_.top;
    const bool greyed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;

    if (record.icon < 0) {
        if (!checked || !check_.Dc()) return;
        if (greyed)
            StretchBlt(dc, x, y, w, h, check_.Dc(), 0, 0, checkSize_.cx, checkSize_.cy, MERGEPAINT);
        else
            TransparentBlt(dc, x, y, w, h, check_.Dc(), 0, 0, checkSize_.cx, checkSize_.cy,
                           transparent_);
        return;
    }

    const int side = iconSide_;
    const int sx = record.icon * side;
    if (!strip_.Dc() || side <= 0 || sx + side > stripSize_.cx) return;
    HDC strip = strip_.Dc();
    const COLORREF white = kMenuWhite;
    TransparentBlt(dc, x, y, w, h, strip, sx, 0, side, side, white);
    if (greyed)
        StretchBlt(dc, x, y, w, h, strip, sx, 0, side, side, MERGEPAINT);
    else if (checked)
        StretchBlt(dc, x, y, w, h, strip, sx, 0, side, side, NOTSRCERASE);
    else
        TransparentBlt(dc, x, y, w, h, strip, sx, 0, side, side, white);
}

bool SetMenuBackground(HMENU menu, HBRUSH brush) {
    if (!menu) return false;
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.dwStyle = kMenuStyleWord;
    info.hbrBack = brush;
    return SetMenuInfo(menu, &info) != FALSE;
}

}  // namespace orvane
