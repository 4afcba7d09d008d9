// The main window's menus: the popups of the current language drawn by the program, opened
// below the four menu buttons with their items enabled and checked for the moment.
#include "app/ivora_dlg.h"
#include "app/rules/language.h"
#include "capture/negotiation.h"
#include "resources/lang/menu_ids.h"
#include "resources/resource.h"

namespace orvane {

namespace {

enum Popup { kFilePopup = 0, kSettingPopup = 1, kCapturePopup = 2, kHelpPopup = 3 };

void CheckCommand(HMENU popup, UINT command, bool checked) {
    CheckMenuItem(popup, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void EnablePosition(HMENU popup, UINT position, bool enabled) {
    EnableMenuItem(popup, position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void CIvoraDlg::LoadMenus() {
    popups_ = {};
    const LanguageInfo& language = LanguageInfoFor(settings_.Language);
    cellShared_.contextMenu = language.contextMenu;
    if (!menu_.Load(Instance(), static_cast<UINT>(language.mainMenu))) return;
    for (int i = 0; i < 4; ++i) {
        popups_[static_cast<size_t>(i)] = GetSubMenu(menu_.Menu(), i);
        if (popups_[static_cast<size_t>(i)]) menu_.RegisterItems(popups_[static_cast<size_t>(i)]);
    }
    SetMenuBackground(menu_.Menu(), menuBrush_.Get());
}

void CIvoraDlg::OnMenuButton(UINT id) {
    if (openMenuButton_ == static_cast<int>(id)) {
        // The click that closed this button's popup does not open it again.
        openMenuButton_ = 0;
        return;
    }
    openMenuButton_ = static_cast<int>(id);
    POINT at{};
    bool placed = false;
    for (const LayoutEntry& e : layout_) {
        if (e.id != static_cast<int>(id)) continue;
        at = {e.x, e.y + e.height};
        ClientToScreen(Hwnd(), &at);
        placed = true;
        break;
    }
    if (!placed) {
        GetCursorPos(&at);
        at.x -= 10;
        at.y += 10;
    }
    const size_t index = id - IDC_BTN_MENU_FILE;
    if (index >= popups_.size()) return;
    HMENU popup = popups_[index];
    if (!popup) return;
    if (index == kFilePopup) PrepareFilePopup(popup);
    if (index == kSettingPopup) PrepareSettingPopup(popup);
    if (index == kCapturePopup) {
        CheckMenuItem(popup, 1, MF_BYPOSITION | (recording_ ? MF_CHECKED : MF_UNCHECKED));
    }
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, Hwnd(), nullptr);
}

void CIvoraDlg::PrepareFilePopup(HMENU popup) {
    const bool any = !strip_.Selection().Empty();
    for (UINT command :
         {ID_FILE_OPEN, ID_FILE_DELETE, ID_FILE_COPY_IMAGE, ID_FILE_COPY_FILE, ID_FILE_SAVE_AS}) {
        EnableMenuItem(popup, command, MF_BYCOMMAND | (any ? MF_ENABLED : MF_GRAYED));
    }
    stackFocus_.PrepareMenu(popup, settings_.VideoThumbFolderPath);
}

void CIvoraDlg::PrepareSettingPopup(HMENU popup) {
    const ResolutionMenu resolution = BuildResolutionMenu(
        deviceCount_, graph_.IsModel6710(), graph_.DeviceCodeAt(graph_.CurrentDevice()),
        graph_.StillSize(), settings_.ResolutionDisplay);
    EnablePosition(popup, 0, resolution.resolutionEnabled);
    EnablePosition(popup, 1, resolution.imageSettingsEnabled);
    EnablePosition(popup, 2, resolution.compressionEnabled);
    if (HMENU sizes = GetSubMenu(popup, 0)) {
        for (int id : ResolutionMenuIds()) DeleteMenu(sizes, static_cast<UINT>(id), MF_BYCOMMAND);
        // Whatever else the submenu holds (its separators) goes too: it is rebuilt whole.
        while (GetMenuItemCount(sizes) > 0) DeleteMenu(sizes, 0, MF_BYPOSITION);
        for (const MenuEntry& entry : resolution.entries) {
            const std::wstring text(entry.text.begin(), entry.text.end());
            switch (entry.kind) {
                case MenuEntry::Kind::Separator:
                    AppendMenuW(sizes, MF_SEPARATOR, 0, nullptr);
                    break;
                case MenuEntry::Kind::Caption:
                    AppendMenuW(sizes, MF_STRING | MF_GRAYED,
                                static_cast<UINT_PTR>(entry.commandId), text.c_str());
                    break;
                case MenuEntry::Kind::Item:
                    AppendMenuW(sizes, MF_STRING | (entry.checked ? MF_CHECKED : MF_UNCHECKED),
                                static_cast<UINT_PTR>(entry.commandId), text.c_str());
                    break;
            }
        }
    }
    CheckCommand(popup, ID_SETTING_DATE_TIME, settings_.bDisplayDateTime != 0);
    CheckCommand(popup, ID_SETTING_CROSSING_CURSOR, settings_.bShowCross != 0);
    CheckCommand(popup, ID_SETTING_VIDEO_COMPRESSION, settings_.VideoCompression != 0);
    CheckCommand(popup, ID_SETTING_SCALE_BAR, results_.LiveBarOn());
}

LRESULT CIvoraDlg::OnMeasureItem(WPARAM, LPARAM lParam) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    return item->CtlType == ODT_MENU && menu_.MeasureItem(item) ? TRUE : FALSE;
}

}  // namespace orvane
