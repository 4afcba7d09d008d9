#include "app/rules/dialog_rules.h"

#include <cwchar>

namespace orvane {

LinkColour ChooseLinkColour(const LinkState& state, uint32_t options) {
    if (state.hover && (options & kLinkHoverColour)) return LinkColour::Hover;
    if (!(options & kLinkIgnoreFocus) && state.focusedOrPressed) return LinkColour::Focused;
    return state.visited ? LinkColour::Visited : LinkColour::Normal;
}

std::wstring ShellErrorReason(int code) {
    switch (code) {
        case 0:
            return L"The operating system is out\nof memory or resources.";
        case 2:
            return L"The specified file was not found.";
        case 3:
            return L"The specified path was not found.";
        case 5:
            return L"The operating system denied\naccess to the specified file.";
        case 8:
            return L"There was not enough memory to complete the operation.";
        case 11:
            return L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
        case 26:
            return L"A sharing violation occurred. ";
        case 27:
            return L"The filename association is\nincomplete or invalid.";
        case 28:
            return L"The DDE transaction could not\nbe completed because the request timed out.";
        case 29:
            return L"The DDE transaction failed.";
        case 30:
            return L"The DDE transaction could not\nbe completed because other DDE "
                   L"transactions\nwere being processed.";
        case 31:
            return L"There is no application associated\nwith the given filename extension.";
        case 32:
            return L"The specified dynamic-link library was not found.";
        default: {
            wchar_t text[64];
            std::swprintf(text, 64, L"Unknown Error (%d) occurred.", code);
            return text;
        }
    }
}

std::wstring BrowserCommandLine(std::wstring_view openCommand, std::wstring_view target) {
    std::wstring command(openCommand);
    size_t cut = command.find(L"\"%1\"");
    if (cut == std::wstring::npos) cut = command.find(L"%1");
    if (cut != std::wstring::npos) command.erase(cut);
    command += L' ';
    command += target;
    return command;
}

IntRect SizeToText(const IntRect& control, int textWidth, int textHeight, int borderWidth,
                   int borderHeight, const TextAlignment& alignment) {
    const int width = textWidth + borderWidth;
    const int height = textHeight + borderHeight;
    IntRect r = control;
    if (alignment.centreVertically) {
        r.top = control.top + (control.Height() - height) / 2;
    }
    r.bottom = r.top + height;
    if (alignment.centreHorizontally) {
        r.left = control.left + (control.Width() - width) / 2;
        r.right = r.left + width;
    } else if (alignment.alignRight) {
        r.left = control.right - width;
    } else {
        r.right = control.left + width;
    }
    return r;
}

std::vector<IntRect> KeyColourRuns(const uint32_t* pixels, int width, int height, uint32_t key) {
    std::vector<IntRect> runs;
    if (pixels == nullptr || width <= 0 || height <= 0) return runs;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        int x = 0;
        while (x < width) {
            if ((row[x] & 0xFFFFFF) != key) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFF) == key) ++x;
            runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}

}  // namespace orvane
