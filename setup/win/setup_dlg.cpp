#include "setup/win/setup_dlg.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "platform/com_ptr.h"
#include "platform/wide.h"
#include "setup/setup_resource.h"
#include "setup/win/messages.h"
#include "setup/win/running_program.h"
#include "setup/win/win_setup_platform.h"

namespace orvane::setup {

namespace {

std::wstring ItemText(HWND item) {
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void SetIcons(HWND window, UINT id) {
    const HINSTANCE self = Dialog::Instance();
    // Shared icons from the module: the system frees them with the module.
    SendMessageW(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadImageW(self, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXICON),
                                                     GetSystemMetrics(SM_CYICON), LR_SHARED)));
    SendMessageW(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(self, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), LR_SHARED)));
}

}  // namespace

std::wstring WizardData::Text(UINT message) const {
    return MessageIn(language, message);
}

// ---- Operation page

BOOL CIvoraSetupOp::OnInitDialog() {
    SetItemText(IDC_OP_HEADING, data_.Text(kMsgSelectOperation).c_str());
    SetItemText(IDC_OP_REPAIR_LABEL, data_.Text(kMsgRepair).c_str());
    SetItemText(IDC_OP_REPAIR_TEXT, data_.Text(kMsgRepairText).c_str());
    SetItemText(IDC_OP_UNINSTALL_LABEL, data_.Text(kMsgUninstall).c_str());
    SetItemText(IDC_OP_UNINSTALL_TEXT, data_.Text(kMsgUninstallText).c_str());
    CheckRadioButton(Hwnd(), IDC_OP_REPAIR, IDC_OP_UNINSTALL, IDC_OP_REPAIR);
    return FALSE;
}

bool CIvoraSetupOp::OnCommand(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_OP_REPAIR) {
        data_.mode = Mode::Install;
        return true;
    }
    if (id == IDC_OP_UNINSTALL) {
        data_.mode = Mode::Uninstall;
        return true;
    }
    return false;
}

// ---- Folder page

BOOL CIvoraSetupLa::OnInitDialog() {
    SetItemText(IDC_FOLDER_LABEL, data_.Text(kMsgSelectPath).c_str());
    wchar_t programs[MAX_PATH] = {};
    SHGetSpecialFolderPathW(Hwnd(), programs, CSIDL_PROGRAM_FILES, TRUE);
    std::wstring path = programs;
    if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
    path += L"Orvane";
    data_.state.installPath = FromWide(path);
    SetItemText(IDC_FOLDER_EDIT, path.c_str());
    return FALSE;
}

bool CIvoraSetupLa::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_FOLDER_EDIT && code == EN_CHANGE) {
        data_.state.installPath = FromWide(ItemText(control));
        return true;
    }
    if (id == IDC_FOLDER_BROWSE && code == BN_CLICKED) {
        Browse();
        return true;
    }
    return false;
}

void CIvoraSetupLa::Browse() {
    const std::wstring title = data_.Text(kMsgSelectPath);
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = GetParent(Hwnd());
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    if (!ok) return;
    SetItemText(IDC_FOLDER_EDIT, path);  // the edit's change notice updates installPath
    data_.state.installPath = FromWide(path);
}

// ---- Progress page

BOOL CIvoraSetupIn::OnInitDialog() {
    SendMessageW(Item(IDC_PROGRESS_BAR), PBM_SETRANGE32, 0, 100);
    return FALSE;
}

bool CIvoraSetupIn::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_SHOWWINDOW) {
        SetItemText(IDC_PROGRESS_STATUS, data_.Text(StatusMessage(data_.mode, 0)).c_str());
        return false;
    }
    if (message == WM_SETUP_PROGRESS) {
        const int value = static_cast<int>(wParam);
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SendMessageW(Item(IDC_PROGRESS_BAR), PBM_SETPOS, static_cast<WPARAM>(value), 0);
        SetItemText(IDC_PROGRESS_STATUS, data_.Text(StatusMessage(data_.mode, value)).c_str());
        result = 0;
        return true;
    }
    return false;
}

// ---- Exit confirmation

