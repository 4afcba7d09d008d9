// "Save as" of the first selected capture: a picture as a stamped copy of the chosen size and
// format, a clip as a plain copy.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "app/ivora_dlg.h"
#include "app/messages.h"
#include "capture/still/still_files.h"
#include "editor/rules/window_rules.h"
#include "media/media_info.h"
#include "media/stamp/stamp_layout.h"
#include "media/text.h"
#include "media/companion_paths.h"
#include "media/win/save_as_dialog.h"
#include "media/win/stamped_save.h"
#include "media/win/win_media_files.h"
#include "platform/wide.h"

namespace orvane {

namespace {

constexpr DWORD kSaveFlags = 0x1000;

std::wstring SpecialFolder(int id) {
    wchar_t path[MAX_PATH + 1]{};
    if (!SHGetSpecialFolderPathW(nullptr, path, id, TRUE)) return {};
    return path;
}

std::wstring FileNameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L'\\') + 1);
}

LOGFONTW ToLogFont(const LogFontRecord& record) {
    const LogFontRecord::Bytes bytes = record.ToBytes();
    static_assert(sizeof(LOGFONTW) == LogFontRecord::kSize);
    LOGFONTW font{};
    std::memcpy(&font, bytes.data(), sizeof font);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return font;
}

void ShowSaveFailure(HWND owner, int text, const std::wstring& path) {
    const std::wstring message = MessageText(text) + L"\n" + path;
    MessageBoxW(owner, message.c_str(), MessageText(kMsgOrvane).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void CIvoraDlg::OnSaveAs(UINT) {
    const auto& entries = strip_.Selection().entries();
    if (entries.empty() || entries.front().path.empty()) return;
    const std::u16string path = UpperCase(entries.front().path);
    if (IsVideoThumbnailPath(path, settings_.VideoThumbFolderPath)) {
        SaveClipAs(ToWide(VideoPathFromThumbnail(path)));
    } else {
        SaveStampedPictureAs(ToWide(path));
    }
}

void CIvoraDlg::SaveStampedPictureAs(const std::wstring& picture) {
    const std::wstring folder = SpecialFolder(CSIDL_MYPICTURES);
    const std::wstring proposed = (folder.empty() ? L"" : folder + L"\\") + FileNameOf(picture);
    CSaveAsDialog dialog(false, nullptr, proposed, kSaveFlags,
                         L"Bitmap image(*.BMP)|*.BMP|JPEG image(*.JPG)|*.JPG|TIFF image(*.TIF)|*.TIF||",
                         Hwnd());
    dialog.SetTitle(MessageText(21));
    if (!dialog.DoModal()) return;
    const std::wstring target =
        ToWide(editor::SaveAsName(FromWide(dialog.PathName()), dialog.FilterIndex()));

    WinMediaFiles files;
    WinMediaClock clock;
    const MediaInfoRecord info =
        ReadMediaInfo(FromWide(picture), settings_.InputMaginification, files, clock);
    StampedSaveRequest request;
    request.source = picture;
    request.target = target;
    request.fullSize = dialog.FullSizeChosen();
    request.stampBits = settings_.PhotoSavedInfo & kStampBitsMask;
    request.font = ToLogFont(settings_.PhotoSavedInfoFont);
    request.colour = settings_.PhotoSavedInfoFontColor;
    request.captureTime = info.captureTime;
    request.magnification =
        info.adjustedMagnification >= 1.0 ? info.adjustedMagnification : info.magnification;
    results_.PrepareSave(request, info);
    switch (SaveStampedPicture(request)) {
        case StampedSaveResult::Saved:
            break;
        case StampedSaveResult::SourceUnreadable:
            ShowSaveFailure(Hwnd(), kMsgPictureNotRead, picture);
            break;
        case StampedSaveResult::TargetUnwritable:
            ShowSaveFailure(Hwnd(), kMsgPictureNotSavedAs, target);
            break;
    }
}

void CIvoraDlg::SaveClipAs(const std::wstring& clip) {
    if (clip.empty()) return;
    std::vector<wchar_t> name(MAX_PATH, L'\0');
    FileNameOf(clip).copy(name.data(), MAX_PATH - 1);
    const std::wstring folder = SpecialFolder(CSIDL_MYVIDEO);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Hwnd();
    ofn.lpstrFilter = L"Video file(*.avi)\0*.avi\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = kSaveFlags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return;
    std::wstring target = name.data();
    if (target.find(L'.') == std::wstring::npos) target += L".avi";
    if (!CopyFileW(clip.c_str(), target.c_str(), FALSE)) {
        ShowSaveFailure(Hwnd(), kMsgClipNotCopiedTo, target);
    }
}

}  // namespace orvane
