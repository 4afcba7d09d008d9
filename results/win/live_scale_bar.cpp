#include "results/win/live_scale_bar.h"

#include <cwchar>

#include "results/calibration.h"
#include "results/win/scale_bar_paint.h"

namespace orvane::results {
namespace {

constexpr wchar_t kClass[] = L"OrvaneLiveScaleBar";
constexpr COLORREF kBarColour = RGB(0, 0, 0);
constexpr COLORREF kPlate = RGB(255, 255, 255);
constexpr int32_t kFontHeight = 16;

}  // namespace

bool LiveScaleBar::Create(HWND owner) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, kClass, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        if (!RegisterClassExW(&wc)) return false;
    }
    window_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"", WS_POPUP, 0, 0,
                                  1, 1, owner, nullptr, instance, this));
    if (!window_) return false;
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    font_.lfHeight = -kFontHeight;
    font_.lfWeight = FW_BOLD;
    wcscpy(font_.lfFaceName, L"Arial");
    return true;
}

void LiveScaleBar::Hide() {
    shown_.reset();
    if (window_) ShowWindow(window_.Get(), SW_HIDE);
}

void LiveScaleBar::Follow(const LiveBarInputs& in) {
    if (!window_ || !in.live || !IsWindowVisible(in.live) || in.frameWidth <= 0) {
        Hide();
        return;
    }
    const Conversion c = LiveConversion(in.deviceCode, in.stillSize, in.frameWidth, in.frameHeight,
                                        in.magnification, in.unit);
    std::optional<ScaleBar> bar = ChooseScaleBar(c, in.frameWidth);
    RECT live{};
    GetWindowRect(in.live, &live);
    const int32_t shownWidth = live.right - live.left;
    if (!bar || shownWidth <= 0) {
        Hide();
        return;
    }
    // The bar as long on screen as its picture pixels are shown there.
    shownPixels_ = ShownPixels(bar->pixels, in.frameWidth, shownWidth);
    HDC dc = GetDC(window_.Get());
    const ScaleBarText text{kFontHeight, LabelWidth(dc, bar->label, font_)};
    ReleaseDC(window_.Get(), dc);
    const ScaleBarLayout corner =
        CornerScaleBar(shownPixels_, shownWidth, live.bottom - live.top, text);
    // The popup covers bar and label on a plate a few pixels wider; its own coordinates start
    // at the plate's corner.
    constexpr int32_t kPad = 3;
    const editor::Box b{corner.bounds.left - kPad, corner.bounds.top - kPad,
                        corner.bounds.right + kPad, corner.bounds.bottom + kPad};
    layout_ = corner;
    layout_.bar = {corner.bar.left - b.left, corner.bar.top - b.top, corner.bar.right - b.left,
                   corner.bar.bottom - b.top};
    layout_.label = {corner.label.x - b.left, corner.label.y - b.top};
    shown_ = bar;
    SetWindowPos(window_.Get(), HWND_TOP, live.left + b.left, live.top + b.top, b.right - b.left,
                 b.bottom - b.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_.Get(), nullptr, TRUE);
}

void LiveScaleBar::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_.Get(), &ps);
    RECT client{};
    GetClientRect(window_.Get(), &client);
    const UniqueBrush plate(CreateSolidBrush(kPlate));
    FillRect(dc, &client, plate.Get());
    if (shown_) PaintScaleBar(dc, *shown_, layout_, font_, kBarColour, false);
    EndPaint(window_.Get(), &ps);
}

LRESULT CALLBACK LiveScaleBar::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<LiveScaleBar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // clicks go to the live picture below
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (self) {
                self->Paint();
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace orvane::results
