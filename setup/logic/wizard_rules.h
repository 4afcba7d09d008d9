#pragma once
// The setup wizard's page rules and the choice of its message language.
#include <cstdint>

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
};
// The progress page's status at this progress value.
Message StatusMessage(Mode mode, int progress);

// The thirteen language sets of the setup program and the uninstaller, as the platform's
// language identifiers of their resources.
constexpr uint16_t kLangEnglish = 1033;
// The set for the user's interface language: by primary language, Chinese by script
// (Taiwan, Hong Kong, Macao and "Hant" read Traditional, every other Chinese Simplified);
// English for every language without a set of its own.
uint16_t ResourceLanguageFor(uint16_t userLanguage);

}  // namespace orvane::setup
