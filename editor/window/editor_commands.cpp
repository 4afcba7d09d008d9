// The editor window's commands: tools and settings from the menus, the magnification
// commands, Save As and the two clipboard copies.
#include <windows.h>
#include <commdlg.h>
#include <objidl.h>  // before gdiplus.h
#include <gdiplus.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/messages.h"
#include "editor/rules/magnification.h"
#include "editor/rules/window_rules.h"
#include "editor/win/style_choosers.h"
#include "editor/window/editor_dlg.h"
#include "editor/window/magnification_dlgs.h"
#include "platform/image_codecs.h"
#include "platform/reg_key.h"
#include "platform/wide.h"
#include "resource.h"
#include "resources/lang/menu_ids.h"
#include "widgets/message_box.h"

namespace orvane {
namespace {

bool IsDrawTool(UINT id) {
    return id >= 32803 && id <= 32807;
}

bool IsMeasureTool(UINT id) {
    int32_t kind = 0, mode = 0;
    return MeasureKindOf(static_cast<int32_t>(id), kind, mode) || id == ID_MEASURE_SCALE_BAR;
}

// The working picture as a bottom-up 24-bit DIB: header, then rows padded to 4 bytes.
std::vector<uint8_t> PackedDib(HBITMAP picture, int32_t width, int32_t height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    header.biSizeImage = static_cast<DWORD>(stride * static_cast<size_t>(height));
    std::vector<uint8_t> dib(sizeof header + header.biSizeImage);
    std::memcpy(dib.data(), &header, sizeof header);
    HDC screen = GetDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = header;
    const int rows = GetDIBits(screen, picture, 0, static_cast<UINT>(height),
                               dib.data() + sizeof header, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) dib.clear();
    return dib;
}

}  // namespace

void CIvoraImgEdtDlg::ChooseTool(HMENU popup, UINT id, int firstPos, int lastPos) {
    const bool wasChecked = (GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    for (int i = firstPos; i <= lastPos; ++i) {
        const UINT item = GetMenuItemID(popup, i);
        if (IsDrawTool(item) || IsMeasureTool(item)) {
            CheckMenuItem(popup, i, MF_BYPOSITION | MF_UNCHECKED);
        }
    }
    if (!wasChecked) CheckMenuItem(popup, id, MF_BYCOMMAND | MF_CHECKED);
    canvas_.SetTool(wasChecked ? 0 : static_cast<int32_t>(id));
}

void CIvoraImgEdtDlg::OpenToolMenu(int index) {
    if (!menu_) return;
    HMENU popup = GetSubMenu(menu_.Get(), index);
    if (index == 1) {
        editor::Magnifications& m = canvas_.magnifications;
        if (m.active < 1.0 && !calibrationConfirmed_) {
            m.useAdjusted = false;
            CMessageBox prompt;
            prompt.oneButton = true;
            prompt.SetTexts(Text(kMsgCalibrationTitle), Text(kMsgCalibrationPrompt), Text(kMsgOK),
                            {});
            if (prompt.DoModal(Hwnd()) == IDOK) {
                ChooseTool(popup, 32814, 0, GetMenuItemCount(popup) - 1);
                CheckMenuItem(popup, 32814, MF_BYCOMMAND | MF_CHECKED);
                canvas_.SetTool(32814);
                calibrationConfirmed_ = true;
            }
            return;
        }
        for (int i = 4; i <= 12; ++i) {
            EnableMenuItem(popup, i, MF_BYPOSITION | (m.active < 1.0 ? MF_GRAYED : MF_ENABLED));
        }
        // A scale bar needs a magnification as the lengths do.
        EnableMenuItem(popup, ID_MEASURE_SCALE_BAR,
                       MF_BYCOMMAND | (m.active < 1.0 ? MF_GRAYED : MF_ENABLED));
    }
    POINT p{};
    GetCursorPos(&p);
    const UINT id =
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN, p.x, p.y + 3, 0, Hwnd(), nullptr);
    if (id != 0) ApplyCommand(id);
}

void CIvoraImgEdtDlg::FillSetMagnificationTexts(CSetMagnification& dlg) const {
    dlg.title = Text(kMsgSetMagnificationTitle);
    dlg.prompt = Text(kMsgSetMagnificationPrompt);
    dlg.hint = Text(kMsgSetMagnificationHint);
    dlg.okText = Text(kMsgOK);
    dlg.cancelText = Text(kMsgCancel);
    dlg.notANumber = Text(kMsgEnterNumber);
    dlg.notANumberCaption = Text(kMsgOrvane);
}

void CIvoraImgEdtDlg::WriteCaptureMagnification(double value) {
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, L"Software\\Orvane")) {
        key.Set(L"InputMaginification", REG_BINARY, &value, sizeof value);
    }
    PostMessageW(HWND_BROADCAST, setMessage_, 0, 0);
}

