#pragma once
// Texts of one language set, read from the string table of that language only.
#include <windows.h>

#include <string>

#include "setup/logic/install_steps.h"

namespace orvane::setup {

// The language set for the user's interface language (see ResourceLanguageFor).
WORD UserResourceLanguage();

// String id of this program in the given language; English where the set lacks it. At most
// 79 characters are kept, the size of the wizard's text buffers.
std::wstring MessageIn(WORD language, UINT id);
// The same for the failure reports, which are not cut.
std::wstring FullMessageIn(WORD language, UINT id);

// The text that reports a failed sequence: why, the file, and what it left behind.
std::wstring FailureText(WORD language, const SequenceResult& result);

}  // namespace orvane::setup