BOOL CIvoraSetupEx::OnInitDialog() {
    SetWindowTextW(Hwnd(), data_.Text(kMsgTitle).c_str());
    SetItemText(IDC_EXIT_TEXT, data_.Text(kMsgExitQuestion).c_str());
    SetItemText(IDOK, data_.Text(kMsgYes).c_str());
    SetItemText(IDCANCEL, data_.Text(kMsgNo).c_str());
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    return TRUE;
}

// ---- Frame

CIvoraSetupDlg::CIvoraSetupDlg(WORD language) : Dialog(IDD_SETUP) {
    data_.language = language;
}

CIvoraSetupDlg::~CIvoraSetupDlg() {
    // Never leave with the worker running: it uses this object.
    if (worker_.joinable()) worker_.join();
}

BOOL CIvoraSetupDlg::OnInitDialog() {
    SetIcons(Hwnd(), IDI_SETUP);
    RECT area{};
    GetWindowRect(Item(IDC_SETUP_PAGE_AREA), &area);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&area), 2);

    data_.state.previousInstall = InstallationRegistered();
    if (data_.state.previousInstall) AddPage(std::make_unique<CIvoraSetupOp>(data_), area);
    AddPage(std::make_unique<CIvoraSetupLa>(data_), area);
    AddPage(std::make_unique<CIvoraSetupIn>(data_), area);

    data_.mode = Mode::Install;
    SetWindowTextW(Hwnd(), data_.Text(kMsgTitle).c_str());
    SetItemText(IDC_SETUP_BACK, data_.Text(kMsgBack).c_str());
    SetItemText(IDC_SETUP_NEXT, data_.Text(kMsgNext).c_str());
    SetItemText(IDOK, data_.Text(kMsgFinish).c_str());
    SetItemText(IDCANCEL, data_.Text(kMsgCancel).c_str());
    ShowPage(1);
    SetFocus(Item(IDC_SETUP_NEXT));
    return FALSE;
}

void CIvoraSetupDlg::AddPage(std::unique_ptr<WizardPage> page, const RECT& area) {
    if (!page->Create(Hwnd())) return;
    SetWindowPos(page->Hwnd(), nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    pages_.push_back({static_cast<int>(pages_.size()) + 1, std::move(page)});
}

void CIvoraSetupDlg::ShowPage(int n) {
    const int pageCount = static_cast<int>(pages_.size());
    const PageChange change = ShowPageRule(n, pageCount, currentPage_);
    currentPage_ = change.currentPage;
    if (change.shownPage != 0) {
        for (const PageRecord& record : pages_) {
            ShowWindow(record.page->Hwnd(), record.number == n ? SW_SHOW : SW_HIDE);
        }
    }
    EnableWindow(Item(IDC_SETUP_BACK), (change.buttons & kBack) != 0);
    EnableWindow(Item(IDC_SETUP_NEXT), (change.buttons & kNext) != 0);
    EnableWindow(Item(IDOK), (change.buttons & kFinish) != 0);
    EnableWindow(Item(IDCANCEL), (change.buttons & kCancel) != 0);
    // Keep the default button on an enabled one.
    if (change.buttons & kFinish) SendMessageW(Hwnd(), DM_SETDEFID, IDOK, 0);
}

bool CIvoraSetupDlg::OnCommand(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_SETUP_NEXT) {
        Next();
        return true;
    }
    if (id == IDC_SETUP_BACK) {
        Back();
        return true;
    }
    return false;
}

// The folder of the folder page as Next takes it: absolute, with backslashes, short enough for
// every file of the installation, and made when missing. False keeps the wizard on its page.
bool CIvoraSetupDlg::TakeFolder() {
    const std::optional<std::u16string> taken = InstallFolderFromText(data_.state.installPath);
    if (!taken) return false;  // a relative folder stays on the page, silently
    if (*taken != data_.state.installPath) {
        data_.state.installPath = *taken;
        for (const PageRecord& record : pages_) {
            if (HWND edit = GetDlgItem(record.page->Hwnd(), IDC_FOLDER_EDIT)) {
                SetWindowTextW(edit, ToWide(*taken).c_str());
            }
        }
    }
    if (data_.mode == Mode::Install) {
        if (const auto tooLong = FirstPathTooLong(WithTrailingSlash(*taken))) {
            ShowFailure(FullMessageIn(data_.language, kMsgPathTooLong) + L"\n" + ToWide(*tooLong));
            return false;
        }
    }
    const std::wstring folder = ToWide(*taken);
    return PathIsDirectoryW(folder.c_str()) ||
           SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) == ERROR_SUCCESS;
}