void CIvoraImgEdtDlg::OnAdjustMagnification(double v) {
    if (!(v > 0.0)) return;
    editor::Magnifications& m = canvas_.magnifications;
    const double g = editor::CalibrationReference(m.active);
    CAdjustMagnificationDlg dlg;
    dlg.title = Text(3);
    dlg.unitLabels = {Text(6), Text(7), Text(5), Text(4)};
    dlg.actualLabel = Text(0);
    dlg.adjustedLabel = Text(1);
    dlg.checkLabel = Text(2);
    dlg.okText = Text(kMsgOK);
    dlg.measured = v / g;
    dlg.reference = g;
    dlg.adjusted = m.active;
    dlg.unit = canvas_.properties.unit;
    if (dlg.DoModal(Hwnd()) == IDOK) {
        m.adjusted = dlg.adjusted;
        m.useAdjusted = true;
        m.active = dlg.adjusted;
        record_.adjustedMagnification = dlg.adjusted;
        SetWindowTextA(Item(IDC_EDITOR_MAGNIFICATION), editor::AdjustedText(m.adjusted).c_str());
        if (dlg.useAdjusted) WriteCaptureMagnification(dlg.adjusted);
    }
    canvas_.Undo();
    if (menu_) CheckMenuItem(menu_.Get(), 32814, MF_BYCOMMAND | MF_UNCHECKED);
    canvas_.SetTool(0);
}

void CIvoraImgEdtDlg::ApplyCommand(UINT id) {
    editor::EditorProperties& p = canvas_.properties;
    editor::Magnifications& m = canvas_.magnifications;
    HMENU drawing = menu_ ? GetSubMenu(menu_.Get(), 0) : nullptr;
    HMENU measure = menu_ ? GetSubMenu(menu_.Get(), 1) : nullptr;
    if (IsDrawTool(id) && drawing) {
        ChooseTool(drawing, id, 0, GetMenuItemCount(drawing) - 1);
        return;
    }
    if (IsMeasureTool(id) && measure) {
        editor::RecomputeActive(m);
        ChooseTool(measure, id, 0, GetMenuItemCount(measure) - 1);
        return;
    }
    if (id == ID_MEASURE_SCALE_BAR && measure) {
        // Placed where the user clicks next, like a measurement.
        ChooseTool(measure, id, 0, GetMenuItemCount(measure) - 1);
        return;
    }
    if (id == ID_MEASURE_TABLE) {
        results_.ShowMeasurements(Hwnd(), path_);
        return;
    }
    if (id >= 32855 && id <= 32858) {
        p.unit = static_cast<int32_t>(id - 32855);
        if (measure) {
            CheckMenuRadioItem(GetSubMenu(measure, 18), 32855, 32858, id, MF_BYCOMMAND);
        }
        return;
    }
    switch (id) {
        case IDC_EDITOR_CLOSE:
            Close();
            break;
        case IDC_EDITOR_PREVIOUS:
            Step(false);
            break;
        case IDC_EDITOR_NEXT:
            Step(true);
            break;
        case IDC_EDITOR_UNDO:
            canvas_.Undo();
            break;
        case IDC_EDITOR_REDO:
            canvas_.Redo();
            break;
        case IDC_EDITOR_TEXT:
            canvas_.SetTool(editor::kTextTool);
            break;
        case IDC_EDITOR_DRAW:
        case IDC_EDITOR_DRAW_MORE:
            OpenToolMenu(0);
            break;
        case IDC_EDITOR_MEASURE:
        case IDC_EDITOR_MEASURE_MORE:
            OpenToolMenu(1);
            break;
        case IDC_EDITOR_SAVE_AS:
            SaveAsWithDialog();
            break;
        case IDC_EDITOR_COPY_PICTURE:
            CopyPictureToClipboard();
            break;
        case IDC_EDITOR_COPY_FILE:
            CopyFileToClipboard();
            break;
        case 32892: {
            CSetMagnification dlg(m.active);
            FillSetMagnificationTexts(dlg);
            if (dlg.DoModal(Hwnd()) == IDOK) {
                const std::string text = editor::SetPictureMagnification(m, dlg.value);
                record_.magnification = m.picture;
                record_.adjustedMagnification = 0.0;
                keptMagnification_ = m.picture;
                SetWindowTextA(Item(IDC_EDITOR_MAGNIFICATION), text.c_str());
            }
            break;
        }
        case 32893: {
            CSetMagnification dlg(m.active);
            FillSetMagnificationTexts(dlg);
            if (dlg.DoModal(Hwnd()) == IDOK) WriteCaptureMagnification(dlg.value);
            break;
        }
        case 32894: {
            const std::string text = editor::ResetPictureMagnification(m);
            record_.magnification = 0.0;
            record_.adjustedMagnification = 0.0;
            keptMagnification_ = 0.0;
            SetWindowTextA(Item(IDC_EDITOR_MAGNIFICATION), text.c_str());
            break;
        }
        case 32895:
            WriteCaptureMagnification(0.0);
            break;
        case 32826:
        case 32852: {
            CLineWidth dlg;
            dlg.title = Text(kMsgLineWidth);
            dlg.okText = Text(kMsgOK);
            int32_t& width = id == 32826 ? p.drawWidth : p.measureWidth;
            dlg.selection = width - 1;
            if (dlg.DoModal(Hwnd()) == IDOK) width = dlg.selection + 1;
            break;
        }
        case 32827:
        case 32851: {
            CLineStyle dlg;
            dlg.title = Text(kMsgLineStyle);
            dlg.okText = Text(kMsgOK);
            int32_t& style = id == 32827 ? p.drawStyle : p.measureStyle;
            dlg.selection = style;
            if (dlg.DoModal(Hwnd()) == IDOK) style = dlg.selection;
            break;
        }
        case 32825:
        case 32853: {
            static COLORREF custom[16] = {};
            uint32_t& colour = id == 32825 ? p.drawColor : p.measureColor;
            CHOOSECOLORW cc{};
            cc.lStructSize = sizeof cc;
            cc.hwndOwner = Hwnd();
            cc.rgbResult = colour;
            cc.lpCustColors = custom;
            cc.Flags = CC_FULLOPEN | CC_RGBINIT;
            if (ChooseColorW(&cc)) colour = cc.rgbResult;
            break;
        }
        case 32832:
        case IDC_EDITOR_FONT: {
            editor::FontRecord& font = id == 32832 ? p.measureFont : p.textFont;
            uint32_t& colour = id == 32832 ? p.measureTextColor : p.textColor;
            LOGFONTW lf{};
            std::memcpy(&lf, &font, sizeof lf);
            CHOOSEFONTW cf{};
            cf.lStructSize = sizeof cf;
            cf.hwndOwner = Hwnd();
            cf.lpLogFont = &lf;
            cf.rgbColors = colour;
            cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
            if (ChooseFontW(&cf)) {
                std::memcpy(static_cast<void*>(&font), &lf, sizeof lf);
                font.faceName.back() = 0;
                colour = cf.rgbColors;
            }
            break;
        }
        default:
            break;
    }
}

