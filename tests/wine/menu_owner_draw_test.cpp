// The owner-drawn menu with the program's own menus and pictures, drawn into memory surfaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

#include "widgets/menu_owner_draw.h"
#include "lang/menu_ids.h"

namespace orvane {
namespace {

constexpr COLORREF kBackground = RGB(233, 233, 238), kWhite = RGB(255, 255, 255);
const HINSTANCE kModule = GetModuleHandleW(nullptr);

// A 32-bit memory surface, white, with the default pen (black) and brush (white).
class Canvas {
  public:
    Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        PatBlt(dc_.Get(), 0, 0, width, height, WHITENESS);
    }
    ~Canvas() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }

  private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

MENUITEMINFOW ItemInfo(HMENU popup, int pos) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(popup, static_cast<UINT>(pos), TRUE, &info);
    return info;
}
ULONG_PTR ItemData(HMENU popup, int pos) {
    return ItemInfo(popup, pos).dwItemData;
}
const CMenuOwnerDraw::Record& RecordAt(HMENU popup, int pos) {
    return *reinterpret_cast<const CMenuOwnerDraw::Record*>(ItemData(popup, pos));
}

bool Draw(const CMenuOwnerDraw& menu, ULONG_PTR data, UINT state, const Canvas& canvas,
          RECT rect = {0, 0, 280, 22}) {
    DRAWITEMSTRUCT item{ODT_MENU, 0, 0, ODA_DRAWENTIRE, state, nullptr, canvas.Dc(), rect, data};
    return menu.DrawItem(&item);
}

HMENU Popup(const CMenuOwnerDraw& menu, int index) {
    return GetSubMenu(menu.Menu(), index);
}

bool LoadMainMenu(CMenuOwnerDraw& menu) {
    if (!menu.Load(kModule, IDR_MENU_MAIN_EN)) return false;
    for (int i = 0; i < 4; ++i)
        if (!menu.RegisterItems(Popup(menu, i))) return false;
    return true;
}

// Live GDI objects of the process. Wine 8's GetGuiResources reads 0; its GDI finds an object
// by the table index alone, so there every index is tried.
int GdiObjectCount() {
    if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(counted);
    int live = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index)
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return live;
}

TEST(MenuOwnerDraw, RegistersAndMeasuresEveryItemOfTheMainMenu) {
    CMenuOwnerDraw menu;
    ASSERT_TRUE(menu.Load(kModule, IDR_MENU_MAIN_EN));
    const int items[4] = {12, 28, 3, 3};  // File, Setting with Resolution, Capture, Help
    int total = 0;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(menu.RegisterItems(Popup(menu, i)));
        total += items[i];
        EXPECT_EQ(menu.RecordCount(), total) << "popup " << i;
    }
    HMENU file = Popup(menu, 0), setting = Popup(menu, 1), sizes = GetSubMenu(setting, 0);
    EXPECT_EQ(RecordAt(file, 11).text, L"Exit");
    EXPECT_EQ(RecordAt(file, 11).commandId, static_cast<uint32_t>(ID_FILE_EXIT));
    EXPECT_EQ(RecordAt(file, 11).icon, -1);
    EXPECT_EQ(RecordAt(file, 10).commandId, 0u);
    EXPECT_EQ(RecordAt(setting, 0).text, L"Resolution");
    EXPECT_EQ(RecordAt(setting, 0).commandId, 0xFFFFFFFFu);
    EXPECT_EQ(RecordAt(setting, 5).text, L"Display date && time");
    // Ids, submenus, separators and states survive the change to owner-drawn.
    EXPECT_EQ(GetMenuItemID(file, 11), static_cast<UINT>(ID_FILE_EXIT));
    ASSERT_NE(sizes, nullptr);
    EXPECT_EQ(ItemInfo(file, 10).fType, static_cast<UINT>(MFT_OWNERDRAW | MFT_SEPARATOR));
    EXPECT_EQ(ItemInfo(sizes, 9).fState & MFS_GRAYED, static_cast<UINT>(MF_GRAYED));

    for (auto [popup, pos, height] : {std::tuple{file, 11, 22u}, std::tuple{file, 10, 3u},
                                      std::tuple{setting, 0, 22u}, std::tuple{sizes, 10, 3u}}) {
        MEASUREITEMSTRUCT item{ODT_MENU, 0, 0, 0, 0, ItemData(popup, pos)};
        ASSERT_TRUE(menu.MeasureItem(&item));
        EXPECT_EQ(item.itemWidth, 280u);
        EXPECT_EQ(item.itemHeight, height);
    }
    MEASUREITEMSTRUCT button{ODT_BUTTON, 0, 0, 0, 0, ItemData(file, 11)};
    EXPECT_FALSE(menu.MeasureItem(&button));

    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    ASSERT_TRUE(SetMenuBackground(menu.Menu(), red.Get()));
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    ASSERT_TRUE(GetMenuInfo(sizes, &info));
    EXPECT_EQ(info.hbrBack, red.Get());
}

