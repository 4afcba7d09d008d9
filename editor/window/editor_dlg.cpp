#include "editor/window/editor_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwctype>

#include <commdlg.h>
#include <shlobj.h>

#include "app/messages.h"
#include "editor/rules/magnification.h"
#include "editor/rules/window_rules.h"
#include "media/capture_names.h"
#include "platform/reg_key.h"
#include "platform/wide.h"
#include "resource.h"
#include "widgets/message_box.h"

namespace orvane {
namespace {

constexpr COLORREF kBackground = RGB(233, 233, 238);
constexpr wchar_t kKey[] = L"Software\\Orvane";

std::u16string Upper(std::u16string s) {
    for (char16_t& c : s) c = static_cast<char16_t>(std::towupper(static_cast<wint_t>(c)));
    return s;
}

}  // namespace

CIvoraImgEdtDlg::CIvoraImgEdtDlg(std::u16string path, MediaFiles& files, MediaClock& clock)
    : Dialog(IDD_IMAGE_EDITOR),
      path_(Upper(std::move(path))),
      files_(files),
      clock_(clock),
      results_(
          files, [this](int n) { return Text(n); },
          [this](UINT command) { return MenuItemText(command); }) {}

std::wstring CIvoraImgEdtDlg::MenuItemText(UINT command) const {
    wchar_t text[128] = {};
    if (menu_) GetMenuStringW(menu_.Get(), command, text, 128, MF_BYCOMMAND);
    return text;
}

CIvoraImgEdtDlg::~CIvoraImgEdtDlg() {
    if (Hwnd() != nullptr && !closed_) LeavePicture();
}

bool CIvoraImgEdtDlg::Open(HWND owner) {
    if (!Create(owner)) {
        PostMessageW(owner, kEditorClosed, 0, 0);
        return false;
    }
    if (!OpenPicture(path_)) {
        closed_ = true;
        PostMessageW(owner, kEditorClosed, 0, 0);
        return false;
    }
    ShowWindow(Hwnd(), SW_SHOW);
    SetFocus(canvas_.Hwnd());
    return true;
}

BOOL CIvoraImgEdtDlg::OnInitDialog() {
    // Id 0 belongs to the live picture's window among the main window's children.
    SetWindowLongPtrW(Hwnd(), GWLP_ID, IDD_IMAGE_EDITOR);
    adjustMessage_ = RegisterWindowMessageW(L"OrvaneAdjustMagnificaton");
    setMessage_ = RegisterWindowMessageW(L"OrvaneSetMagnificaton");
    quitMessage_ = RegisterWindowMessageW(L"MessageInfoImgEditQuit");
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, kKey)) {
        DWORD type = 0;
        std::string bytes;
        if (key.Query(L"InputMaginification", type, bytes) && bytes.size() == 8) {
            std::memcpy(&keptMagnification_, bytes.data(), 8);
            // Infinite or negative is no magnification: it must not be printed or stored.
            if (!(std::isfinite(keptMagnification_) && keptMagnification_ > 0.0)) {
                keptMagnification_ = 0.0;
            }
        }
        if (key.Query(L"Properties", type, bytes)) {
            canvas_.properties = editor::EditorProperties::FromBytes(
                reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        }
    }
    ReadLanguage();
    canvas_.messageCaption = Text(kMsgOrvane);
    LoadLanguageMenu();
    LoadButtons();
    LayOut();
    DrawMagnificationCaption();
    PaintFrameBackground();
    canvas_.Create(Item(IDC_EDITOR_FRAME), Hwnd());
    results_.Attach(canvas_);
    if (menu_) {
        HMENU units = GetSubMenu(GetSubMenu(menu_.Get(), 1), 18);
        CheckMenuRadioItem(units, 32855, 32858, 32855 + canvas_.properties.unit, MF_BYCOMMAND);
    }
    CreateTooltips();
    SendMessageW(Item(IDC_EDITOR_NOTE), EM_LIMITTEXT, MediaInfoRecord::kTextUnits - 1, 0);
    return FALSE;
}

