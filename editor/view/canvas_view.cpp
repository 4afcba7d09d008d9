#include "editor/view/canvas_view.h"

#include <objidl.h>  // before gdiplus.h
#include <gdiplus.h>
#include <windowsx.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "editor/geometry/pen_scaling.h"
#include "editor/objects/draw_figures.h"
#include "editor/objects/draw_measure.h"

namespace orvane {
namespace {

constexpr wchar_t kClassName[] = L"OrvaneEditorCanvas";
static_assert(sizeof(LOGFONTW) == sizeof(editor::FontRecord));

// The largest picture the canvas takes: 16384 pixels a side and 512 MiB of pixels.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixelBytes = 512ll << 20;

int64_t Stride24(int32_t width) {
    return (static_cast<int64_t>(width) * 3 + 3) & ~int64_t{3};
}

HBITMAP NewDib(int32_t width, int32_t height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* dummy = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits ? bits : &dummy, nullptr, 0);
}

// The system text of hr without its line break, else the two fallback forms.
std::wstring ErrorText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (n != 0 && buffer != nullptr) {
        text.assign(buffer, n);
        LocalFree(buffer);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
        return text;
    }
    wchar_t fallback[64];
    const auto code = static_cast<uint32_t>(hr);
    if (code >= 0x80040200u && code <= 0x8004FFFFu) {
        std::swprintf(fallback, 64, L"IDispatch error #%d", static_cast<int>(code - 0x80040200u));
    } else {
        std::swprintf(fallback, 64, L"Unknown error 0x%0lX", static_cast<unsigned long>(code));
    }
    return fallback;
}

void ShowLoadError(HWND owner, const wchar_t* what, HRESULT hr) {
    wchar_t text[1024];
    std::swprintf(text, 1024, L"%ls:\n%x - %ls", what, static_cast<unsigned>(hr),
                  ErrorText(hr).c_str());
    MessageBoxW(owner, text, L"Orvane", MB_OK | MB_ICONEXCLAMATION);
}

HRESULT HresultOf(Gdiplus::Status status) {
    switch (status) {
        case Gdiplus::OutOfMemory:
            return E_OUTOFMEMORY;
        case Gdiplus::FileNotFound:
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        case Gdiplus::Win32Error:
            return HRESULT_FROM_WIN32(GetLastError());
        default:
            return E_FAIL;
    }
}

void CopyPicture(HDC target, HBITMAP source, int32_t width, int32_t height) {
    UniqueMemoryDc dc(CreateCompatibleDC(target));
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc.Get(), source);
    BitBlt(target, 0, 0, width, height, dc.Get(), 0, 0, SRCCOPY);
    SelectObject(dc.Get(), old);
}

}  // namespace

bool MeasureKindOf(int32_t tool, int32_t& kind, int32_t& angleMode) {
    angleMode = 0;
    switch (tool) {
        case 32814:
            kind = 0;
            return true;
        case 32874:
            kind = 1;
            return true;
        case 32875:
            kind = 1;
            angleMode = 90;
            return true;
        case 32876:
            kind = 1;
            angleMode = 45;
            return true;
        case 32801:
            kind = 6;
            return true;
        case 32799:
            kind = 7;
            return true;
        case 32800:
            kind = 8;
            return true;
        case 32802:
            kind = 9;
            return true;
        case 32809:
            kind = 10;
            return true;
        case 32810:
            kind = 11;
            return true;
        case 32811:
            kind = 12;
            return true;
        case 32812:
            kind = 13;
            return true;
        default:
            return false;
    }
}

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
    return self->Handle(hwnd, message, wParam, lParam);
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
                const editor::CanvasCursor c = editor::CursorOfTool(state_.tool());
                const wchar_t* id = c == editor::CanvasCursor::kCross    ? IDC_CROSS
                                    : c == editor::CanvasCursor::kPencil ? IDC_HAND
                                                                         : IDC_ARROW;
                SetCursor(LoadCursorW(nullptr, id));
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

