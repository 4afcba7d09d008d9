// Save As of the editor: the working picture with its annotations, at its own size or
// 320 x 240, stamped with the information chosen for saved photos, as BMP or JPEG.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "editor/rules/window_rules.h"
#include "app/messages.h"
#include "editor/window/editor_dlg.h"
#include "media/stamp/pixel_rows.h"
#include "media/stamp/stamp_layout.h"
#include "media/win/picture_rows_io.h"
#include "media/win/save_as_dialog.h"
#include "media/win/stamp_painter.h"
#include "media/win/win_media_files.h"
#include "platform/reg_key.h"
#include "platform/wide.h"
#include "resource.h"

namespace orvane {

namespace {

constexpr int32_t kSmallWidth = 320;
constexpr int32_t kSmallHeight = 240;

// The stamp choice of saved photos, as the main window stores it.
struct StampSettings {
    uint32_t bits = 0;
    LOGFONTW font{};
    COLORREF colour = 0;
};

StampSettings ReadStampSettings() {
    StampSettings s;
    s.font.lfHeight = -21;
    s.font.lfWeight = FW_BOLD;
    s.font.lfOutPrecision = OUT_STROKE_PRECIS;
    s.font.lfClipPrecision = CLIP_STROKE_PRECIS;
    s.font.lfQuality = DRAFT_QUALITY;
    s.font.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
    wcscpy(s.font.lfFaceName, L"Times New Roman");
    RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, L"Software\\Orvane")) return s;
    std::string bytes;
    DWORD type = 0;
    if (key.Query(L"PhotoSavedInfo", type, bytes) && type == REG_DWORD && bytes.size() == 4) {
        std::memcpy(&s.bits, bytes.data(), 4);
        s.bits &= kStampBitsMask;
    }
    if (key.Query(L"PhotoSavedInfoFontColor", type, bytes) && type == REG_DWORD &&
        bytes.size() == 4) {
        std::memcpy(&s.colour, bytes.data(), 4);
    }
    if (key.Query(L"PhotoSavedInfoFont", type, bytes) && type == REG_BINARY &&
        bytes.size() == sizeof(LOGFONTW)) {
        std::memcpy(&s.font, bytes.data(), sizeof(LOGFONTW));
        s.font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    return s;
}

// The working picture as top-down rows of blue, green, red.
bool WorkingRows(HBITMAP picture, int32_t width, int32_t height, PixelRows& rows) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t row = static_cast<size_t>(width) * 3;
    const size_t stride = (row + 3) & ~size_t{3};
    // Read at the platform's padded stride into the rows' own storage, then packed in place:
    // the picture is copied once.
    try {
        rows.bytes.resize(stride * static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    HDC screen = GetDC(nullptr);
    const int got = GetDIBits(screen, picture, 0, static_cast<UINT>(height), rows.bytes.data(),
                              &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (got != height) return false;
    rows.width = width;
    rows.height = height;
    rows.topDown = true;
    for (int32_t y = 1; y < height; ++y) {
        std::memmove(rows.bytes.data() + row * y, rows.bytes.data() + stride * y, row);
    }
    rows.bytes.resize(row * static_cast<size_t>(height));
    return true;
}

// The progress strip shown while the rows are sampled.
class ProgressStrip : public Dialog {
  public:
    ProgressStrip() : Dialog(IDD_PROCESS) {}
    void Start(HWND owner, int32_t rows) {
        if (!Create(owner)) return;
        SendMessageW(Item(531), PBM_SETRANGE32, 0, rows);
        RECT o{}, r{};
        GetWindowRect(owner, &o);
        GetWindowRect(Hwnd(), &r);
        SetWindowPos(Hwnd(), nullptr, (o.left + o.right - (r.right - r.left)) / 2,
                     (o.top + o.bottom - (r.bottom - r.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    void Advance(int32_t row) {
        if (Hwnd()) SendMessageW(Item(531), PBM_SETPOS, static_cast<WPARAM>(row), 0);
    }
};

std::wstring ProposedName(const std::u16string& picture) {
    std::wstring base = ToWide(picture);
    base = base.substr(base.find_last_of(L'\\') + 1);
    base = base.substr(0, base.find_last_of(L'.'));
    wchar_t folder[MAX_PATH + 1]{};
    if (SHGetSpecialFolderPathW(nullptr, folder, CSIDL_MYPICTURES, TRUE)) {
        return std::wstring(folder) + L"\\" + base;
    }
    return base;
}

}  // namespace

bool CIvoraImgEdtDlg::SaveAsWithDialog() {
    CSaveAsDialog dialog(false, nullptr, ProposedName(path_), 0x1000,
                         L"Bitmap image(*.BMP)|*.BMP|JPEG image(*.JPG)|*.JPG|TIFF image(*.TIF)|*.TIF||",
                         Hwnd());
    dialog.SetTitle(Text(21));
    if (!dialog.DoModal()) return false;
    return SaveAs(FromWide(dialog.PathName()), dialog.FilterIndex(), dialog.FullSizeChosen());
}

bool CIvoraImgEdtDlg::SaveAs(const std::u16string& typedName, int32_t filterIndex, bool fullSize) {
    const std::u16string name = editor::SaveAsName(typedName, filterIndex);
    const int32_t width = canvas_.ImageWidth();
    const int32_t height = canvas_.ImageHeight();
    PixelRows picture;
    bool ok =
        canvas_.PictureLoaded() && WorkingRows(canvas_.WorkingBitmap(), width, height, picture);
    if (ok) {
        const int32_t outWidth = fullSize ? width : kSmallWidth;
        const int32_t outHeight = fullSize ? height : kSmallHeight;
        ProgressStrip progress;
        progress.Start(Hwnd(), outHeight);
        const float factor = editor::SampleFactor(width, height, outWidth, outHeight);
        std::vector<int32_t> columns(static_cast<size_t>(outWidth));
        for (int32_t x = 0; x < outWidth; ++x) {
            columns[x] = std::min(editor::SampleIndex(x, factor), width - 1);
        }
        PixelRows out;
        if (fullSize) {
            // Every pixel samples itself: the rows are the output.
            out = std::move(picture);
            progress.Advance(outHeight);
        } else {
            out.width = outWidth;
            out.height = outHeight;
            out.topDown = true;
            out.bytes.resize(static_cast<size_t>(outWidth) * outHeight * 3);
            for (int32_t y = 0; y < outHeight; ++y) {
                const uint8_t* in =
                    picture.Row(std::min(editor::SampleIndex(y, factor), height - 1));
                uint8_t* row = out.Row(y);
                for (int32_t x = 0; x < outWidth; ++x) {
                    std::memcpy(row + 3 * static_cast<size_t>(x),
                                in + 3 * static_cast<size_t>(columns[x]), 3);
                }
                progress.Advance(y + 1);
            }
        }
        const StampSettings settings = ReadStampSettings();
        StampRequest stamps;
        stamps.bits = settings.bits;
        stamps.width = outWidth;
        stamps.height = outHeight;
        stamps.fontHeight = settings.font.lfHeight;
        stamps.captureTime = record_.captureTime;
        stamps.path = name;
        stamps.magnification = record_.adjustedMagnification > 1.0 ? record_.adjustedMagnification
                                                                   : record_.magnification;
        stamps.magnificationDecimals = 1;
        const std::vector<StampText> printed = LayoutStamps(stamps);
        StampPixelRows(out, printed, settings.font, settings.colour);
        // Each copy pixel covers factor picture pixels (1 at full size).
        const double ratio = fullSize ? 1.0 : static_cast<double>(factor);
        results_.DecorateCopy(out, width, height, ratio, printed, settings.font, settings.colour);
        ok = editor::IsTiffName(name)
                 ? results_.WriteTiff(ToWide(name), out, width, height, ratio)
                 : WritePictureRows(ToWide(name), out, editor::IsJpegName(name));
    }
    if (!ok) {
        // The annotations stay unsaved and the picture modified, so closing still asks.
        const std::wstring text = Text(kMsgPictureNotSavedAs) + L"\n" + ToWide(name);
        MessageBoxW(Hwnd(), text.c_str(), Text(kMsgEditorTitle).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    canvas_.ClearModified();
    return true;
}

}  // namespace orvane