bool CIvoraImgEdtDlg::OpenPicture(const std::u16string& path) {
    if (!canvas_.LoadPicture(ToWide(path))) return false;
    bool sideFileRead = false;
    record_ = ReadMediaInfoForMeasuring(path, keptMagnification_, files_, clock_, sideFileRead);
    canvas_.pixelFactor =
        sideFileRead ? editor::PixelFactorOf(record_.deviceCode) : editor::kDefaultPixelFactor;
    canvas_.scale =
        editor::PictureScale(record_.stillSize, canvas_.ImageWidth(), canvas_.ImageHeight());
    canvas_.magnifications =
        editor::OpenedMagnifications(record_.magnification, record_.adjustedMagnification);
    keptMagnification_ = record_.magnification;
    calibrationConfirmed_ = false;
    results_.Opened(path);
    SetItemText(IDC_EDITOR_NOTE, ToWide(RecordText(record_.note)).c_str());
    ShowMagnification();
    InvalidateRect(Hwnd(), nullptr, TRUE);
    return true;
}

void CIvoraImgEdtDlg::LeavePicture() {
    if (!canvas_.PictureLoaded()) return;
    record_.magnification = canvas_.magnifications.picture;
    record_.adjustedMagnification = canvas_.magnifications.adjusted;
    keptMagnification_ = record_.magnification;
    WriteMediaInfo(record_, files_);
    results_.Leaving(path_);
}

void CIvoraImgEdtDlg::ShowMagnification() {
    const std::string text = editor::MagnificationBoxText(canvas_.magnifications);
    SetWindowTextA(Item(IDC_EDITOR_MAGNIFICATION), text.c_str());
}

std::wstring CIvoraImgEdtDlg::MagnificationText() const {
    wchar_t text[64] = {};
    GetWindowTextW(Item(IDC_EDITOR_MAGNIFICATION), text, 64);
    return text;
}

std::vector<std::u16string> CIvoraImgEdtDlg::PictureList() const {
    std::vector<std::u16string> list;
    const size_t slash = path_.find_last_of(u'\\');
    if (slash == std::u16string::npos) return list;
    const std::u16string folder = path_.substr(0, slash);
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(ToWide(folder + u"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return list;
    do {
        const std::u16string name = FromWide(data.cFileName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsCaptureFileName(name)) {
            list.push_back(folder + u"\\" + name);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(list.begin(), list.end());
    return list;
}

bool CIvoraImgEdtDlg::AskSaveIfModified(bool withCancel, bool& keepOpen) {
    keepOpen = false;
    if (canvas_.ModifiedCount() == 0) return true;
    CMessageBox prompt;
    prompt.SetTexts(Text(kMsgEditorTitle), Text(kMsgPictureModified), Text(kMsgYes), Text(kMsgNo));
    const INT_PTR answer = prompt.DoModal(Hwnd());
    if (answer == IDOK) {
        SaveAsWithDialog();
    } else if (answer != IDC_MESSAGE_BUTTON7 && withCancel) {
        keepOpen = true;
        return false;
    }
    return true;
}

void CIvoraImgEdtDlg::Step(bool next) {
    bool keepOpen = false;
    AskSaveIfModified(false, keepOpen);
    canvas_.Cancel();
    const std::vector<std::u16string> list = PictureList();
    const std::u16string upper = Upper(path_);
    size_t index = list.size();
    for (size_t i = 0; i < list.size(); ++i) {
        if (Upper(list[i]) == upper) index = i;
    }
    if (index == list.size()) return;
    if (next ? index + 1 >= list.size() : index == 0) return;
    const std::u16string target = list[next ? index + 1 : index - 1];
    LeavePicture();
    path_ = target;
    // A picture that cannot be decoded is reported and left empty; the next step goes on from
    // it.
    OpenPicture(target);
    SetItemText(IDC_EDITOR_NOTE, L"");
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CIvoraImgEdtDlg::Close() {
    if (closing_ || closed_) return;
    closing_ = true;
    bool keepOpen = false;
    AskSaveIfModified(true, keepOpen);
    closing_ = false;
    if (keepOpen) return;
    LeavePicture();
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, kKey)) {
        const editor::EditorProperties::Bytes bytes = canvas_.properties.ToBytes();
        key.Set(L"Properties", REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    closed_ = true;
    ShowWindow(Hwnd(), SW_HIDE);
    PostMessageW(GetParent(Hwnd()), kEditorClosed, 0, 0);
}

void CIvoraImgEdtDlg::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    UniqueBrush brush(CreateSolidBrush(kBackground));
    FillRect(dc, &client, brush.Get());
    RECT note{};
    GetWindowRect(Item(IDC_EDITOR_NOTE), &note);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&note), 2);
    const std::u16string line = editor::TitleLine(path_, RecordText(record_.note));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0)));
    TextOutW(dc, note.left, note.top, ToWide(line).c_str(), static_cast<int>(line.size()));
    SelectObject(dc, old);
    EndPaint(Hwnd(), &ps);
}