void CIvoraImgEdtView::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_.Get(), &ps);
    if (pictureLoaded_ && working_.Dc()) {
        RECT r{};
        GetClientRect(hwnd_.Get(), &r);
        if (r.right == imageWidth_ && r.bottom == imageHeight_) {
            BitBlt(dc, 0, 0, imageWidth_, imageHeight_, working_.Dc(), 0, 0, SRCCOPY);
        } else {
            StretchBlt(dc, 0, 0, r.right, r.bottom, working_.Dc(), 0, 0, imageWidth_, imageHeight_,
                       SRCCOPY);
        }
    }
    EndPaint(hwnd_.Get(), &ps);
}

bool CIvoraImgEdtView::LoadPicture(const std::wstring& path) {
    UINT count = 0, size = 0;
    const Gdiplus::Status listed = Gdiplus::GetImageDecodersSize(&count, &size);
    if (listed != Gdiplus::Ok) {
        ShowLoadError(GetParent(hwnd_.Get()), L"GetExporterFilter failed", HresultOf(listed));
        return false;
    }
    // The previous picture goes first, whatever comes of the new one.
    current_.reset();
    history_.Clear();
    working_.Reset();
    pictureLoaded_ = false;
    imageWidth_ = imageHeight_ = 0;
    state_.Loaded();
    if (hwnd_) InvalidateRect(hwnd_.Get(), nullptr, FALSE);

    HRESULT failure = S_OK;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        failure = HRESULT_FROM_WIN32(GetLastError());
    }
    std::unique_ptr<Gdiplus::Bitmap> decoded;
    if (failure == S_OK) {
        decoded.reset(Gdiplus::Bitmap::FromFile(path.c_str(), FALSE));
        if (!decoded) {
            failure = E_OUTOFMEMORY;
        } else if (decoded->GetLastStatus() != Gdiplus::Ok) {
            failure = HresultOf(decoded->GetLastStatus());
        }
    }
    int32_t width = 0, height = 0;
    if (failure == S_OK) {
        width = static_cast<int32_t>(decoded->GetWidth());
        height = static_cast<int32_t>(decoded->GetHeight());
        if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
            Stride24(width) * height > kMaxPixelBytes) {
            failure = E_OUTOFMEMORY;
        }
    }
    HBITMAP picture = nullptr;
    if (failure == S_OK) {
        void* bits = nullptr;
        picture = NewDib(width, height, &bits);
        if (picture == nullptr) {
            failure = E_OUTOFMEMORY;
        } else {
            Gdiplus::BitmapData data{};
            data.Width = static_cast<UINT>(width);
            data.Height = static_cast<UINT>(height);
            data.Stride = static_cast<INT>(Stride24(width));
            data.PixelFormat = PixelFormat24bppRGB;
            data.Scan0 = bits;
            Gdiplus::Rect all(0, 0, width, height);
            Gdiplus::Status s = decoded->LockBits(
                &all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                PixelFormat24bppRGB, &data);
            if (s == Gdiplus::Ok) s = decoded->UnlockBits(&data);
            if (s != Gdiplus::Ok) {
                DeleteObject(picture);
                picture = nullptr;
                failure = HresultOf(s);
            }
        }
    }
    if (failure != S_OK) {
        ShowLoadError(GetParent(hwnd_.Get()), L"Load image failed", failure);
        return false;
    }
    return TakePicture(picture, width, height);
}

bool CIvoraImgEdtView::LoadBitmap(HBITMAP source) {
    BITMAP info{};
    if (source == nullptr || GetObjectW(source, sizeof info, &info) == 0) return false;
    HBITMAP picture = NewDib(info.bmWidth, info.bmHeight, nullptr);
    if (picture == nullptr) return false;
    {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(dc.Get(), picture);
        CopyPicture(dc.Get(), source, info.bmWidth, info.bmHeight);
        SelectObject(dc.Get(), old);
    }
    current_.reset();
    history_.Clear();
    return TakePicture(picture, info.bmWidth, info.bmHeight);
}

bool CIvoraImgEdtView::TakePicture(HBITMAP picture, int32_t width, int32_t height) {
    if (!working_.Adopt(picture)) return false;
    imageWidth_ = width;
    imageHeight_ = height;
    FitIntoFrame();
    history_.Clear();
    if (HBITMAP snapshot = Snapshot()) history_.Push(snapshot);
    state_.Loaded();
    pictureLoaded_ = true;
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    return true;
}