void CIvoraSetupDlg::ShowFailure(const std::wstring& text) {
    MessageBoxW(Hwnd(), text.c_str(), data_.Text(kMsgTitle).c_str(), MB_OK | MB_ICONERROR);
}

void CIvoraSetupDlg::Next() {
    if (working_ || !IsWindowEnabled(Item(IDC_SETUP_NEXT))) return;
    if (!TakeFolder()) return;
    const int next = NextPageNumber(currentPage_, data_.mode);
    // Files of a running Orvane can be neither replaced nor removed: it is closed first.
    if (next == static_cast<int>(pages_.size()) &&
        !AskUntilOrvaneClosed(Hwnd(), data_.language, data_.Text(kMsgTitle))) {
        return;
    }
    currentPage_ = next;
    ShowPage(currentPage_);
    if (currentPage_ == static_cast<int>(pages_.size())) {
        EnableClose(false);
        StartWorker();
    }
}

void CIvoraSetupDlg::Back() {
    if (working_ || !IsWindowEnabled(Item(IDC_SETUP_BACK))) return;
    --currentPage_;
    ShowPage(currentPage_);
}

void CIvoraSetupDlg::EnableClose(bool enable) {
    EnableMenuItem(GetSystemMenu(Hwnd(), FALSE), SC_CLOSE,
                   MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void CIvoraSetupDlg::StartWorker() {
    if (worker_.joinable()) worker_.join();
    working_ = true;
    HWND progressPage = pages_.back().page->Hwnd();
    worker_ = std::thread([this, frame = Hwnd(), progressPage] { Work(frame, progressPage); });
}

void CIvoraSetupDlg::Work(HWND frame, HWND progressPage) {
    ComApartment com;  // the shell links
    WinSetupPlatform platform([progressPage](int value) {
        SendMessageW(progressPage, WM_SETUP_PROGRESS, static_cast<WPARAM>(value), 0);
    });
    data_.result = data_.mode == Mode::Uninstall ? RemovalSequence(platform, data_.state)
                                                 : InstallSequence(platform, data_.state);
    Sleep(500);
    SendMessageW(frame, WM_SETUP_DONE, 0, 0);
}

bool CIvoraSetupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_SETUP_DONE) {
        working_ = false;
        ++currentPage_;
        ShowPage(currentPage_);
        EnableClose(true);
        SetFocus(Item(IDOK));
        if (!data_.result.Ok()) {
            // Not the finished page: the status says so and the report follows.
            SetDlgItemTextW(pages_.back().page->Hwnd(), IDC_PROGRESS_STATUS,
                            data_.Text(kMsgIncomplete).c_str());
            PostMessageW(Hwnd(), WM_SETUP_REPORT, 0, 0);
        }
        result = 0;
        return true;
    }
    if (message == WM_SETUP_REPORT) {
        ShowFailure(FailureText(data_.language, data_.result));
        result = 0;
        return true;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && working_) {
        result = 0;
        return true;  // the close item is grayed while the worker runs
    }
    return false;
}

void CIvoraSetupDlg::CloseRequest() {
    if (working_) return;  // Esc and the close command wait for the worker too
    if (currentPage_ != static_cast<int>(pages_.size())) {
        CIvoraSetupEx confirm(data_);
        if (confirm.DoModal(Hwnd()) != IDOK) return;
    }
    if (worker_.joinable()) worker_.join();
    for (PageRecord& record : pages_) record.page->Destroy();
    pages_.clear();
    EndDialog(0);
}

// ---- Application

int CIvoraSetupApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ComApartment com;  // the folder picker
    CIvoraSetupDlg wizard(UserResourceLanguage());
    wizard.DoModal(nullptr);
    return 0;
}

}  // namespace orvane::setup
