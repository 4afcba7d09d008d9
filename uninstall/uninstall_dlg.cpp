#include "uninstall/uninstall_dlg.h"

#include <commctrl.h>

#include <string>

#include "platform/com_ptr.h"
#include "platform/handles.h"
#include "platform/wide.h"
#include "setup/logic/self_delete_command.h"
#include "setup/win/messages.h"
#include "setup/win/running_program.h"
#include "setup/win/win_setup_platform.h"
#include "uninstall/uninstall_resource.h"

namespace orvane::setup {

namespace {
constexpr UINT WM_REMOVAL_DONE = WM_APP + 2;
constexpr UINT WM_REMOVAL_REPORT = WM_APP + 3;
}  // namespace

CIvoraUninstallDlg::CIvoraUninstallDlg(WORD language) : Dialog(IDD_UNINSTALL), language_(language) {
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

std::wstring CIvoraUninstallDlg::Caption() const {
    wchar_t caption[128] = {};
    GetWindowTextW(Hwnd(), caption, 128);
    return caption;
}

void CIvoraUninstallDlg::SetWorking(bool working) {
    working_ = working;
    EnableWindow(Item(IDOK), !working);
    EnableWindow(Item(IDCANCEL), !working);
    EnableMenuItem(GetSystemMenu(Hwnd(), FALSE), SC_CLOSE,
                   MF_BYCOMMAND | (working ? MF_GRAYED : MF_ENABLED));
}

void CIvoraUninstallDlg::OnOK() {
    if (working_) return;
    if (!AskUntilOrvaneClosed(Hwnd(), language_, Caption())) return;
    if (worker_.joinable()) worker_.join();
    SetWorking(true);
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
    result_ = RemovalSequence(platform, state_);
    if (result_.Ok()) Sleep(500);
    SendMessageW(dialog, WM_REMOVAL_DONE, 0, 0);
}

bool CIvoraUninstallDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_REMOVAL_DONE) {
        result = 0;
        if (result_.Ok()) {
            EndDialog(IDOK);
            return true;
        }
        // Nothing was removed: ready again, for another try or Cancel.
        SetWorking(false);
        SendMessageW(Item(IDC_UNINSTALL_PROGRESS), PBM_SETPOS, 0, 0);
        PostMessageW(Hwnd(), WM_REMOVAL_REPORT, 0, 0);
        return true;
    }
    if (message == WM_REMOVAL_REPORT) {
        MessageBoxW(Hwnd(), FailureText(language_, result_).c_str(), Caption().c_str(),
                    MB_OK | MB_ICONERROR);
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
    wchar_t system[MAX_PATH] = {};
    const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
    if (systemLength == 0 || systemLength >= MAX_PATH) return;
    const auto command = MakeSelfDeleteCommand(FromWide(std::wstring_view(system, systemLength)),
                                               FromWide(std::wstring_view(self, length)));
    if (!command) return;
    if (!SetEnvironmentVariableW(WidePtr(kSelfDeleteVariable), ToWide(command->file).c_str())) {
        return;
    }
    std::wstring commandLine = ToWide(command->commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(ToWide(command->application).c_str(), commandLine.data(), nullptr, nullptr,
                       FALSE, 0, nullptr, ToWide(command->currentFolder).c_str(), &startup,
                       &started)) {
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
