#include "editor/view/canvas_view.h"

#include "platform/out_of_memory.h"

#include <windowsx.h>

namespace orvane {
namespace {

constexpr wchar_t kClassName[] = L"OrvaneEditorCanvas";

}  // namespace

CIvoraImgEdtView::~CIvoraImgEdtView() {
    if (hwnd_) SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
}

bool CIvoraImgEdtView::Create(HWND frame, HWND editor) {
    editor_ = editor;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &CIvoraImgEdtView::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc)) return false;
    }
    RECT r{};
    GetClientRect(frame, &r);
    hwnd_.Reset(CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                r.right, r.bottom, frame, nullptr, instance, this));
    if (!hwnd_) return false;
    canvasWidth_ = r.right > 0 ? r.right : 640;
    canvasHeight_ = r.bottom > 0 ? r.bottom : 480;
    return true;
}

LRESULT CALLBACK CIvoraImgEdtView::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CIvoraImgEdtView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || message == WM_NCCREATE || message == WM_CREATE ||
        message == WM_NCDESTROY) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return GuardAllocations(hwnd, LRESULT{0},
                            [&] { return self->Handle(hwnd, message, wParam, lParam); });
}

LRESULT CIvoraImgEdtView::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            OnPress(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnRelease(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONDBLCLK:
            OnDoubleClick();
            return 0;
        case WM_RBUTTONUP:
            Cancel();
            return 0;
        case WM_CHAR:
        case WM_KEYDOWN:
            if (OnKey(message, wParam)) return 0;
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                // The program's cross-hair (252) and pencil (141); the system's cross and hand
                // where the module has none.
                const editor::CanvasCursor c = editor::CursorOfTool(state_.tool());
                HCURSOR cursor = nullptr;
                if (c == editor::CanvasCursor::kCross) {
                    cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(252));
                    if (!cursor) cursor = LoadCursorW(nullptr, IDC_CROSS);
                } else if (c == editor::CanvasCursor::kPencil) {
                    cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(141));
                    if (!cursor) cursor = LoadCursorW(nullptr, IDC_HAND);
                } else {
                    cursor = LoadCursorW(nullptr, IDC_ARROW);
                }
                SetCursor(cursor);
                return TRUE;
            }
            break;
        case WM_SIZE:
            if (pictureLoaded_ && LOWORD(lParam) > 0 && HIWORD(lParam) > 0) {
                canvasWidth_ = LOWORD(lParam);
                canvasHeight_ = HIWORD(lParam);
                const float th = static_cast<float>(canvasHeight_) / imageHeight_;
                const float tw = static_cast<float>(canvasWidth_) / imageWidth_;
                fitScale_ = th < tw ? th : tw;
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            OnPaint();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CIvoraImgEdtView::Redraw() {
    RedrawWindow(hwnd_.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace orvane
