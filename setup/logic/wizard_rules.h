#pragma once
// The setup wizard's page rules and the choice of its message language.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/logic/install_steps.h"

namespace orvane::setup {

// Buttons of the wizard frame.
enum Button : unsigned { kBack = 1u, kNext = 2u, kFinish = 4u, kCancel = 8u };

enum class Mode { Install = 0, Uninstall = 1 };

struct PageChange {
    int currentPage;   // the page number the wizard holds afterwards
    int shownPage;     // the page to show; 0: leave every page as it is
    unsigned buttons;  // mask of enabled buttons
};

// Showing page n of pageCount: which page is visible, which buttons are enabled.
PageChange ShowPageRule(int n, int pageCount, int currentPage);
// The page Next leads to (the folder page is skipped when uninstalling from the operation page).
int NextPageNumber(int currentPage, Mode mode);

// Messages of the wizard.
enum Message : uint16_t {
    kMsgUninstall = 100,
    kMsgUninstalling = 101,
    kMsgInstalling = 146,
    kMsgTitle = 147,
    kMsgExitQuestion = 148,
    kMsgYes = 149,
    kMsgNo = 150,
    kMsgSelectPath = 151,
    kMsgSelectOperation = 152,
    kMsgRepair = 153,
    kMsgRepairText = 154,
    kMsgUninstallText = 155,
    kMsgBack = 156,
    kMsgNext = 157,
    kMsgFinish = 158,
    kMsgCancel = 159,
    // Failures of the sequences, each naming its file on the next line.
    kMsgIncomplete = 160,
    kMsgPathTooLong = 161,
    kMsgCannotOpen = 162,
    kMsgShortWrite = 163,
    kMsgNoResource = 164,
    kMsgCannotRemove = 165,
    // What a failure left behind.
    kMsgPartlyInstalled = 166,
    kMsgNotInstalled = 167,
    kMsgNothingChanged = 168,
    // The main program runs: the first line of the question and of the report.
    kMsgProgramRunning = 169,
    kMsgCloseAndRetry = 170,
};
// The progress page's status at this progress value.
Message StatusMessage(Mode mode, int progress);

// The installation folder typed on the folder page, as Next takes it: forward slashes become
// backslashes; nothing when the result is not an absolute folder ("." or "C:Foo" would name a
// folder that depends on the current one; "\\?\" and "\\.\" paths are refused as well).
std::optional<std::u16string> InstallFolderFromText(std::u16string_view text);

// How a failed sequence is reported: the line naming the file (kMsgProgramRunning names
// none) and the line saying what the failure left behind.
struct FailureReport {
    Message reason;
    bool namesFile;
    Message outcome;
};
FailureReport ReportOf(const SequenceResult& result);

// The thirteen language sets of the setup program and the uninstaller, as the platform's
// language identifiers of their resources.
constexpr uint16_t kLangEnglish = 1033;
// The set for the user's interface language: by primary language, Chinese by script
// (Taiwan, Hong Kong, Macao and "Hant" read Traditional, every other Chinese Simplified);
// English for every language without a set of its own.
uint16_t ResourceLanguageFor(uint16_t userLanguage);

}  // namespace orvane::setup