void CIvoraImgEdtView::FitIntoFrame() {
    const HWND frame = GetParent(hwnd_.Get());
    RECT r{};
    GetClientRect(frame, &r);
    const editor::CanvasFit fit = editor::FitCanvas(r.right, r.bottom, imageWidth_, imageHeight_);
    fitScale_ = fit.scale;
    canvasWidth_ = fit.width;
    canvasHeight_ = fit.height;
    MoveWindow(hwnd_.Get(), fit.left, fit.top, fit.width, fit.height, TRUE);
}

HBITMAP CIvoraImgEdtView::Snapshot() const {
    HBITMAP copy = NewDib(imageWidth_, imageHeight_, nullptr);
    if (copy == nullptr) return nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(working_.Dc()));
    if (!dc) {
        DeleteObject(copy);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc.Get(), copy);
    BitBlt(dc.Get(), 0, 0, imageWidth_, imageHeight_, working_.Dc(), 0, 0, SRCCOPY);
    SelectObject(dc.Get(), old);
    return copy;
}

void CIvoraImgEdtView::Repaint(bool withObject) {
    if (!working_.Dc()) return;
    if (HBITMAP top = history_.Current())
        CopyPicture(working_.Dc(), top, imageWidth_, imageHeight_);
    if (withObject && current_) current_->Draw(working_.Dc());
}