bool CIvoraImgEdtDlg::CopyPictureToClipboard() {
    if (!canvas_.PictureLoaded()) return false;
    const std::vector<uint8_t> dib =
        PackedDib(canvas_.WorkingBitmap(), canvas_.ImageWidth(), canvas_.ImageHeight());
    if (!OpenClipboard(Hwnd())) return false;
    EmptyClipboard();
    bool ok = false;
    if (!dib.empty()) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
        if (memory != nullptr) {
            std::memcpy(GlobalLock(memory), dib.data(), dib.size());
            GlobalUnlock(memory);
            ok = SetClipboardData(CF_DIB, memory) != nullptr;
            if (!ok) GlobalFree(memory);
        }
    }
    if (!ok) {
        MessageBoxW(Hwnd(), Text(kMsgNotEnoughMemory).c_str(), Text(kMsgWarning).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
    }
    CloseClipboard();
    return ok;
}

bool CIvoraImgEdtDlg::CopyFileToClipboard() {
    const std::wstring path = ToWide(PicturePath());
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL files = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    HGLOBAL effect = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    if (files == nullptr || effect == nullptr) {
        if (files) GlobalFree(files);
        if (effect) GlobalFree(effect);
        return false;
    }
    auto* drop = static_cast<DROPFILES*>(GlobalLock(files));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<uint8_t*>(drop) + sizeof(DROPFILES), path.c_str(),
                path.size() * sizeof(wchar_t));
    GlobalUnlock(files);
    *static_cast<DWORD*>(GlobalLock(effect)) = DROPEFFECT_COPY;
    GlobalUnlock(effect);
    if (!OpenClipboard(Hwnd())) {
        GlobalFree(files);
        GlobalFree(effect);
        return false;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_HDROP, files) != nullptr;
    if (!ok) GlobalFree(files);
    const UINT format = RegisterClipboardFormatW(L"Preferred DropEffect");
    if (SetClipboardData(format, effect) == nullptr) GlobalFree(effect);
    CloseClipboard();
    return ok;
}

}  // namespace orvane
