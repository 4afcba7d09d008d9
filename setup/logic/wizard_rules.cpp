#include "setup/logic/wizard_rules.h"

namespace orvane::setup {

PageChange ShowPageRule(int n, int pageCount, int currentPage) {
    PageChange change{currentPage, n <= pageCount ? n : 0, 0};
    if (n == pageCount) {
        change.buttons = 0;
    } else if (n <= 1) {
        change.currentPage = 1;
        change.buttons = kCancel | kNext;
    } else if (n > pageCount) {
        change.currentPage = pageCount;
        change.buttons = kFinish;
    } else {
        change.buttons = kCancel | kNext | kBack;
    }
    return change;
}

int NextPageNumber(int currentPage, Mode mode) {
    if (currentPage == 1 && mode == Mode::Uninstall) currentPage = 2;
    return currentPage + 1;
}

Message StatusMessage(Mode mode, int progress) {
    if (progress == 100) return kMsgFinish;
    return mode == Mode::Uninstall ? kMsgUninstalling : kMsgInstalling;
}

std::optional<std::u16string> InstallFolderFromText(std::u16string_view text) {
    std::u16string folder(text);
    for (char16_t& c : folder) {
        if (c == u'/') c = u'\\';
    }
    if (!IsAbsolutePath(folder)) return std::nullopt;
    // The device and the no-parsing namespaces are no place for an installation.
    if (folder.size() >= 4 && folder[0] == u'\\' && (folder[2] == u'?' || folder[2] == u'.') &&
        folder[3] == u'\\') {
        return std::nullopt;
    }
    return folder;
}

FailureReport ReportOf(const SequenceResult& result) {
    const Message written = result.partial ? kMsgPartlyInstalled : kMsgNotInstalled;
    switch (result.failure) {
        case Failure::ProgramRunning:
            return {kMsgProgramRunning, false, kMsgNothingChanged};
        case Failure::PathTooLong:
            return {kMsgPathTooLong, true, kMsgNothingChanged};
        case Failure::CannotRemove:
            return {kMsgCannotRemove, true, kMsgNothingChanged};
        case Failure::NoResource:
            return {kMsgNoResource, true, written};
        case Failure::CannotOpen:
            return {kMsgCannotOpen, true, written};
        case Failure::ShortWrite:
            return {kMsgShortWrite, true, written};
        case Failure::None:
            break;
    }
    return {kMsgFinish, false, kMsgFinish};  // a run that succeeded has nothing to report
}

uint16_t ResourceLanguageFor(uint16_t userLanguage) {
    const unsigned primary = userLanguage & 0x3FFu;
    const unsigned sub = userLanguage >> 10;
    switch (primary) {
        case 0x04:  // Chinese: Taiwan 1, Hong Kong 3, Macao 5, Traditional script 0x1F
            return (sub == 1 || sub == 3 || sub == 5 || sub == 0x1F) ? 1028 : 2052;
        case 0x07:
            return 7;  // German
        case 0x0A:
            return 10;  // Spanish
        case 0x0C:
            return 12;  // French
        case 0x10:
            return 16;  // Italian
        case 0x11:
            return 1041;  // Japanese
        case 0x12:
            return 1042;  // Korean
        case 0x13:
            return 19;  // Dutch
        case 0x16:
            return 22;  // Portuguese
        case 0x19:
            return 1049;  // Russian
        case 0x2A:
            return 42;  // Vietnamese
        default:
            return kLangEnglish;
    }
}

}  // namespace orvane::setup
