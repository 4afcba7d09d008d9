// The setup program and the uninstaller under Wine. Every test suite runs in a Wine prefix of
// its own, new for the run (tests/wine/fresh_prefix.sh), so each starts on a machine where
// Orvane was never installed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "orvane_process.h"
#include "registry_reader.h"
#include "screen_picture.h"

namespace orvane::test {
namespace {

constexpr wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane";
const wchar_t* const kFiles[11] = {
    L"Orvane.exe",         L"Manual_English.pdf",    L"Manual_French.pdf",  L"Manual_German.pdf",
    L"Manual_Russian.pdf", L"Manual_Portugese.pdf",  L"Manual_Spanish.pdf", L"Manual_Italian.pdf",
    L"Manual_Dutch.pdf",   L"Manual_Vietnamese.pdf", L"OrvaneUninstall.exe"};

// ---- Files, links and keys

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::set<std::wstring> FolderContent(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.insert(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::wstring Special(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return path;
}
std::wstring DesktopLink() {
    return Special(CSIDL_DESKTOP) + L"\\Orvane.lnk";
}
std::wstring Group() {
    return Special(CSIDL_COMMON_PROGRAMS) + L"\\Orvane";
}

// A payload of the setup program, read from its file.
std::string Payload(const wchar_t* type, int number) {
    HMODULE setup = LoadLibraryExW(ProgramPath(L"OrvaneSetup.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!setup) return {};
    std::string bytes;
    if (HRSRC found = FindResourceW(setup, MAKEINTRESOURCEW(number), type)) {
        if (const void* p = LockResource(LoadResource(setup, found))) {
            bytes.assign(static_cast<const char*>(p), SizeofResource(setup, found));
        }
    }
    FreeLibrary(setup);
    return bytes;
}

struct Link {
    std::wstring target, folder;
};
std::optional<Link> ReadLink(const std::wstring& path) {
    if (!Exists(path)) return std::nullopt;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return std::nullopt;
    }
    std::optional<Link> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
            link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
            link->GetWorkingDirectory(folder, MAX_PATH);
            result = Link{target, folder};
        }
        file->Release();
    }
    link->Release();
    return result;
}

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

RawValue ReadValue(const wchar_t* keyPath, const wchar_t* name) {
    RawValue v;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.bytes.assign(size, '\0');
        RegQueryValueExW(key, name, nullptr, &v.type, reinterpret_cast<BYTE*>(v.bytes.data()),
                         &size);
    }
    RegCloseKey(key);
    return v;
}

std::string StringValueBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

void SetString(const wchar_t* keyPath, const wchar_t* name, const std::wstring& text) {
    HKEY key = nullptr;
    RegCreateKeyW(HKEY_CURRENT_USER, keyPath, &key);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * 2));
    RegCloseKey(key);
}

void SetDword(const wchar_t* name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Orvane", &key);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
}

bool WaitUntil(DWORD timeoutMs, auto condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

// Everything an installation into folder consists of.
void ExpectInstalled(const std::wstring& folder) {
    EXPECT_EQ(ReadBytes(folder + L"\\Orvane.exe"), ReadBytes(ProgramPath(L"Orvane.exe")));
    EXPECT_EQ(ReadBytes(folder + L"\\OrvaneUninstall.exe"),
              ReadBytes(ProgramPath(L"OrvaneUninstall.exe")));
    EXPECT_EQ(ReadBytes(folder + L"\\Orvane.exe"), Payload(L"APP", 142));
    EXPECT_EQ(ReadBytes(folder + L"\\OrvaneUninstall.exe"), Payload(L"UNINSTALL", 145));
    const int manuals[9] = {156, 163, 164, 167, 166, 168, 165, 162, 169};
    const std::string manual = Payload(L"RESDOC", 156);
    EXPECT_EQ(manual.substr(0, 5), "%PDF-");
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(Payload(L"RESDOC", manuals[i]), manual) << manuals[i];
        EXPECT_EQ(ReadBytes(folder + L"\\" + kFiles[i + 1]), manual) << i;
    }
    const std::wstring program = folder + L"\\Orvane.exe";
    const std::wstring uninstaller = folder + L"\\OrvaneUninstall.exe";
    for (const auto& [path, target] : {std::pair{DesktopLink(), program},
                                       {Group() + L"\\Orvane.lnk", program},
                                       {Group() + L"\\OrvaneUninstall.lnk", uninstaller}}) {
        const auto link = ReadLink(path);
        ASSERT_TRUE(link) << "no link " << std::string(path.begin(), path.end());
        EXPECT_EQ(lstrcmpiW(link->target.c_str(), target.c_str()), 0);
        EXPECT_EQ(lstrcmpiW(link->folder.c_str(), folder.c_str()), 0);
    }
    const RawValue name = ReadValue(kUninstallKey, L"DisplayName");
    EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(name.bytes, StringValueBytes(L"Orvane"));
    EXPECT_EQ(ReadValue(kUninstallKey, L"UninstallString").bytes, StringValueBytes(uninstaller));
    EXPECT_EQ(ReadValue(kUninstallKey, L"DisplayIcon").bytes, StringValueBytes(uninstaller));
    EXPECT_EQ(ReadValue(kUninstallKey, L"DisplayVersion").bytes, StringValueBytes(L"1.2.1.2"));
    EXPECT_EQ(ReadValue(L"Software\\Orvane", L"InstallPath").bytes, StringValueBytes(folder));
    const RawValue language = ReadValue(L"Software\\Orvane", L"Language");
    EXPECT_EQ(language.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(language.Dword(), 503u);
}

// Nothing of an installation in folder: no program file, no link, no entry.
void ExpectNoApplication(const std::wstring& folder) {
    for (const wchar_t* file : kFiles) {
        EXPECT_FALSE(Exists(folder + L"\\" + file)) << std::wstring(file).size();
    }
    EXPECT_FALSE(Exists(DesktopLink()));
    EXPECT_FALSE(Exists(Group()));
    EXPECT_FALSE(KeyExists(kUninstallKey));
}

// ---- The programs

struct WindowSearch {
    DWORD pid;
    int control;
    HWND found;
};
BOOL CALLBACK FindWindowWithControl(HWND hwnd, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && GetDlgItem(hwnd, s->control)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

class Program {
  public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (info_.hProcess) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 1);
            }
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }
    // Started in this current folder, or in the test's.
    bool Start(const std::wstring& path, const wchar_t* currentFolder = nullptr) {
        std::wstring command = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              currentFolder, &startup, &info_) != FALSE;
    }
    DWORD Id() const { return info_.dwProcessId; }
    bool WaitForExit(DWORD timeoutMs) const {
        return WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }
    // A visible top-level window of the process holding this control.
    HWND WaitForWindow(int control, DWORD timeoutMs = 15000) const {
        HWND found = nullptr;
        WaitUntil(timeoutMs, [&] {
            WindowSearch s{info_.dwProcessId, control, nullptr};
            EnumWindows(FindWindowWithControl, reinterpret_cast<LPARAM>(&s));
            found = s.found;
            return found != nullptr;
        });
        return found;
    }

  private:
    PROCESS_INFORMATION info_{};
};

