// The file commands on the strip's selection: open, measure or play, delete (through the
// recycle bin, companions following without a question), and the two clipboard copies.
#include <windows.h>
#include <objidl.h>  // before gdiplus.h
#include <gdiplus.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "app/ivora_dlg.h"
#include "app/messages.h"
#include "capture/still/still_files.h"
#include "media/companion_paths.h"
#include "media/file_requests.h"
#include "media/text.h"
#include "media/win/clip_player.h"
#include "media/win/picture_file.h"
#include "platform/image_codecs.h"
#include "platform/wide.h"
#include "resources/lang/menu_ids.h"
#include "resources/resource.h"

namespace orvane {

namespace {

constexpr FILEOP_FLAGS kDeleteAsking = FOF_SILENT | FOF_ALLOWUNDO;                         // 0x44
constexpr FILEOP_FLAGS kDeleteSilently = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;  // 0x54
constexpr DWORD kLargestClipboardFile = 512u << 20;

struct GlobalTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
using UniqueGlobal = UniqueResource<HGLOBAL, GlobalTraits>;

// The clipboard, open for the life of the object.
class ClipboardScope {
  public:
    explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool Open() const { return open_; }

  private:
    bool open_;
};

UniqueGlobal GlobalCopy(const void* bytes, size_t size, UINT flags) {
    UniqueGlobal block(GlobalAlloc(flags, size));
    if (!block) return block;
    void* at = GlobalLock(block.Get());
    if (!at) return UniqueGlobal();
    if (size > 0) std::memcpy(at, bytes, size);
    GlobalUnlock(block.Get());
    return block;
}

// Hands the block to the clipboard; it keeps it only on success.
bool PutOnClipboard(UINT format, UniqueGlobal& block) {
    if (!block || !SetClipboardData(format, block.Get())) return false;
    block.Release();
    return true;
}

bool Exists(const std::u16string& path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A file, not a folder of the same name: only files go to the recycle bin from here.
bool IsFile(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One request to the shell to send the listed files to the recycle bin; true when it ran and
// nothing was declined or aborted.
bool ShellDelete(HWND owner, const std::vector<std::u16string>& paths, size_t first, size_t count,
                 FILEOP_FLAGS flags) {
    const std::wstring list = ToWide(DoubleNulList(paths, first, count));
    SHFILEOPSTRUCTW op{};
    op.hwnd = owner;
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = flags;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

void DeleteQuietly(HWND owner, const std::vector<std::u16string>& paths) {
    size_t first = 0;
    for (size_t count : SplitIntoRequests(paths, kFileRequestUnits)) {
        ShellDelete(owner, paths, first, count, kDeleteSilently);
        first += count;
    }
}

// The picture decoded and written as "Orvane.bmp" in the temporary folder; empty on failure.
std::wstring DecodedToTemporaryBmp(const std::wstring& picture) {
    const std::wstring folder = TempFolder();
    if (folder.empty()) return {};
    const std::wstring target = folder + L"Orvane.bmp";
    CLSID bmp{};
    if (!ImageEncoderFor(L"*.BMP", &bmp)) return {};
    // Decoded from memory: the picture's file is closed again whatever comes of it.
    const DecodedPicture image = DecodePictureFile(picture);
    if (!image.bitmap) return {};
    if (image.bitmap->Save(target.c_str(), &bmp, nullptr) != Gdiplus::Ok) return {};
    return target;
}

std::vector<uint8_t> ReadSmallFile(const std::wstring& path) {
    HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return {};
    const UniqueHandle file(raw);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kLargestClipboardFile) {
        return {};
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        return {};
    }
    return bytes;
}

}  // namespace

void CIvoraDlg::OnOpenSelected(UINT) {
    const auto& entries = strip_.Selection().entries();
    if (entries.empty()) return;
    const SelectionEntry first = entries.front();
    if (first.cell < 1 || first.cell > strip_.CellCount()) return;
    const std::u16string path = strip_.Cell(first.cell).Path();
    if (path.size() < 4) return;
    // As a double click on the cell: it becomes the only selected cell, then opens.
    strip_.Selection().Clear();
    strip_.Selection().Append(first.cell, path);
    strip_.ApplyMarks();
    if (strip_.Cell(first.cell).IsVideo()) {
        PlayClipOfThumbnail(path);
    } else {
        OpenPictureEditor(path);
    }
}

void CIvoraDlg::OnMeasureOrPlay(UINT) {
    const auto& entries = strip_.Selection().entries();
    if (entries.empty() || entries.front().path.size() < 4) return;
    const std::u16string path = UpperCase(entries.front().path);
    if (IsVideoThumbnailPath(path, settings_.VideoThumbFolderPath)) {
        PlayClipOfThumbnail(path);
    } else {
        OpenPictureEditor(path);
    }
}

void CIvoraDlg::OnDeleteSelected(UINT) {
    DeleteSelection();
}

void CIvoraDlg::OnDeleteAll(UINT) {
    // Declined, the selection the user had stays as it was.
    const StripSelection before = strip_.Selection();
    strip_.Selection().Clear();
    for (const DisplayItem& item : media_.display()) {
        strip_.Selection().Append(0, media_.PathOf(item));
    }
    if (DeleteSelection()) {
        strip_.ClearSelection();
        return;
    }
    strip_.Selection() = before;
    strip_.ApplyMarks();
}

bool CIvoraDlg::DeleteSelection() {
    std::vector<SelectedFile> files =
        FilesOfSelection(strip_.Selection().entries(), media_.lists());
    // Files removed behind the program's back would fail the whole request: leave them out.
    std::erase_if(files, [](const SelectedFile& f) { return !IsFile(f.path); });
    std::vector<std::u16string> paths;
    for (const SelectedFile& f : files) paths.push_back(f.path);
    bool changed = files.size() != strip_.Selection().entries().size();
    size_t first = 0;
    for (size_t count : SplitIntoRequests(paths, kFileRequestUnits)) {
        if (!ShellDelete(Hwnd(), paths, first, count, kDeleteAsking)) break;
        changed = true;
        std::vector<std::u16string> companions;
        for (size_t i = first; i < first + count; ++i) {
            for (const std::u16string& c : files[i].companions) {
                if (Exists(c)) companions.push_back(c);
            }
        }
        DeleteQuietly(Hwnd(), companions);
        first += count;
    }
    if (!changed) return false;
    strip_.ClearSelection();
    media_.RebuildMediaLists();
    media_.ShowDisplayList(MediaView::Picture);
    return true;
}

void CIvoraDlg::OnCopyFile(UINT) {
    std::vector<std::u16string> paths;
    for (const SelectedFile& f : FilesOfSelection(strip_.Selection().entries(), media_.lists())) {
        paths.push_back(f.path);
    }
    const std::vector<uint8_t> drop = DropFilesBlock(paths);
    const DWORD copy = 1;  // DROPEFFECT_COPY
    constexpr UINT kShared = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE;
    UniqueGlobal effect = GlobalCopy(&copy, sizeof copy, kShared);
    UniqueGlobal list = GlobalCopy(drop.data(), drop.size(), kShared);
    if (!effect || !list) return;
    const UINT effectFormat = RegisterClipboardFormatW(L"Preferred DropEffect");
    const ClipboardScope clipboard(nullptr);
    if (!clipboard.Open()) return;
    EmptyClipboard();
    PutOnClipboard(CF_HDROP, list);
    if (effectFormat != 0) PutOnClipboard(effectFormat, effect);
}

void CIvoraDlg::OnCopyImage(UINT) {
    const auto& entries = strip_.Selection().entries();
    if (entries.empty()) return;
    const std::u16string path = UpperCase(entries.front().path);
    std::wstring file = ToWide(path);
    if (path.size() < 3 || path.substr(path.size() - 3) != u"BMP") {
        file = DecodedToTemporaryBmp(file);
    }
    // Only a file whose headers and pixels are all there is handed on; any other is said, and
    // the clipboard keeps what it held.
    const std::vector<uint8_t> dib =
        file.empty() ? std::vector<uint8_t>() : PackedBitmapOfFile(ReadSmallFile(file));
    if (dib.empty()) {
        const std::wstring text = MessageText(kMsgPictureNotRead) + L"\n" + ToWide(path);
        MessageBoxW(Hwnd(), text.c_str(), MessageText(kMsgOrvane).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    UniqueGlobal block = GlobalCopy(dib.data(), dib.size(), GMEM_MOVEABLE);
    const ClipboardScope clipboard(Hwnd());
    if (!clipboard.Open()) return;
    if (block) {
        EmptyClipboard();
        if (PutOnClipboard(CF_DIB, block)) return;
    }
    if (settings_.Language == kLanguageEnglish) {
        MessageBoxW(Hwnd(), L"Not enough memory to complete the operation!", L"Warning",
                    MB_OK | MB_ICONEXCLAMATION);
    } else {
        MessageBoxW(Hwnd(),
                    L"\x6CA1\x6709\x8DB3\x591F\x7684\x5185\x5B58\x5B8C\x6210\x6B64\x9879"
                    L"\x64CD\x4F5C!",
                    L"\x8B66\x544A", MB_OK | MB_ICONEXCLAMATION);
    }
}

}  // namespace orvane