bool CIvoraImgEdtDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == adjustMessage_ && adjustMessage_ != 0) {
        OnAdjustMagnification(
            editor::JoinDouble(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)));
        return true;
    }
    if (message == quitMessage_ && quitMessage_ != 0) {
        Close();
        return true;
    }
    switch (message) {
        case CIvoraImgEdtView::kToolCleared:
            if (menu_) {
                for (int sub = 0; sub < 2; ++sub) {
                    HMENU popup = GetSubMenu(menu_.Get(), sub);
                    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
                        const UINT id = GetMenuItemID(popup, i);
                        if (id < 32855 || id > 32858)
                            CheckMenuItem(popup, i, MF_BYPOSITION | MF_UNCHECKED);
                    }
                }
            }
            return true;
        case WM_PAINT:
            Paint();
            return true;
        case WM_DRAWITEM:
            if (!DrawControl(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return false;
            result = TRUE;
            return true;
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item->CtlType != ODT_MENU || !menuDraw_.MeasureItem(item)) return false;
            result = TRUE;
            return true;
        }
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_LBUTTONDBLCLK: {
            RECT note{};
            GetWindowRect(Item(IDC_EDITOR_NOTE), &note);
            MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&note), 2);
            const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&note, p)) {
                SetItemText(IDC_EDITOR_NOTE, ToWide(RecordText(record_.note)).c_str());
                ShowWindow(Item(IDC_EDITOR_NOTE), SW_SHOW);
                SetFocus(Item(IDC_EDITOR_NOTE));
            }
            return true;
        }
        default:
            return false;
    }
}

bool CIvoraImgEdtDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_EDITOR_NOTE) {
        if (code == EN_KILLFOCUS) {
            wchar_t text[MediaInfoRecord::kTextUnits + 1] = {};
            GetWindowTextW(control, text, MediaInfoRecord::kTextUnits + 1);
            // A note longer than the field is cut to what it holds (a pair of surrogates kept
            // whole), never emptied.
            SetRecordText(record_.note, editor::NoteThatFits(FromWide(text)));
            ShowWindow(control, SW_HIDE);
            InvalidateRect(Hwnd(), nullptr, TRUE);
        }
        return true;
    }
    if (control != nullptr && code != BN_CLICKED) return false;
    const int toolMenu = id == IDC_EDITOR_DRAW || id == IDC_EDITOR_DRAW_MORE         ? 0
                         : id == IDC_EDITOR_MEASURE || id == IDC_EDITOR_MEASURE_MORE ? 1
                                                                                     : -1;
    if (toolMenu >= 0) {
        if (toolMenu == lastToolMenu_ && !movedSinceMenu_) {
            lastToolMenu_ = -1;
            return true;
        }
        lastToolMenu_ = toolMenu;
        movedSinceMenu_ = false;
        GetCursorPos(&menuPoint_);
    }
    ApplyCommand(id);
    return true;
}

}  // namespace orvane