void Screenshot(HWND window, const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", dir, MAX_PATH)) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    SaveWindowImage(window, std::wstring(dir) + L"\\" + name + L".bmp");
}

// A message box of the process (no window of the programs' own templates) with this caption,
// and the texts it shows.
struct BoxSearch {
    DWORD pid;
    const wchar_t* caption;
    HWND found;
};
BOOL CALLBACK FindBoxOf(HWND hwnd, LPARAM p) {
    auto* s = reinterpret_cast<BoxSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (pid != s->pid || !IsWindowVisible(hwnd) || lstrcmpW(name, L"#32770") != 0) return TRUE;
    for (int own : {1000, 1004, 1019}) {
        if (GetDlgItem(hwnd, own)) return TRUE;
    }
    if (WindowText(hwnd) != s->caption) return TRUE;
    s->found = hwnd;
    return FALSE;
}
HWND WaitForMessageBox(const Program& program, const wchar_t* caption, DWORD timeoutMs = 10000) {
    HWND found = nullptr;
    WaitUntil(timeoutMs, [&] {
        BoxSearch s{program.Id(), caption, nullptr};
        EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&s));
        return (found = s.found) != nullptr;
    });
    return found;
}
BOOL CALLBACK CollectStaticText(HWND child, LPARAM p) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Static") != 0) return TRUE;
    wchar_t text[1024] = {};
    SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    auto* all = reinterpret_cast<std::wstring*>(p);
    if (text[0]) all->append(text);
    return TRUE;
}
std::wstring BoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}
// Presses a button of a message box and waits until the box has gone.
bool Answer(HWND box, int button) {
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    return WaitUntil(5000, [&] { return !IsWindow(box) || !IsWindowVisible(box); });
}
std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

