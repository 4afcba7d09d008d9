#pragma once
// The frame callbacks' side of the file system and the window system: the temporary picture
// files, the announcement to the main window, and the scaled save of a converted raw picture.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/image_codecs.h"

namespace orvane {

// The temporary files of a capture.
inline constexpr wchar_t kTempBmp[] = L"Orvane.bmp";
inline constexpr wchar_t kTempJpg[] = L"Orvane.jpg";
inline constexpr wchar_t kTempThumb[] = L"thumb.bmp";

// The system temporary folder with a trailing backslash, and a file in it.
std::wstring TempFolder();
std::wstring TempFilePath(const wchar_t* name);

// A new path in the temporary folder for one capture's picture ("Orvane-<n>.bmp" or ".jpg"):
// every photo has a file of its own, so none is rewritten while the window thread copies it.
std::wstring NewCaptureTempPath(bool jpeg);

// A temporary picture file made anew: attributes cleared, the old file deleted, created for
// writing with shared write access.
class NewTempFile {
  public:
    explicit NewTempFile(const std::wstring& path);
    bool Opened() const { return static_cast<bool>(file_); }
    // Writes all bytes; false when any could not be written.
    bool Write(const void* data, size_t bytes);
    void Close() { file_.Reset(); }

  private:
    struct FileTraits {
        static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
        static void Close(HANDLE h) { CloseHandle(h); }
    };
    UniqueResource<HANDLE, FileTraits> file_;
};

// Posts "OrvaneCapturePicture" to all top-level windows.
void AnnounceCapture(WPARAM wParam, LPARAM lParam);

// A small copy of a capture's picture, top-down B G R rows of width * 3 bytes, from which the
// window thread makes the strip's thumbnail without decoding the whole file again.
struct HandedOverThumbnail {
    std::unique_ptr<uint8_t[]> bgr;
    int width = 0;
    int height = 0;
    bool Empty() const { return !bgr; }
};

// The largest side of a handed-over thumbnail: more than a strip cell shows.
inline constexpr int kHandedOverThumbnailSide = 320;

// A capture's picture handed from a streaming thread to the window thread, which stores it.
struct HandedOverPicture {
    std::wstring path;              // the complete temporary file, the receiver's to remove
    bool jpegFrame = false;         // a JPEG frame of the camera, stored as BMP
    bool keepJpeg = false;          // stored as JPEG as it is
    bool unsupported = false;       // no file: the camera's format gives no photo
    HandedOverThumbnail thumbnail;  // empty: the strip decodes the file
};

// The hand-over thumbnail of a bottom-up 24-bit picture (rows padded to 4 bytes): scaled with
// the look of a halftone stretch to fit kHandedOverThumbnailSide, its aspect kept (a picture
// no larger is copied). Empty when the picture is empty or the memory cannot be had.
HandedOverThumbnail MakeHandedOverThumbnail(const uint8_t* bottomUpBgr, int width, int height);

// Queues the picture and announces it (wParam 1 for a JPEG frame, lParam 1 to keep JPEG).
void HandOverCapture(HandedOverPicture picture);
// Called once for each announcement received: true when it is one of this process's own
// (its picture may have been taken already), false when another program announced a picture.
bool ReceiveOwnAnnouncement();
// The pictures handed over since the last call, oldest first.
std::vector<HandedOverPicture> TakeHandedOverCaptures();

// Saves a bottom-up 24-bit picture (rows padded to 4 bytes) in the target size as path, BMP or
// JPEG by its extension. A picture of another size is scaled first with the look of a
// halftone stretch (HalftoneScale). Both formats are written by the program itself (JPEG by
// EncodeJpeg), so every build stores the same bytes. False when anything fails; a file that
// could not be written whole is removed.
bool ScaleAndSave(const uint8_t* bottomUpBgr, int width, int height, int targetWidth,
                  int targetHeight, const std::wstring& path);

}  // namespace orvane