void CIvoraImgEdtView::Redraw() {
    RedrawWindow(hwnd_.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CIvoraImgEdtView::Commit() {
    if (HBITMAP snapshot = Snapshot()) history_.Push(snapshot);
    current_.reset();
    state_.Committed();
    state_.SetGesture(0);
}

void CIvoraImgEdtView::SetTool(int32_t tool) {
    const bool inProgress = current_ != nullptr;
    if (inProgress) {
        Repaint(true);
        Redraw();
        if (HBITMAP snapshot = Snapshot()) history_.Push(snapshot);
        current_.reset();
    }
    state_.SetTool(tool, inProgress);
}

void CIvoraImgEdtView::Cancel() {
    const bool cleared = state_.Cancel();
    current_.reset();
    Repaint(false);
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    if (cleared && editor_ != nullptr) PostMessageW(editor_, kToolCleared, 0, 0);
}

void CIvoraImgEdtView::Undo() {
    if (!history_.CanUndo()) return;
    current_.reset();
    history_.Undo();
    state_.Undone();
    Repaint(false);
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

void CIvoraImgEdtView::Redo() {
    if (!history_.CanRedo()) return;
    current_.reset();
    history_.Redo();
    state_.Redone();
    Repaint(false);
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

float CIvoraImgEdtView::PenScale() const {
    return editor::CanvasScale(imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
}

void CIvoraImgEdtView::PressMeasure(int32_t kind, int32_t angleMode, POINT p) {
    const float s = PenScale();
    auto m = std::make_unique<CDrawMeasure>(kind, RECT{});
    m->angleMode = angleMode;
    m->SetPen(properties.measureColor, editor::ScaledPenWidth(properties.measureWidth, s),
              properties.measureStyle);
    LOGFONTW font{};
    static_assert(sizeof font == sizeof properties.measureFont);
    std::memcpy(&font, &properties.measureFont, sizeof font);
    font.lfHeight = editor::ScaledFontHeight(font.lfHeight, s);
    m->SetFont(font, properties.measureTextColor);
    m->unit = properties.unit;
    m->scale = scale;
    m->pixelFactor = pixelFactor;
    m->magnification = editor::MeasureMagnification(magnifications, kind == 0);
    m->SetPoint(kind == 0 || kind == 1 || kind >= 12 ? 0 : 1, p);
    m->pointCount = 1;
    m->labelCount = 0;
    m->polyStage = 0;
    current_ = std::move(m);
    state_.SetGesture(kind == 0 || kind == 1 || kind >= 12 ? 10 : kind >= 10 ? 16 : 11);
}

void CIvoraImgEdtView::PressText(POINT p) {
    if (state_.toolState() == 8 && current_) {
        auto* text = static_cast<CDrawText*>(current_.get());
        if (text->ClassifyPress(p) == editor::PressWhileTyping::kCommitText) {
            text->committed = 1;
            Repaint(true);
            Commit();
        }
        current_.reset();
    }
    auto t = std::make_unique<CDrawText>();
    LOGFONTW font{};
    std::memcpy(&font, &properties.textFont, sizeof font);
    font.lfHeight = editor::ScaledFontHeight(font.lfHeight, PenScale());
    t->SetFont(font, properties.textColor);
    t->committed = 0;
    t->SetPosition(p);
    current_ = std::move(t);
    state_.SetGesture(8);
}

void CIvoraImgEdtView::OnPress(int32_t x, int32_t y) {
    SetCapture(hwnd_.Get());
    if (!pictureLoaded_ || !editor::OnCanvas(x, y, canvasWidth_, canvasHeight_)) return;
    const editor::PicturePoint pp =
        editor::MapToPicture(x, y, imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
    const POINT p{pp.x, pp.y};
    const int32_t tool = state_.tool();
    const int32_t st = state_.toolState();
    const float s = PenScale();
    int32_t kind = 0, angleMode = 0;
    if (tool == 32803 || tool == 32804) {
        if (st == 6 && current_) {
            auto* shape = static_cast<CDrawShape*>(current_.get());
            shape->stage = 2;
            shape->end = p;
            state_.SetGesture(20);
        } else {
            auto shape = std::make_unique<CDrawShape>(
                tool == 32803 ? CDrawShape::kLine : CDrawShape::kArrow, RECT{p.x, p.y, p.x, p.y});
            shape->SetPen(properties.drawColor, editor::ScaledPenWidth(properties.drawWidth, s),
                          properties.drawStyle);
            shape->stage = 1;
            shape->start = p;
            shape->end = p;
            current_ = std::move(shape);
            state_.SetGesture(6);
        }
    } else if (tool == 32805) {
        auto pen = std::make_unique<CDrawPen>();
        pen->SetPen(properties.drawColor, editor::ScaledPenWidth(properties.drawWidth, s),
                    properties.drawStyle);
        pen->AddPoint(p);
        current_ = std::move(pen);
        state_.SetGesture(5);
    } else if (tool == 32806 || tool == 32807) {
        auto shape = std::make_unique<CDrawShape>(
            tool == 32806 ? CDrawShape::kRectangle : CDrawShape::kEllipse,
            RECT{p.x, p.y, p.x, p.y});
        shape->SetPen(properties.drawColor, editor::ScaledPenWidth(properties.drawWidth, s),
                      properties.drawStyle);
        shape->start = p;
        shape->end = p;
        current_ = std::move(shape);
        state_.SetGesture(20);
    } else if (tool == editor::kTextTool) {
        PressText(p);
    } else if (MeasureKindOf(tool, kind, angleMode)) {
        auto* m = static_cast<CDrawMeasure*>(current_.get());
        if (st == 0 || m == nullptr) {
            PressMeasure(kind, angleMode, p);
        } else if (kind == 0) {
            state_.SetGesture(19);
        } else if (kind == 10 || kind == 11) {
            if (st == 17) {
                m->labelCount += 1;
                m->SetLabelPoint(m->labelCount, p);
                if (m->polyStage == 3) {
                    m->polyStage = 4;
                } else {
                    m->polyStage = 5;
                    state_.SetGesture(19);
                }
            } else if (m->polyStage == 0 || m->polyStage == 1) {
                m->pointCount += 1;
                m->SetPoint(m->pointCount, p);
                m->polyStage = 2;
                state_.SetGesture(18);
            } else {
                m->labelCount += 1;
                m->SetLabelPoint(m->labelCount, p);
                m->polyStage = 1;
                state_.SetGesture(16);
            }
        } else {
            // Two-, three- and four-point kinds: points until finished, then the label click.
            const int32_t points = kind == 1 || kind >= 12 ? 2 : kind == 9 ? 4 : 3;
            const int32_t first = kind == 1 || kind >= 12 ? 0 : 1;
            if (st == 17) {
                m->SetPoint(first + m->pointCount, p);
                m->pointCount += 1;
                state_.SetGesture(19);
            } else {
                m->SetPoint(first + m->pointCount, p);
                m->pointCount += 1;
                if (m->pointCount >= points) {
                    m->labelCount =
                        static_cast<int32_t>(static_cast<uint32_t>(m->labelCount) | 0x80000000u);
                    state_.SetGesture(17);
                } else {
                    state_.SetGesture(10 + m->pointCount);
                }
            }
        }
    } else {
        state_.SetGesture(0);
    }
    anchor_ = lastPoint_ = p;
    Repaint(true);
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

void CIvoraImgEdtView::OnMove(int32_t x, int32_t y) {
    if (!editor::OnCanvas(x, y, canvasWidth_, canvasHeight_)) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return;
    }
    const int32_t st = state_.toolState();
    if (st == 0 || !current_) return;
    const editor::PicturePoint pp =
        editor::MapToPicture(x, y, imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
    const POINT p{pp.x, pp.y};
    if (st == 5) {
        static_cast<CDrawPen*>(current_.get())->AddPoint(p);
    } else if (st == 6 || st == 20) {
        auto* shape = static_cast<CDrawShape*>(current_.get());
        shape->end = p;
        shape->SetCorners(anchor_, p);
    } else if ((st >= 10 && st <= 13) || (st >= 16 && st <= 19)) {
        current_->SetCorners(anchor_, p);
    } else {
        return;
    }
    Repaint(true);
    Redraw();
    lastPoint_ = p;
}

void CIvoraImgEdtView::OnRelease(int32_t x, int32_t y) {
    ReleaseCapture();
    const editor::PicturePoint pp =
        editor::MapToPicture(x, y, imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
    const POINT p{pp.x, pp.y};
    const int32_t st = state_.toolState();
    if (!current_) {
        if (st != 0 && st != 8) state_.SetGesture(0);
        return;
    }
    if (st == 5) {
        auto* pen = static_cast<CDrawPen*>(current_.get());
        if (editor::OnCanvas(x, y, canvasWidth_, canvasHeight_)) pen->AddPoint(p);
        if (!pen->points.empty()) {
            Repaint(true);
            Commit();
        } else {
            current_.reset();
        }
        state_.SetGesture(0);
    } else if (st == 8) {
        static_cast<CDrawText*>(current_.get())->PlaceCursorBlock(anchor_);
        Repaint(true);
    } else if (st == 19) {
        auto* m = static_cast<CDrawMeasure*>(current_.get());
        if (m->kind != 10 && m->kind != 11) m->SetPoint(m->pointCount, p);
        m->SetCorners(anchor_, p);
        Repaint(true);
        if (m->kind == 0 && editor_ != nullptr) {
            static const UINT adjust = RegisterWindowMessageW(L"OrvaneAdjustMagnificaton");
            const editor::DoubleHalves h = editor::SplitDouble(m->result);
            PostMessageW(editor_, adjust, h.low, static_cast<LPARAM>(h.high));
        }
        Commit();
    } else if (st == 20) {
        current_->SetCorners(anchor_, p);
        Repaint(true);
        Commit();
    }
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

void CIvoraImgEdtView::OnDoubleClick() {
    auto* m = dynamic_cast<CDrawMeasure*>(current_.get());
    if (m == nullptr || (m->kind != 10 && m->kind != 11)) return;
    if (state_.toolState() == 16) {
        if (m->polyStage == 1 && m->labelCount > 0) m->labelCount -= 1;
        m->polyStage = 3;
        state_.SetGesture(17);
        Repaint(true);
        InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    } else if (state_.toolState() == 18) {
        m->polyStage = 3;
        state_.SetGesture(17);
        Repaint(true);
        InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    }
}

bool CIvoraImgEdtView::OnKey(UINT message, WPARAM key) {
    if (state_.toolState() != 8 || !current_) return false;
    auto* text = static_cast<CDrawText*>(current_.get());
    if (message == WM_KEYDOWN && CDrawText::EndsText(key)) {
        text->committed = 1;
        Repaint(true);
        Commit();
        Redraw();
        return true;
    }
    const bool changed = message == WM_CHAR ? text->OnChar(key) : text->OnKeyDown(key);
    if (changed) {
        Repaint(true);
        Redraw();
    }
    return message == WM_CHAR || changed;
}

}  // namespace orvane