// The setup wizard run from the build's bin folder.
class Wizard {
  public:
    bool Start(const wchar_t* currentFolder = nullptr) {
        if (!program_.Start(ProgramPath(L"OrvaneSetup.exe"), currentFolder)) return false;
        frame_ = program_.WaitForWindow(1004);
        return frame_ != nullptr;
    }
    HWND Frame() const { return frame_; }
    // The visible page holding this control, or null.
    HWND PageWith(int control) const {
        for (HWND child = GetWindow(frame_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsWindowVisible(child) && GetDlgItem(child, control)) return child;
        }
        return nullptr;
    }
    HWND Control(int page, int id) const { return GetDlgItem(PageWith(page), id); }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(frame_, id)) != FALSE; }
    void Press(int id) const { PostMessageW(GetDlgItem(frame_, id), BM_CLICK, 0, 0); }
    void SetFolder(const std::wstring& folder) const {
        SendMessageW(Control(1012, 1012), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    }
    // The folder page's edit, whether the page is shown or not.
    std::wstring Folder() const {
        HWND edit = nullptr;
        for (HWND child = GetWindow(frame_, GW_CHILD); child && !edit;
             child = GetWindow(child, GW_HWNDNEXT)) {
            edit = GetDlgItem(child, 1012);
        }
        wchar_t text[MAX_PATH] = {};
        SendMessageW(edit, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::wstring Status() const { return WindowText(Control(1010, 1011)); }
    int Progress() const {
        return static_cast<int>(SendMessageW(Control(1010, 1010), PBM_GETPOS, 0, 0));
    }
    // Waits for the done state: only Finish enabled.
    bool WaitDone() const {
        return WaitUntil(30000, [&] { return Enabled(IDOK); }) && !Enabled(IDCANCEL) &&
               !Enabled(1000) && !Enabled(1001);
    }
    bool Finish() {
        Press(IDOK);
        return program_.WaitForExit(10000);
    }
    const Program& Process() const { return program_; }

  private:
    Program program_;
    HWND frame_ = nullptr;
};

// Installs into folder with the wizard (the operation page first when one is registered).
void InstallWith(Wizard& wizard, const std::wstring& folder) {
    if (wizard.PageWith(1005)) {
        wizard.Press(1001);
        ASSERT_TRUE(WaitUntil(5000, [&] { return wizard.PageWith(1012) != nullptr; }));
    }
    ASSERT_NE(wizard.PageWith(1012), nullptr);
    wizard.SetFolder(folder);
    wizard.Press(1001);
    ASSERT_TRUE(wizard.WaitDone());
    EXPECT_EQ(wizard.Progress(), 100);
    EXPECT_EQ(wizard.Status(), L"Finish");
}

void Install(const std::wstring& folder) {
    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    InstallWith(wizard, folder);
    ASSERT_TRUE(wizard.Finish());
}

// A captured picture in the documents folder, which removal must leave alone.
std::wstring MakeCapturedPicture() {
    const std::wstring folder = DocumentsFolder() + L"\\Orvane\\Picture";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\TX0000001.BMP";
    WriteBytes(path, "BM picture bytes");
    return path;
}

// A copy of this test program named "cmd.exe", planted where a command interpreter found by a
// search would be, only records that it ran (and from where) and ends.
constexpr wchar_t kPlantedCmdLog[] = L"C:\\planted-cmd-ran.txt";
const bool kRunAsPlantedCmd = [] {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (lstrcmpiW(PathFindFileNameW(self), L"cmd.exe") != 0) return false;
    HANDLE log = CreateFileW(kPlantedCmdLog, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(log, self, static_cast<DWORD>(lstrlenW(self) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(log);
    ExitProcess(0);
}();

class Com : public ::testing::Environment {
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const kCom = ::testing::AddGlobalTestEnvironment(new Com);

// ---- Install into a new folder, the pages, and the installed program from its shortcut

// The main window of an Orvane.exe started from this path, whatever process started it.
struct MainSearch {
    std::wstring exe;
    HWND found;
};
BOOL CALLBACK FindMainOf(HWND hwnd, LPARAM p) {
    auto* s = reinterpret_cast<MainSearch*>(p);
    if (!IsWindowVisible(hwnd) || !GetDlgItem(hwnd, 1004) || GetDlgItem(hwnd, 1001)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return TRUE;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameW(process, 0, image, &size);
    CloseHandle(process);
    if (lstrcmpiW(image, s->exe.c_str()) != 0) return TRUE;
    s->found = hwnd;
    return FALSE;
}
HWND FindMainWindowOf(const std::wstring& exe) {
    MainSearch s{exe, nullptr};
    EnumWindows(FindMainOf, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

TEST(SetupInstall, NewFolderThePagesAndTheProgramFromItsShortcut) {
    const std::wstring folder = L"C:\\Microscope\\Orvane Test";
    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    EXPECT_EQ(WindowText(wizard.Frame()), L"Orvane Setup");
    // No installation: the folder page first, with the programs folder's default.
    ASSERT_NE(wizard.PageWith(1012), nullptr);
    EXPECT_EQ(wizard.PageWith(1005), nullptr);
    EXPECT_EQ(wizard.Folder(), Special(CSIDL_PROGRAM_FILES) + L"\\Orvane");
    EXPECT_TRUE(wizard.Enabled(1001) && wizard.Enabled(IDCANCEL));
    EXPECT_FALSE(wizard.Enabled(1000) || wizard.Enabled(IDOK));
    Screenshot(wizard.Frame(), L"setup-folder-page");

    // Cancel asks; No keeps the wizard and the typed folder.
    wizard.SetFolder(folder);
    wizard.Press(IDCANCEL);
    HWND confirm = wizard.Process().WaitForWindow(1019, 5000);
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(WindowText(confirm), L"Orvane Setup");
    EXPECT_EQ(WindowText(GetDlgItem(confirm, 1019)), L"Are you sure you want to exit?");
    Screenshot(confirm, L"setup-exit-confirmation");
    PostMessageW(GetDlgItem(confirm, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil(5000, [&] { return !IsWindow(confirm) || !IsWindowVisible(confirm); }));
    EXPECT_EQ(wizard.Folder(), folder);

    // A folder that cannot be made (a file of that name) keeps the wizard where it is.
    WriteBytes(L"C:\\NotAFolder", "x");
    wizard.SetFolder(L"C:\\NotAFolder");
    wizard.Press(1001);
    Sleep(500);
    EXPECT_NE(wizard.PageWith(1012), nullptr);
    EXPECT_FALSE(KeyExists(L"Software\\Orvane"));

    wizard.SetFolder(folder);
    InstallWith(wizard, folder);
    EXPECT_FALSE(wizard.Enabled(IDCANCEL) || wizard.Enabled(1000) || wizard.Enabled(1001));
    Screenshot(wizard.Frame(), L"setup-progress-page");
    // Finish ends the wizard without asking.
    ASSERT_TRUE(wizard.Finish());
    ExpectInstalled(folder);

    // The program from the all-users programs menu shows the virtual camera's picture.
    const std::wstring link = Group() + L"\\Orvane.lnk";
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.lpFile = link.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&run));
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil(20000, [&] {
        return (main = FindMainWindowOf(folder + L"\\Orvane.exe"));
    })) << "the installed program did not show its window";
    HWND video = nullptr;
    SceneMarks marks;
    WaitUntil(15000, [&] {
        if (!video) video = LivePictureWindow(main);
        if (!video) return false;
        RECT r{};
        GetWindowRect(video, &r);
        marks = FindSceneMarks(CaptureScreen(r));
        return marks.baseLineRow >= 0;
    });
    EXPECT_NE(video, nullptr);
    EXPECT_GE(marks.baseLineRow, 0) << "no micrometer of the virtual camera on the screen";
    Screenshot(main, L"installed-main-window");
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
}

// Every language set of the built programs: the wizard's sixteen messages and the
// uninstaller's dialog, each under its own language, none empty.
BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::set<WORD>*>(found)->insert(language);
    return TRUE;
}

// A string of a module in one language, or nothing when its block or the string is missing.
std::optional<std::wstring> StringOf(HMODULE module, WORD language, UINT id) {
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block) return std::nullopt;
    const auto* p = static_cast<const WORD*>(LockResource(LoadResource(module, block)));
    for (UINT k = 0; k < id % 16; ++k) p += 1 + *p;
    if (*p == 0) return std::nullopt;
    return std::wstring(reinterpret_cast<const wchar_t*>(p + 1), *p);
}

TEST(SetupInstall, ThirteenLanguageSetsInBothPrograms) {
    const std::set<WORD> languages = {1033, 7,    10,   12,   16,   19,  22,
                                      42,   1028, 2052, 1041, 1042, 1049};
    const UINT messages[16] = {100, 101, 146, 147, 148, 149, 150, 151,
                               152, 153, 154, 155, 156, 157, 158, 159};
    HMODULE setup = LoadLibraryExW(ProgramPath(L"OrvaneSetup.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HMODULE uninstaller = LoadLibraryExW(ProgramPath(L"OrvaneUninstall.exe").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(setup, nullptr);
    ASSERT_NE(uninstaller, nullptr);
    for (WORD language : languages) {
        for (UINT id : messages) {
            const auto text = StringOf(setup, language, id);
            ASSERT_TRUE(text) << "message " << id << " of language " << language;
            EXPECT_LT(text->size(), 80u) << "message " << id << " of language " << language;
        }
        // The failure reports, in both programs, translated (none is English elsewhere);
        // 160 is a status line of the wizard's 80-unit buffers.
        for (UINT id = 160; id <= 170; ++id) {
            for (HMODULE module : {setup, uninstaller}) {
                const auto text = StringOf(module, language, id);
                ASSERT_TRUE(text) << "message " << id << " of language " << language;
                if (language != 1033) {
                    EXPECT_NE(*text, StringOf(module, 1033, id).value_or(L""))
                        << "message " << id << " of language " << language;
                }
            }
        }
        EXPECT_LT(StringOf(setup, language, 160).value_or(L"").size(), 80u) << language;
    }
    // Exactly these languages, none standing in for another.
    for (HMODULE module : {setup, uninstaller}) {
        for (UINT block : {100u / 16 + 1, 146u / 16 + 1, 160u / 16 + 1}) {
            std::set<WORD> found;
            EnumResourceLanguagesW(module, RT_STRING, MAKEINTRESOURCEW(block), CountLanguage,
                                   reinterpret_cast<LONG_PTR>(&found));
            EXPECT_EQ(found, languages) << "string block " << block;
        }
    }
    FreeLibrary(setup);
    std::set<WORD> templates;
    EnumResourceLanguagesW(uninstaller, RT_DIALOG, MAKEINTRESOURCEW(102), CountLanguage,
                           reinterpret_cast<LONG_PTR>(&templates));
    FreeLibrary(uninstaller);
    EXPECT_EQ(templates, languages);
}

// ---- Reinstall into another folder

TEST(SetupReinstall, OldFolderEmptiedNewFolderFilledSettingsStartAgain) {
    const std::wstring first = L"C:\\First\\Orvane", other = L"C:\\Second Place";
    Install(first);
    ExpectInstalled(first);
    SetDword(L"Language", 505);
    SetDword(L"SetupTestMarker", 7);

    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    // Registered: the operation page first, "Reinstall or repair" chosen.
    ASSERT_NE(wizard.PageWith(1005), nullptr);
    EXPECT_EQ(SendMessageW(wizard.Control(1005, 1005), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(wizard.Enabled(1000));
    Screenshot(wizard.Frame(), L"setup-operation-page");
    wizard.Press(1001);
    ASSERT_TRUE(WaitUntil(5000, [&] { return wizard.PageWith(1012) != nullptr; }));
    // Back returns to the operation page with the choice kept.
    EXPECT_TRUE(wizard.Enabled(1000));
    wizard.Press(1000);
    ASSERT_TRUE(WaitUntil(5000, [&] { return wizard.PageWith(1005) != nullptr; }));
    InstallWith(wizard, other);
    ASSERT_TRUE(wizard.Finish());

    EXPECT_FALSE(Exists(first)) << "the old folder, emptied, stays";
    EXPECT_TRUE(Exists(L"C:\\First"));
    ExpectInstalled(other);
    const auto key = ReadOrvaneKey();
    EXPECT_EQ(key.count(L"SetupTestMarker"), 0u) << "the settings key was not deleted";

    // The main program starts with its defaults, in English.
    Program orvane;
    ASSERT_TRUE(orvane.Start(other + L"\\Orvane.exe"));
    HWND main = nullptr;
    ASSERT_TRUE(
        WaitUntil(20000, [&] { return (main = FindMainWindowOf(other + L"\\Orvane.exe")); }));
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(orvane.WaitForExit(15000));
    EXPECT_EQ(ReadValue(L"Software\\Orvane", L"Language").Dword(), 503u);
    EXPECT_EQ(ReadValue(L"Software\\Orvane", L"InstallPath").bytes, StringValueBytes(other));
}

// Runs an uninstaller; presses Uninstall (or Cancel) and waits for it to end.
void RunUninstaller(const std::wstring& path, bool uninstall, const wchar_t* screenshot = nullptr) {
    Program program;
    ASSERT_TRUE(program.Start(path));
    HWND dialog = program.WaitForWindow(1000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), L"Orvane Uninstall");
    if (screenshot) Screenshot(dialog, screenshot);
    PostMessageW(GetDlgItem(dialog, uninstall ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(program.WaitForExit(20000));
}

// ---- Install, repair and removal while Orvane runs

// Starts Orvane.exe of this path and waits for its main window.
HWND StartOrvane(Program& orvane, const std::wstring& exe) {
    if (!orvane.Start(exe)) return nullptr;
    HWND main = nullptr;
    WaitUntil(20000, [&] { return (main = FindMainWindowOf(exe)) != nullptr; });
    return main;
}

constexpr wchar_t kRunningQuestion[] = L"Orvane is running. Close it, then click Retry.";

TEST(SetupBusyTarget, TheRunningProgramIsClosedFirstThenTheInstallRuns) {
    const std::wstring folder = L"C:\\Busy";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW(ProgramPath(L"Orvane.exe").c_str(), (folder + L"\\Orvane.exe").c_str(), FALSE));
    const std::string before = ReadBytes(folder + L"\\Orvane.exe");
    Program orvane;
    HWND main = StartOrvane(orvane, folder + L"\\Orvane.exe");
    ASSERT_NE(main, nullptr);

    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    wizard.SetFolder(folder);
    wizard.Press(1001);
    HWND box = WaitForMessageBox(wizard.Process(), L"Orvane Setup");
    ASSERT_NE(box, nullptr) << "no question while Orvane runs";
    EXPECT_EQ(BoxText(box), kRunningQuestion);
    Screenshot(box, L"setup-program-running");
    ASSERT_TRUE(Answer(box, IDCANCEL));
    // Cancel: the folder page as it was, nothing written.
    EXPECT_NE(wizard.PageWith(1012), nullptr);
    EXPECT_TRUE(wizard.Enabled(1001));
    EXPECT_EQ(FolderContent(folder), std::set<std::wstring>{L"Orvane.exe"});
    EXPECT_EQ(ReadBytes(folder + L"\\Orvane.exe"), before);
    EXPECT_FALSE(Exists(DesktopLink()));
    EXPECT_FALSE(KeyExists(kUninstallKey));

    // Asked again; Retry once Orvane has ended installs.
    wizard.Press(1001);
    box = WaitForMessageBox(wizard.Process(), L"Orvane Setup");
    ASSERT_NE(box, nullptr);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(orvane.WaitForExit(15000));
    ASSERT_TRUE(Answer(box, IDRETRY));
    ASSERT_TRUE(wizard.WaitDone());
    EXPECT_EQ(wizard.Status(), L"Finish");
    ASSERT_TRUE(wizard.Finish());
    ExpectInstalled(folder);
}

TEST(SetupBusyTarget, RepairAndUninstallerRemoveNothingWhileItRuns) {
    const std::wstring folder = L"C:\\Busy";
    if (!KeyExists(kUninstallKey)) Install(folder);  // the test before leaves it installed
    ExpectInstalled(folder);
    Program orvane;
    HWND main = StartOrvane(orvane, folder + L"\\Orvane.exe");
    ASSERT_NE(main, nullptr);

    // Repair: asked on the folder page's Next; Cancel keeps the installation whole.
    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    ASSERT_NE(wizard.PageWith(1005), nullptr);
    wizard.Press(1001);
    ASSERT_TRUE(WaitUntil(5000, [&] { return wizard.PageWith(1012) != nullptr; }));
    wizard.Press(1001);
    HWND box = WaitForMessageBox(wizard.Process(), L"Orvane Setup");
    ASSERT_NE(box, nullptr) << "the repair did not ask to close Orvane";
    EXPECT_EQ(BoxText(box), kRunningQuestion);
    ASSERT_TRUE(Answer(box, IDCANCEL));
    EXPECT_NE(wizard.PageWith(1012), nullptr);
    ExpectInstalled(folder);
    wizard.Press(IDCANCEL);
    HWND confirm = wizard.Process().WaitForWindow(1019, 5000);
    ASSERT_NE(confirm, nullptr);
    PostMessageW(GetDlgItem(confirm, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(wizard.Process().WaitForExit(10000));

    // The uninstaller asks the same; Cancel leaves it ready and the installation whole.
    Program uninstaller;
    ASSERT_TRUE(uninstaller.Start(folder + L"\\OrvaneUninstall.exe"));
    HWND dialog = uninstaller.WaitForWindow(1000);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    box = WaitForMessageBox(uninstaller, L"Orvane Uninstall");
    ASSERT_NE(box, nullptr) << "the uninstaller did not ask to close Orvane";
    EXPECT_EQ(BoxText(box), kRunningQuestion);
    ASSERT_TRUE(Answer(box, IDCANCEL));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    ExpectInstalled(folder);
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(uninstaller.WaitForExit(10000));
    Sleep(1000);
    ExpectInstalled(folder);

    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(orvane.WaitForExit(15000));
}

// ---- Folders the wizard refuses, and installs that fail part-way

TEST(SetupFailure, RelativeFoldersStayForwardSlashesAreNormalised) {
    const std::wstring current = L"C:\\Current";
    CreateDirectoryW(current.c_str(), nullptr);
    Wizard wizard;
    ASSERT_TRUE(wizard.Start(current.c_str()));
    // Folders that would depend on the current one keep the wizard on its page.
    for (const wchar_t* relative : {L".", L"C:Foo", L"Orvane", L"\\Orvane"}) {
        wizard.SetFolder(relative);
        wizard.Press(1001);
        Sleep(400);
        EXPECT_NE(wizard.PageWith(1012), nullptr) << Narrow(relative);
        EXPECT_EQ(wizard.PageWith(1010), nullptr) << Narrow(relative);
    }
    EXPECT_TRUE(FolderContent(current).empty());
    EXPECT_FALSE(Exists(L"C:\\Orvane"));
    EXPECT_FALSE(KeyExists(kUninstallKey));

    // Forward slashes become backslashes, on the page and in what is recorded.
    wizard.SetFolder(L"C:/Forward/Orvane");
    wizard.Press(1001);
    ASSERT_TRUE(wizard.WaitDone());
    EXPECT_EQ(wizard.Status(), L"Finish");
    EXPECT_EQ(wizard.Folder(), L"C:\\Forward\\Orvane");
    ASSERT_TRUE(wizard.Finish());
    ExpectInstalled(L"C:\\Forward\\Orvane");
}

TEST(SetupFailure, AFolderTooLongForItsFilesIsNamedAndNothingChanges) {
    // Holds "Orvane.exe", not "Manual_English.pdf"; a repair of the installation before.
    const std::wstring folder = L"C:\\" + std::wstring(245, L'l');
    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    ASSERT_NE(wizard.PageWith(1005), nullptr);
    wizard.Press(1001);
    ASSERT_TRUE(WaitUntil(5000, [&] { return wizard.PageWith(1012) != nullptr; }));
    wizard.SetFolder(folder);
    wizard.Press(1001);
    HWND box = WaitForMessageBox(wizard.Process(), L"Orvane Setup");
    ASSERT_NE(box, nullptr) << "no message for a folder too long for its files";
    EXPECT_EQ(BoxText(box),
              L"The folder path is too long for this file:\n" + folder + L"\\Manual_English.pdf");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_NE(wizard.PageWith(1012), nullptr);
    EXPECT_FALSE(Exists(folder));
    ExpectInstalled(L"C:\\Forward\\Orvane");
    wizard.Press(IDCANCEL);
    HWND confirm = wizard.Process().WaitForWindow(1019, 5000);
    ASSERT_NE(confirm, nullptr);
    PostMessageW(GetDlgItem(confirm, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(wizard.Process().WaitForExit(10000));
}

TEST(SetupFailure, ALockedFileIsNamedAndWhatWasWrittenIsRemovedAgain) {
    // A repair into another folder whose German manual another program holds open.
    const std::wstring folder = L"C:\\Locked\\Orvane";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    const std::wstring german = folder + L"\\Manual_German.pdf";
    ASSERT_TRUE(WriteBytes(german, "held open"));
    HANDLE held = CreateFileW(german.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    if (wizard.PageWith(1005)) wizard.Press(1001);  // the tests before leave an installation
    ASSERT_TRUE(WaitUntil(5000, [&] { return wizard.PageWith(1012) != nullptr; }));
    wizard.SetFolder(folder);
    wizard.Press(1001);
    HWND box = WaitForMessageBox(wizard.Process(), L"Orvane Setup", 30000);
    ASSERT_NE(box, nullptr) << "the failed install said nothing";
    EXPECT_EQ(
        BoxText(box),
        L"This file could not be opened for writing; it may be in use:\n" + german +
            L"\n\nOrvane is not completely installed. Run Setup again to repair or remove it.");
    Screenshot(box, L"setup-file-failed");
    ASSERT_TRUE(Answer(box, IDOK));
    // Not the finished page: only Finish, the status says the setup did not complete.
    EXPECT_TRUE(wizard.Enabled(IDOK));
    EXPECT_EQ(wizard.Status(), L"Setup did not complete.");
    EXPECT_LT(wizard.Progress(), 100);
    ASSERT_TRUE(wizard.Finish());
    CloseHandle(held);

    // Written up to the failing file, then the uninstaller; registered with its links.
    EXPECT_FALSE(Exists(L"C:\\Forward\\Orvane\\Orvane.exe"));
    EXPECT_EQ(ReadBytes(folder + L"\\Orvane.exe"), Payload(L"APP", 142));
    EXPECT_EQ(ReadBytes(folder + L"\\Manual_French.pdf"), Payload(L"RESDOC", 163));
    EXPECT_EQ(ReadBytes(german), "held open");
    EXPECT_FALSE(Exists(folder + L"\\Manual_Russian.pdf"));
    EXPECT_EQ(ReadBytes(folder + L"\\OrvaneUninstall.exe"), Payload(L"UNINSTALL", 145));
    EXPECT_EQ(ReadValue(kUninstallKey, L"UninstallString").bytes,
              StringValueBytes(folder + L"\\OrvaneUninstall.exe"));
    EXPECT_TRUE(ReadLink(Group() + L"\\Orvane.lnk"));

    // Removal while the program file is held: stops before removing anything, and says so.
    const std::wstring program = folder + L"\\Orvane.exe";
    held = CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Wizard removal;
    ASSERT_TRUE(removal.Start());
    ASSERT_NE(removal.PageWith(1005), nullptr);
    PostMessageW(removal.Control(1005, 1006), BM_CLICK, 0, 0);
    Sleep(200);
    removal.Press(1001);
    box = WaitForMessageBox(removal.Process(), L"Orvane Setup", 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), L"This file could not be removed; it may be in use:\n" + program +
                                L"\n\nNothing was changed.");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(removal.Status(), L"Setup did not complete.");
    ASSERT_TRUE(removal.Finish());
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(program), Payload(L"APP", 142));
    EXPECT_TRUE(Exists(folder + L"\\Manual_English.pdf"));
    EXPECT_TRUE(KeyExists(kUninstallKey));
    EXPECT_TRUE(Exists(DesktopLink()));

    // The uninstaller removes what the failed install wrote.
    RunUninstaller(folder + L"\\OrvaneUninstall.exe", true);
    EXPECT_TRUE(WaitUntil(10000, [&] { return !Exists(folder + L"\\OrvaneUninstall.exe"); }));
    ExpectNoApplication(folder);
    EXPECT_TRUE(FolderContent(folder).empty());
}

// ---- Removal from the wizard

TEST(SetupRemove, UninstallFromTheWizardKeepsUserFiles) {
    const std::wstring folder = L"C:\\Orvane Here";
    Install(folder);
    WriteBytes(folder + L"\\my notes.txt", "mine");
    const std::wstring picture = MakeCapturedPicture();

    Wizard wizard;
    ASSERT_TRUE(wizard.Start());
    ASSERT_NE(wizard.PageWith(1005), nullptr);
    PostMessageW(wizard.Control(1005, 1006), BM_CLICK, 0, 0);
    Sleep(200);
    wizard.Press(1001);
    // Straight to the progress page: the folder page is skipped.
    ASSERT_TRUE(WaitUntil(5000, [&] { return wizard.PageWith(1010) != nullptr; }));
    ASSERT_TRUE(wizard.WaitDone());
    EXPECT_EQ(wizard.Progress(), 100);
    EXPECT_EQ(wizard.Status(), L"Finish");
    ASSERT_TRUE(wizard.Finish());

    ExpectNoApplication(folder);
    EXPECT_FALSE(KeyExists(L"Software\\Orvane"));
    EXPECT_EQ(FolderContent(folder), std::set<std::wstring>{L"my notes.txt"});
    EXPECT_EQ(ReadBytes(picture), "BM picture bytes");
}

// ---- The uninstaller

TEST(Uninstaller, CancelThenUninstallThenACopyFromAnotherFolder) {
    const std::wstring folder = L"C:\\Apps\\Orvane";
    const std::wstring uninstaller = folder + L"\\OrvaneUninstall.exe";
    Install(folder);
    const std::wstring picture = MakeCapturedPicture();

    RunUninstaller(uninstaller, false, L"uninstaller");
    Sleep(1500);
    ExpectInstalled(folder);

    RunUninstaller(uninstaller, true);
    EXPECT_TRUE(WaitUntil(10000, [&] { return !Exists(uninstaller); }))
        << "the uninstaller did not delete its own file";
    ExpectNoApplication(folder);
    EXPECT_FALSE(KeyExists(L"Software\\Orvane"));
    EXPECT_TRUE(Exists(folder)) << "the folder that held the running uninstaller stays";
    EXPECT_EQ(ReadBytes(picture), "BM picture bytes");

    // A copy elsewhere removes the installation whole, its folder included, then itself.
    Install(folder);
    const std::wstring copy = L"C:\\Elsewhere\\OrvaneUninstall.exe";
    CreateDirectoryW(L"C:\\Elsewhere", nullptr);
    ASSERT_TRUE(CopyFileW(uninstaller.c_str(), copy.c_str(), FALSE));
    RunUninstaller(copy, true);
    EXPECT_TRUE(WaitUntil(10000, [&] { return !Exists(copy); }));
    ExpectNoApplication(folder);
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(KeyExists(L"Software\\Orvane"));
}

TEST(Uninstaller, TheSelfDeletionRunsTheSystemInterpreterNotOneBesideIt) {
    const std::wstring folder = L"C:\\Planted\\Orvane";
    const std::wstring current = L"C:\\Planted current";
    const std::wstring uninstaller = folder + L"\\OrvaneUninstall.exe";
    Install(folder);
    ExpectInstalled(folder);
    CreateDirectoryW(current.c_str(), nullptr);
    const std::wstring self = ProgramPath(L"orvane_setup_tests.exe");
    ASSERT_TRUE(CopyFileW(self.c_str(), (folder + L"\\cmd.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(self.c_str(), (current + L"\\cmd.exe").c_str(), FALSE));

    Program program;
    ASSERT_TRUE(program.Start(uninstaller, current.c_str()));
    HWND dialog = program.WaitForWindow(1000);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(program.WaitForExit(20000));
    EXPECT_TRUE(WaitUntil(10000, [&] { return !Exists(uninstaller); }))
        << "the system's interpreter did not delete the uninstaller";
    Sleep(500);
    const std::string ran = ReadBytes(kPlantedCmdLog);
    EXPECT_TRUE(ran.empty()) << "a planted cmd.exe ran: "
                             << Narrow(std::wstring(reinterpret_cast<const wchar_t*>(ran.data()),
                                                    ran.size() / sizeof(wchar_t)));
    ExpectNoApplication(folder);
    EXPECT_EQ(FolderContent(folder), std::set<std::wstring>{L"cmd.exe"});
    EXPECT_EQ(FolderContent(current), std::set<std::wstring>{L"cmd.exe"});
}

// ---- Removal without an installation

TEST(UninstallerWithoutInstallation, TouchesOnlyTheSettingsKeyAndTheEntry) {
    // Files named as the installation's, at the drive root, beside the uninstaller and as
    // links: none of them belongs to an installation.
    const std::vector<std::wstring> decoys = {
        L"C:\\Orvane.exe",        L"C:\\Manual_English.pdf",      L"C:\\OrvaneUninstall.exe",
        L"C:\\Loose\\Orvane.exe", L"C:\\Loose\\Manual_Dutch.pdf", DesktopLink()};
    CreateDirectoryW(L"C:\\Loose", nullptr);
    for (const auto& d : decoys) ASSERT_TRUE(WriteBytes(d, "decoy"));
    CreateDirectoryW(Group().c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Group() + L"\\Orvane.lnk", "decoy"));
    const std::wstring uninstaller = L"C:\\Loose\\OrvaneUninstall.exe";

    // Entry whose UninstallString names no folder, then no entry at all.
    for (int run = 0; run < 2; ++run) {
        SetDword(L"SetupTestMarker", 1);
        if (run == 0) SetString(kUninstallKey, L"UninstallString", L"OrvaneUninstall.exe");
        ASSERT_TRUE(
            CopyFileW(ProgramPath(L"OrvaneUninstall.exe").c_str(), uninstaller.c_str(), FALSE));
        RunUninstaller(uninstaller, true);
        EXPECT_TRUE(WaitUntil(10000, [&] { return !Exists(uninstaller); })) << run;
        EXPECT_FALSE(KeyExists(L"Software\\Orvane")) << run;
        EXPECT_FALSE(KeyExists(kUninstallKey)) << run;
        for (const auto& d : decoys) EXPECT_EQ(ReadBytes(d), "decoy") << run;
        EXPECT_EQ(ReadBytes(Group() + L"\\Orvane.lnk"), "decoy") << run;
    }
}

}  // namespace
}  // namespace orvane::test
