#include "uninstall/uninstall_dlg.h"

#include <commctrl.h>

#include <string>

#include "platform/com_ptr.h"
#include "platform/handles.h"
#include "setup/win/messages.h"
#include "setup/win/win_setup_platform.h"
#include "uninstall/uninstall_resource.h"

namespace orvane::setup {

namespace {
constexpr UINT WM_REMOVAL_DONE = WM_APP + 2;
}  // namespace

CIvoraUninstallDlg::CIvoraUninstallDlg(WORD language) : Dialog(IDD_UNINSTALL) {
    SetTemplateLanguage(language);
}

CIvoraUninstallDlg::~CIvoraUninstallDlg() {
    if (worker_.joinable()) worker_.join();
}

BOOL CIvoraUninstallDlg::OnInitDialog() {
    for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const int size = GetSystemMetrics(metric);
        SendMessageW(
            Hwnd(), WM_SETICON, which,
            reinterpret_cast<LPARAM>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_UNINSTALL),
                                                IMAGE_ICON, size, size, LR_SHARED)));
    }
    SendMessageW(Item(IDC_UNINSTALL_PROGRESS), PBM_SETRANGE32, 0, 100);
    return TRUE;
}

void CIvoraUninstallDlg::OnOK() {
    if (working_) return;
    working_ = true;
    EnableWindow(Item(IDOK), FALSE);
    EnableWindow(Item(IDCANCEL), FALSE);
    EnableMenuItem(GetSystemMenu(Hwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    worker_ = std::thread(
        [this, dialog = Hwnd(), bar = Item(IDC_UNINSTALL_PROGRESS)] { Work(dialog, bar); });
}

void CIvoraUninstallDlg::OnCancel() {
    if (!working_) EndDialog(IDCANCEL);  // the removal runs to its end
}

void CIvoraUninstallDlg::Work(HWND dialog, HWND bar) {
    ComApartment com;  // the shell links
    WinSetupPlatform platform(
        [bar](int value) { SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0); });
    RemovalSequence(platform, state_);
    Sleep(500);
    SendMessageW(dialog, WM_REMOVAL_DONE, 0, 0);
}

bool CIvoraUninstallDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_REMOVAL_DONE) {
        EndDialog(IDOK);
        result = 0;
        return true;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && working_) {
        result = 0;
        return true;
    }
    return false;
}

void DeleteOwnFileAfterExit() {
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring folder(self, length);
    folder.resize(folder.rfind(L'\\') == std::wstring::npos ? 0 : folder.rfind(L'\\'));
    std::wstring command = L"cmd.exe /c del \"" + folder + L"\\OrvaneUninstall.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &started)) {
        UniqueHandle process(started.hProcess), thread(started.hThread);  // not waited for
    }
}

int CIvoraUninstallApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    INT_PTR result = IDCANCEL;
    {
        CIvoraUninstallDlg dialog(UserResourceLanguage());
        result = dialog.DoModal(nullptr);
    }  // the worker has ended here
    if (result == IDOK) DeleteOwnFileAfterExit();
    return 0;
}

}  // namespace orvane::setup
