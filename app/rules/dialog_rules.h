#pragma once
// Rules of the small dialogs and controls that do not need a window to decide.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Hyperlink options.
enum HyperLinkOption : uint32_t {
    kLinkUnderline = 0x01,
    kLinkHoverColour = 0x02,
    kLinkSizeToText = 0x04,
    kLinkOpenOnDown = 0x08,
    kLinkFocusOnDown = 0x10,
    kLinkNormalCursor = 0x20,
    kLinkIgnoreFocus = 0x40,
};
constexpr uint32_t kDefaultLinkOptions = 0x17;

enum class LinkColour { Normal, Visited, Hover, Focused };

struct LinkState {
    bool hover = false;
    bool focusedOrPressed = false;
    bool visited = false;
};

LinkColour ChooseLinkColour(const LinkState& state, uint32_t options);

// The reason shown when the shell cannot open a link, by its error code.
std::wstring ShellErrorReason(int code);

// The browser's open command with its "%1" placeholder cut off, then a space and the target.
std::wstring BrowserCommandLine(std::wstring_view openCommand, std::wstring_view target);

struct IntRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const IntRect&) const = default;
};

struct TextAlignment {
    bool centreVertically = false;
    bool centreHorizontally = false;
    bool alignRight = false;
};

// The control rectangle sized to its text (plus the window's border widths), keeping the
// centre, the right edge or the left/top edge as its alignment says.
IntRect SizeToText(const IntRect& control, int textWidth, int textHeight, int borderWidth,
                   int borderHeight, const TextAlignment& alignment);

// Runs of one colour key, row by row: the parts of a shaped window that are cut away.
// pixels are 0x00RRGGBB, rows top to bottom.
std::vector<IntRect> KeyColourRuns(const uint32_t* pixels, int width, int height, uint32_t key);

}  // namespace orvane
