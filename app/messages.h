#pragma once
// Message numbers of the texts the shell shows, and their lookup in the current language.
#include <string>

namespace orvane {

enum Message : int {
    // The picture editor's.
    kMsgCalibrationPrompt = 27,
    kMsgCalibrationTitle = 28,
    kMsgCancel = 29,
    kMsgNo = 32,
    kMsgPictureModified = 34,
    kMsgSetMagnificationHint = 35,
    kMsgSetMagnificationPrompt = 36,
    kMsgSetMagnificationTitle = 37,
    kMsgEditorTitle = 38,
    kMsgYes = 39,
    kMsgWarning = 40,
    kMsgNotEnoughMemory = 41,
    kMsgLineStyle = 43,
    kMsgLineWidth = 44,
    // The main window's.
    kMsgOrvane = 45,
    kMsgVersion = 46,
    kMsgLegalNotice = 47,
    kMsgDeviceNotFound = 50,
    kMsgError = 51,
    kMsgCreatePictureFolderError = 52,
    kMsgCreateVideoFolderError = 53,
    kMsgSelectLanguage = 83,
    kMsgSelectDevice = 84,
    kMsgPauseVideo = 85,
    kMsgCapturePicture = 86,
    kMsgRecordVideo = 87,
    kMsgImageSetting = 88,
    kMsgTimeLapse = 89,
    kMsgDateTime = 90,
    kMsgSaveAs = 91,
    kMsgCrossingCursor = 92,
    kMsgOK = 93,
    kMsgTimeLapsePhoto = 96,
    kMsgTimeLapseVideo = 97,
    kMsgTimeLapseStartTime = 98,
    kMsgTimeLapseInterval = 99,
    kMsgTimeLapseVideoTime = 100,
    kMsgTimeLapseTotal = 101,
    kMsgTimeLapseCaptured = 102,
    kMsgTimeLapseStart = 103,
    kMsgTimeLapseStop = 104,
    kMsgTimeLapseTitle = 105,
    kMsgStampSize = 106,
    kMsgStampDateTime = 107,
    kMsgStampFileName = 108,
    kMsgMagnification = 109,
    kMsgPhotoSaveAsDisplay = 114,
    kMsgPictureFolder = 119,
    kMsgVideoFolder = 120,
    kMsgSelectFolder = 121,
    kMsgInformation = 122,
    kMsgFont = 124,
    kMsgStopRecordingFirst = 123,
    kMsgMeasureOrPlay = 125,
    kMsgDeleteSelected = 126,
    kMsgDeleteAll = 127,
    // The program's own texts, beyond those above: failures the user must hear of.
    kMsgPictureNotSavedAs = 128,
    kMsgPictureNotRead = 129,
    kMsgClipNotCopiedTo = 130,
    kMsgEnterNumber = 131,
    kMsgFolderUnusable = 132,
    kMsgPhotoNotStored = 133,
    kMsgClipNotRecorded = 134,
    kMsgPhotoFormatUnsupported = 135,
    // Calibrated results.
    kMsgScaleBar = 136,
    kMsgMeasurementsTitle = 137,
    kMsgCopyTable = 138,
    kMsgExportTable = 139,
    kMsgCloseTable = 140,
    kMsgTableNotWritten = 141,
    kMsgFullPrecision = 142,
    kMsgTableFilter = 143,
    kMsgTableNotCopied = 144,
    kMsgFirstTableHeader = 170,  // the 15 column headers, 170..184
};

// The text of message n in the language whose string base is current.
std::wstring MessageText(int n);
void SetCurrentStringBase(unsigned base);

// The product home page, shown in the About box and opened from the Help menu.
constexpr const wchar_t* kHomePage = L"https://www.orvane.example/";

}  // namespace orvane
