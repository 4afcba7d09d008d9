#include "app/dialogs/select_folder_dlg.h"

#include "media/capture_folders.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/rules/folder_rules.h"
#include "app/dialogs/info_dlg.h"
#include "app/messages.h"
#include "platform/handles.h"
#include "platform/wide.h"
#include "resources/resource.h"

namespace orvane {

namespace {

constexpr size_t kFolderChars = 260;

struct PidlTraits {
    static PIDLIST_ABSOLUTE Invalid() { return nullptr; }
    static void Close(PIDLIST_ABSOLUTE p) { CoTaskMemFree(p); }
};
using UniquePidl = UniqueResource<PIDLIST_ABSOLUTE, PidlTraits>;

// COM for the folder browser, for the life of the object.
class ComScope {
  public:
    ComScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~ComScope() {
        if (ok_) OleUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool ok_;
};

bool IsFolder(const std::wstring& path) {
    return !path.empty() && PathIsDirectoryW(path.c_str()) != FALSE;
}

}  // namespace

CSelectFolderDlg::CSelectFolderDlg() : Dialog(IDD_SELECT_FOLDER) {}

BOOL CSelectFolderDlg::OnInitDialog() {
    SetWindowTextW(Hwnd(), MessageText(kMsgSelectFolder).c_str());
    SetItemText(IDC_FOLDER_PICTURE_LABEL, MessageText(kMsgPictureFolder).c_str());
    SetItemText(IDC_FOLDER_VIDEO_LABEL, MessageText(kMsgVideoFolder).c_str());
    SetItemText(IDOK, MessageText(kMsgOK).c_str());
    SetItemText(IDC_FOLDER_PICTURE, ToWide(PathText(pictureFolder)).c_str());
    SetItemText(IDC_FOLDER_VIDEO, ToWide(PathText(videoFolder)).c_str());
    for (const std::u16string& entry : HistoryEntries(pictureHistory)) {
        SendMessageW(Item(IDC_FOLDER_PICTURE), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(ToWide(entry).c_str()));
    }
    for (const std::u16string& entry : HistoryEntries(videoHistory)) {
        SendMessageW(Item(IDC_FOLDER_VIDEO), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(ToWide(entry).c_str()));
    }
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    return TRUE;
}

bool CSelectFolderDlg::OnCommand(UINT id, UINT code, HWND control) {
    static constexpr CommandEntry<CSelectFolderDlg> commands[] = {
        {IDC_FOLDER_PICTURE_BROWSE, IDC_FOLDER_VIDEO_BROWSE, &CSelectFolderDlg::OnBrowse},
    };
    if (DispatchCommand<CSelectFolderDlg>(this, commands, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CSelectFolderDlg::OnBrowse(UINT id) {
    const bool picture = id == IDC_FOLDER_PICTURE_BROWSE;
    const std::wstring title = MessageText(picture ? kMsgPictureFolder : kMsgVideoFolder);
    const ComScope com;
    BROWSEINFOW info{};
    info.hwndOwner = Hwnd();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    const UniquePidl chosen(SHBrowseForFolderW(&info));
    if (!chosen) return;
    wchar_t path[MAX_PATH]{};
    if (!SHGetPathFromIDListW(chosen.Get(), path)) return;
    SetItemText(picture ? IDC_FOLDER_PICTURE : IDC_FOLDER_VIDEO, path);
}

void CSelectFolderDlg::ShowError(int message, const std::wstring& path) {
    CInfoDlg box;
    box.SetMessages(kMsgError, message, kMsgOK);
    box.text += L"\n" + path;
    box.DoModal(Hwnd());
}

bool CSelectFolderDlg::PrepareFolder(int box, int errorMessage, std::wstring& folder) {
    wchar_t text[kFolderChars + 1]{};
    GetDlgItemTextW(Hwnd(), box, text, static_cast<int>(kFolderChars + 1));
    folder = ToWide(NormalisedFolder(FromWide(text)));
    // A folder relative to whatever the current one is, or too long for the capture names and
    // side files it must hold, would lose the captures meant for it: refused with its reason.
    const CaptureKind kind =
        box == IDC_FOLDER_PICTURE ? CaptureKind::Picture : CaptureKind::Video;
    if (!folder.empty() && !FolderHoldsCaptures(kind, FromWide(folder))) {
        ShowError(kMsgFolderUnusable, folder);
        return false;
    }
    // A path that cannot be stored (or named on this system) is refused like a failed creation.
    const bool fits = !folder.empty() && folder.size() < kPathUnits;
    if (fits && IsFolder(folder)) return true;
    if (fits && SHCreateDirectoryExW(Hwnd(), folder.c_str(), nullptr) == ERROR_SUCCESS) return true;
    ShowError(errorMessage, folder);
    return false;
}

std::wstring CSelectFolderDlg::PrepareSideFolder(const std::wstring& folder, const wchar_t* name,
                                                 int errorMessage) {
    wchar_t side[MAX_PATH]{};
    if (folder.size() >= MAX_PATH ||
        !PathAppendW(lstrcpynW(side, folder.c_str(), MAX_PATH), name)) {
        ShowError(errorMessage, folder + L"\\" + name);
        return folder + L"\\" + name;
    }
    if (!IsFolder(side) && !CreateDirectoryW(side, nullptr)) ShowError(errorMessage, side);
    SetFileAttributesW(side, FILE_ATTRIBUTE_HIDDEN);
    return side;
}

void CSelectFolderDlg::OnOK() {
    std::wstring picture;
    if (PrepareFolder(IDC_FOLDER_PICTURE, kMsgCreatePictureFolderError, picture)) {
        SetPathText(pictureFolder, FromWide(picture));
        PushHistory(pictureHistory, FromWide(picture));
        PrepareSideFolder(picture, L"info", kMsgCreatePictureFolderError);
    }
    std::wstring video;
    if (PrepareFolder(IDC_FOLDER_VIDEO, kMsgCreateVideoFolderError, video)) {
        SetPathText(videoFolder, FromWide(video));
        PushHistory(videoHistory, FromWide(video));
        thumbFolder = FromWide(PrepareSideFolder(video, L"thumb", kMsgCreateVideoFolderError));
    }
    EndDialog(IDOK);
}

}  // namespace orvane
