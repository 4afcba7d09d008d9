#include "orvane_process.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "screen_picture.h"
#include "tools/virtualcam/client.h"

namespace orvane::test {

namespace {
struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid) s->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::wstring ProgramPath(const wchar_t* exeName) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    PathRemoveFileSpecW(self);
    PathAppendW(self, exeName);
    return self;
}

OrvaneProcess::~OrvaneProcess() {
    if (info_.hProcess) {
        if (Running()) {
            TerminateProcess(info_.hProcess, 1);
            // The next test's program must not find this one's mutex: wait until it is gone.
            WaitForSingleObject(info_.hProcess, 20000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool OrvaneProcess::Start() {
    std::wstring command = L"\"" + ProgramPath(L"Orvane.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info_) != FALSE;
}

bool OrvaneProcess::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> OrvaneProcess::TopLevelWindows() const {
    WindowSearch search{info_.dwProcessId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND OrvaneProcess::WaitForMainWindow(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs && Running()) {
        for (HWND hwnd : TopLevelWindows()) {
            if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, 1004)) return hwnd;
        }
        Sleep(20);
    }
    return nullptr;
}

HWND OrvaneProcess::FindBox(const wchar_t* caption) const {
    for (HWND hwnd : TopLevelWindows()) {
        if (IsWindowVisible(hwnd) && !GetDlgItem(hwnd, 1004) && WindowText(hwnd) == caption)
            return hwnd;
    }
    return nullptr;
}

HWND OrvaneProcess::WaitForBox(const wchar_t* caption, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND box = FindBox(caption)) return box;
        Sleep(20);
    }
    return nullptr;
}

bool OrvaneProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

namespace {
BOOL CALLBACK FindVideoWindow(HWND hwnd, LPARAM found) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    const std::wstring cls = name;
    if (cls.find(L"VideoRenderer") != std::wstring::npos ||
        cls.find(L"ActiveMovie") != std::wstring::npos || cls.find(L"VMR") != std::wstring::npos ||
        cls.find(L"quartz") != std::wstring::npos) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND LivePictureWindow(HWND main) {
    HWND video = nullptr;
    EnumChildWindows(main, FindVideoWindow, reinterpret_cast<LPARAM>(&video));
    return video;
}

HWND WaitForLivePicture(HWND main, DWORD timeoutMs) {
    HWND video = nullptr;
    const DWORD start = GetTickCount();
    while (!(video = LivePictureWindow(main)) && GetTickCount() - start < timeoutMs) Sleep(20);
    if (video) Sleep(500);  // frames flow
    return video;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

std::wstring DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE);
    return path;
}

void ResetOrvaneState() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvane");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvane");
    std::wstring tree = DocumentsFolder() + L"\\Orvane";
    tree.push_back(L'\0');  // the shell wants a double-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = tree.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

void SleepMs(DWORD ms) {
    Sleep(ms);
}

}  // namespace orvane::test

namespace orvane::test {

bool SaveWindowImage(HWND hwnd, const std::wstring& path) {
    RECT r{};
    if (!GetWindowRect(hwnd, &r)) return false;
    return SaveScreenArea(r, path);
}

void SaveScreenshotIfAsked(HWND hwnd, const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", folder, MAX_PATH)) return;
    SleepMs(300);  // the last paint
    SaveWindowImage(hwnd, std::wstring(folder) + L"\\" + name);
}

bool SaveScreenArea(const RECT& r, const std::wstring& path) {
    const ScreenPicture picture = CaptureScreen(r);
    if (picture.pixels.empty()) return false;
    const DWORD w = static_cast<DWORD>(picture.width), h = static_cast<DWORD>(picture.height);
    const DWORD stride = (w * 3 + 3) & ~3u;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * h, 0);
    for (DWORD y = 0; y < h; ++y) {
        uint8_t* row = rows.data() + static_cast<size_t>(h - 1 - y) * stride;  // bottom-up
        for (DWORD x = 0; x < w; ++x) {
            const uint32_t c = picture.At(static_cast<int>(x), static_cast<int>(y));
            row[x * 3] = static_cast<uint8_t>(c);
            row[x * 3 + 1] = static_cast<uint8_t>(c >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = picture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
                    WriteFile(out, &info, sizeof info, &written, nullptr) &&
                    WriteFile(out, rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

}  // namespace orvane::test

namespace orvane::test {

bool VirtualCameraRegistered() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance",
                      0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t sub[256];
    bool any = false;
    for (DWORD i = 0; RegEnumKeyW(key, i, sub, 256) == ERROR_SUCCESS; ++i) {
        std::wstring s = sub;
        for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
        any = any || s.find(L"vid_0c45") != std::wstring::npos;
    }
    RegCloseKey(key);
    return any;
}

namespace {
bool CallCameraRegistration(const char* entry) {
    return SUCCEEDED(vcam::CallDllEntry(entry));
}
}  // namespace

NoCamera::NoCamera() {
    if (VirtualCameraRegistered()) removed_ = CallCameraRegistration("DllUnregisterServer");
}

NoCamera::~NoCamera() {
    if (removed_) CallCameraRegistration("DllRegisterServer");
}

}  // namespace orvane::test

namespace orvane::test {

bool RegisterVirtualCameraAgain() {
    return CallCameraRegistration("DllRegisterServer");
}

VirtualCameras::VirtualCameras(std::initializer_list<const wchar_t*> pids, DWORD failOpen,
                               DWORD failRender) {
    const std::vector<std::wstring> list(pids.begin(), pids.end());
    registered_ = vcam::WriteConfig(list, failOpen, failRender) &&
                  CallCameraRegistration("DllRegisterServer");
}

VirtualCameras::~VirtualCameras() {
    vcam::DeleteConfig();
    CallCameraRegistration("DllRegisterServer");
}

void VirtualCameras::SetLost(DWORD mask) {
    vcam::WriteLost(mask);
}

}  // namespace orvane::test
