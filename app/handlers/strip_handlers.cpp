// The thumbnail strip in the main window: its cells in the layout, clicks and the selection,
// hovering with the large preview, and the strip's scroll bar.
#include "app/ivora_dlg.h"
#include "app/rules/language.h"
#include "media/strip_rules.h"
#include "resources/resource.h"

namespace orvane {

void CIvoraDlg::PrepareStripCells() {
    cellShared_.instance = Instance();
    cellShared_.normal = &cellNormal_;
    cellShared_.selected = &cellSelected_;
    cellShared_.videoBadge = &videoBadge_;
    cellShared_.files = &mediaFiles_;
    cellShared_.clock = &mediaClock_;
    cellShared_.magnification = settings_.InputMaginification;
    cellShared_.thumbFolder = settings_.VideoThumbFolderPath;
    cellShared_.contextMenu = LanguageInfoFor(settings_.Language).contextMenu;
    cellShared_.prepareContextMenu = [this](HWND cell, uint32_t flags, HMENU popup) {
        stackFocus_.PrepareContextMenu(popup, cell, flags, settings_.VideoThumbFolderPath);
    };
    strip_.Attach(Hwnd(), Item(IDC_STRIP_SCROLL), &cellShared_, &media_);
}

void CIvoraDlg::PlaceStripCell(const LayoutEntry& entry, int visibleCells) {
    const RECT rect{entry.x, entry.y, entry.x + entry.width, entry.y + entry.height};
    if (entry.id == kLargePreviewId) {
        strip_.CreatePreview(rect);
        return;
    }
    const int offset = entry.id - kFirstCellId;
    if (offset < 0 || offset >= kMaxStripCells) return;
    const int k = (offset % 8) * 2 + offset / 8 + 1;
    if (k <= visibleCells) strip_.CreateCell(k, rect);
}

LRESULT CIvoraDlg::OnThumbClick(WPARAM cell, LPARAM flags) {
    const std::optional<std::u16string> open =
        strip_.OnClick(reinterpret_cast<HWND>(cell), static_cast<uint32_t>(flags));
    if (open && !open->empty()) OpenPictureEditor(*open);
    return 0;
}

void CIvoraDlg::OpenPictureEditor(const std::u16string& path) {
    if (editor_) return;  // one editor at a time
    editor_ = std::make_unique<CIvoraImgEdtDlg>(path, mediaFiles_, mediaClock_);
    SetEditorMode(reinterpret_cast<const wchar_t*>(path.c_str()));
    // A picture that cannot be opened posts WM_EDITOR_CLOSED, which restores the main window.
    editor_->Open(Hwnd());
}

LRESULT CIvoraDlg::OnThumbHover(WPARAM cell, LPARAM lParam) {
    const auto hover = static_cast<uint32_t>(lParam);
    const bool repeated = hover == lastHover_;
    lastHover_ = hover;
    if (repeated || editorMode_) return 0;
    CPictureView& preview = strip_.Preview();
    if (hover == kHoverEnter) {
        const int k = strip_.CellOf(reinterpret_cast<HWND>(cell));
        if (k == 0) return 0;
        const std::u16string path = strip_.Cell(k).Path();
        if (path.empty()) {
            // Nothing of the file hovered before stays in view.
            currentRecord_ = {};
            preview.SetItem(nullptr);
            preview.SetPreviewRecord(nullptr);
        } else {
            currentRecord_ =
                ReadMediaInfo(path, settings_.InputMaginification, mediaFiles_, mediaClock_);
            preview.SetItem(&path);
            preview.SetPreviewRecord(&currentRecord_);
        }
        ShowWindow(preview.Hwnd(), SW_SHOW);
        graph_.SetVideoWindow(false, PreviewRect());
        FollowScaleBar();
    } else if ((hover & kHoverMove) == kHoverMove && (hover & kHoverLeave) == 0) {
        preview.SetTextColour(QuadrantTextColour(hover & 3));
        InvalidateRect(preview.Hwnd(), nullptr, FALSE);
    } else if (hover == kHoverLeave) {
        if (deviceCount_ != 0) graph_.SetVideoWindow(true, PreviewRect());
        ShowWindow(preview.Hwnd(), SW_HIDE);
        FollowScaleBar();
    }
    return 0;
}

LRESULT CIvoraDlg::OnVerticalScroll(WPARAM wParam, LPARAM lParam) {
    HWND bar = reinterpret_cast<HWND>(lParam);
    if (!bar || bar != Item(IDC_STRIP_SCROLL)) return 0;
    media_.OnScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), GetScrollPos(bar, SB_CTL));
    return 0;
}

}  // namespace orvane
