#pragma once
// Message numbers of the texts the shell shows, and their lookup in the current language.
#include <string>

namespace orvane {

enum Message : int {
    kMsgOrvane = 45,
    kMsgVersion = 46,
    kMsgLegalNotice = 47,
    kMsgDeviceNotFound = 50,
    kMsgError = 51,
    kMsgCreatePictureFolderError = 52,
    kMsgCreateVideoFolderError = 53,
    kMsgOK = 93,
    kMsgInformation = 122,
    kMsgStopRecordingFirst = 123,
};

// The text of message n in the language whose string base is current.
std::wstring MessageText(int n);
void SetCurrentStringBase(unsigned base);

// The product home page, shown in the About box and opened from the Help menu.
constexpr const wchar_t* kHomePage = L"https://www.orvane.example/";

}  // namespace orvane