TEST(MenuOwnerDraw, SelectedItemIsFramedOverAGradientAndSeparatorsAreSunken) {
    CMenuOwnerDraw menu;
    ASSERT_TRUE(LoadMainMenu(menu));
    Canvas item(280, 22);
    ASSERT_TRUE(Draw(menu, ItemData(Popup(menu, 0), 11), ODS_SELECTED, item));  // "Exit"
    for (POINT p : {POINT{0, 0}, POINT{279, 0}, POINT{0, 21}, POINT{279, 21}, POINT{140, 21}})
        EXPECT_EQ(item.At(p.x, p.y), RGB(0, 0, 0)) << p.x << "," << p.y;
    for (int d = 0; d < 20; ++d) {
        const int v = 127 + 6 * d;
        for (int x : {1, 39, 278}) EXPECT_EQ(item.At(x, 1 + d), RGB(v, v, v)) << d << " " << x;
    }
    // The surface's modes and colours are as they were.
    EXPECT_EQ(GetBkMode(item.Dc()), OPAQUE);
    EXPECT_EQ(GetBkColor(item.Dc()), kWhite);

    Canvas separator(280, 3);
    ASSERT_TRUE(Draw(menu, ItemData(Popup(menu, 0), 10), 0, separator, {0, 0, 280, 3}));
    const COLORREF dark = RGB(63, 63, 63), grey = RGB(127, 127, 127);
    const struct {
        int x, y;
        COLORREF colour;
    } pixels[] = {{0, 0, dark},   {278, 0, dark},   {0, 1, dark},     {140, 1, grey},
                  {278, 1, grey}, {279, 0, kWhite}, {279, 1, kWhite}, {0, 2, kWhite}};
    for (auto p : pixels) EXPECT_EQ(separator.At(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST(MenuOwnerDraw, CheckedItemShowsTheCheckPictureAndGreyedItemsGreyText) {
    CMenuOwnerDraw menu;
    ASSERT_TRUE(LoadMainMenu(menu));
    EXPECT_EQ(menu.IconBox(), (MenuIconBox{11, 1, 29, 19}));
    BitmapSurface check;
    ASSERT_TRUE(check.Load(kModule, 307));
    const COLORREF key = GetPixel(check.Dc(), 0, 0);

    // "Display crossing cursor", drawn as the second item of the surface; enabled it is
    // selected too, so the clear pixels show the gradient rows behind the picture.
    const ULONG_PTR cross = ItemData(Popup(menu, 1), 4);
    for (bool greyed : {false, true}) {
        Canvas canvas(280, 44);
        const UINT state = ODS_CHECKED | (greyed ? ODS_GRAYED : ODS_SELECTED);
        ASSERT_TRUE(Draw(menu, cross, state, canvas, {0, 22, 280, 44}));
        int marked = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                const COLORREF src = GetPixel(check.Dc(), x, y);
                const int row = 127 + 6 * y;
                marked += src != key;
                COLORREF want = src == key ? RGB(row, row, row) : src;
                if (greyed) want = (~src & 0xFFFFFF) | kBackground;  // MERGEPAINT
                ASSERT_EQ(canvas.At(11 + x, 23 + y), want) << x << "," << y << " " << greyed;
            }
        EXPECT_GT(marked, 20);
        EXPECT_EQ(canvas.At(29, 30), greyed ? kBackground : RGB(169, 169, 169));
        // The text lies right of the column; its darkest pixel is black, or grey when greyed.
        int darkest = 255;
        for (int y = 22; y < 44; ++y)
            for (int x = 40; x < 280; ++x)
                darkest = std::min<int>(darkest, GetRValue(canvas.At(x, y)));
        EXPECT_EQ(darkest, greyed ? 127 : 0);
    }
    Canvas unchecked(280, 22);
    ASSERT_TRUE(Draw(menu, cross, 0, unchecked));
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(unchecked.At(x, y), kBackground) << x << "," << y;
}

TEST(MenuOwnerDraw, IconsComeFromTheStripWithTheirRasterRules) {
    CMenuOwnerDraw menu;
    ASSERT_TRUE(menu.Load(kModule, IDR_MENU_EDITOR_EN));
    ASSERT_TRUE(menu.RegisterItems(Popup(menu, 0)));
    EXPECT_FALSE(menu.SetItemIcon(ID_DRAW_ARROW, 1));  // no strip yet
    ASSERT_TRUE(menu.LoadIconStrip(162));
    EXPECT_EQ(menu.IconBox(), (MenuIconBox{12, 2, 28, 18}));
    EXPECT_FALSE(menu.SetItemIcon(12345, 1));
    EXPECT_FALSE(menu.SetItemIcon(ID_DRAW_ARROW, 17));  // the strip holds 17 icons
    ASSERT_TRUE(menu.SetItemIcon(ID_DRAW_ARROW, 1));

    BitmapSurface strip;
    ASSERT_TRUE(strip.Load(kModule, 162));
    // The second copy over the transparent one: none (transparent again), or a raster operation.
    for (auto [state, rop] : {std::pair{0u, DWORD{0}}, std::pair{UINT{ODS_CHECKED}, NOTSRCERASE},
                              std::pair{UINT{ODS_GRAYED}, MERGEPAINT},
                              std::pair{UINT{ODS_CHECKED | ODS_GRAYED}, MERGEPAINT}}) {
        Canvas canvas(280, 22);
        ASSERT_TRUE(Draw(menu, ItemData(Popup(menu, 0), 1), state, canvas));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF src = GetPixel(strip.Dc(), 16 + x, y);
                const COLORREF clear = src == kWhite ? kBackground : src;
                const COLORREF want = rop == NOTSRCERASE  ? ~(clear | src) & 0xFFFFFF
                                      : rop == MERGEPAINT ? (~src & 0xFFFFFF) | clear
                                                          : clear;
                ASSERT_EQ(canvas.At(12 + x, 2 + y), want) << x << "," << y << " " << state;
            }
    }
}

TEST(MenuOwnerDraw, RebuildsStayWithinTheTableAndLeakNothing) {
    auto rebuildAndDraw = [](CMenuOwnerDraw& menu) {
        ASSERT_TRUE(LoadMainMenu(menu));
        Canvas canvas(280, 22);
        for (UINT state : {ODS_SELECTED, ODS_CHECKED, ODS_CHECKED | ODS_GRAYED})
            ASSERT_TRUE(Draw(menu, ItemData(Popup(menu, 1), 4), state, canvas));
    };
    {  // The platform's own first-use objects are not ours.
        CMenuOwnerDraw menu;
        rebuildAndDraw(menu);
    }
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    {
        CMenuOwnerDraw menu;
        HMENU previous = nullptr;
        for (int build = 0; build < 20; ++build) {
            rebuildAndDraw(menu);
            ASSERT_EQ(menu.RecordCount(), 46) << build;
            EXPECT_TRUE(!previous || !IsMenu(previous)) << build;
            previous = menu.Menu();
        }
        // Without a rebuild the table fills: a popup that does not fit is refused whole.
        UniqueMenu extra[3];
        int refused = 0;
        for (auto& m : extra) {
            m.Reset(LoadMenuW(kModule, MAKEINTRESOURCEW(IDR_MENU_MAIN_EN)));
            for (int i = 0; i < 4; ++i) {
                const int count = menu.RecordCount();
                if (menu.RegisterItems(GetSubMenu(m.Get(), i))) continue;
                ++refused;
                EXPECT_EQ(menu.RecordCount(), count);
                EXPECT_EQ(ItemInfo(GetSubMenu(m.Get(), i), 0).fType & MFT_OWNERDRAW, 0u);
            }
        }
        // The first takes all 46; after it only Setting (28 records) no longer fits, twice.
        EXPECT_EQ(menu.RecordCount(), 46 + 46 + 2 * (12 + 3 + 3));
        EXPECT_EQ(refused, 2);

        const ULONG_PTR exit = ItemData(Popup(menu, 0), 11);
        menu.Destroy();
        EXPECT_EQ(menu.RecordCount(), 0);
        EXPECT_FALSE(Draw(menu, exit, ODS_SELECTED, Canvas(280, 22)));
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
}  // namespace orvane
