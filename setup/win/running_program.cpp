#include "setup/win/running_program.h"

#include "platform/handles.h"
#include "setup/logic/wizard_rules.h"
#include "setup/win/messages.h"

namespace orvane::setup {

bool OrvaneRunning() {
    // Only opened, never created: a mutex of ours would keep Orvane from starting.
    UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, L"OrvaneMutex"));
    // A mutex that exists but may not be opened is a running program all the same.
    return mutex || GetLastError() == ERROR_ACCESS_DENIED;
}

bool AskUntilOrvaneClosed(HWND owner, WORD language, const std::wstring& caption) {
    while (OrvaneRunning()) {
        const std::wstring text = FullMessageIn(language, kMsgProgramRunning) + L" " +
                                  FullMessageIn(language, kMsgCloseAndRetry);
        if (MessageBoxW(owner, text.c_str(), caption.c_str(), MB_RETRYCANCEL | MB_ICONWARNING) !=
            IDRETRY) {
            return false;
        }
    }
    return true;
}

}  // namespace orvane::setup
