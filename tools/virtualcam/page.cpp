#include "tools/virtualcam/page.h"

#include <commctrl.h>
#include <dshow.h>

#include <atomic>
#include <cstring>
#include <cwchar>

#include "platform/com_object.h"
#include "tools/virtualcam/filter.h"

namespace vcam {

namespace {

constexpr wchar_t kPageClass[] = L"OrvaneVirtualCamPage";
constexpr wchar_t kTitle[] = L"Image";
constexpr int kPageWidth = 260, kPageHeight = 90;
constexpr int kTrackId = 101, kValueId = 102;

HINSTANCE ModuleOf() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ModuleOf), &module);
    return module;
}

class BrightnessPage : public orvane::SingleInterfaceObject<IPropertyPage, IID_IPropertyPage> {
  public:
    BrightnessPage() { ++g_objects; }

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override {
        if (site) site->AddRef();
        if (site_) site_->Release();
        site_ = site;
        return S_OK;
    }

    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL) override {
        if (!rect) return E_POINTER;
        if (window_) return E_UNEXPECTED;
        static std::atomic<bool> registered{false};
        HINSTANCE module = ModuleOf();
        if (!registered.exchange(true)) {
            INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
            InitCommonControlsEx(&icc);
            WNDCLASSW wc = {};
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = module;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = kPageClass;
            RegisterClassW(&wc);
        }
        window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, kTitle, WS_CHILD | WS_TABSTOP,
                                  rect->left, rect->top, rect->right - rect->left,
                                  rect->bottom - rect->top, parent, nullptr, module, this);
        if (!window_) return E_FAIL;
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        HWND label = CreateWindowExW(0, L"STATIC", L"Brightness", WS_CHILD | WS_VISIBLE, 10, 14, 70,
                                     18, window_, nullptr, module, nullptr);
        track_ = CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ, 80, 10, 130, 28,
                                 window_, reinterpret_cast<HMENU>(kTrackId), module, nullptr);
        value_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 214, 14, 40, 18, window_,
                                 reinterpret_cast<HMENU>(kValueId), module, nullptr);
        for (HWND w : {label, value_})
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        LONG min = -64, max = 64, step = 1, def = 0, flags = 0, current = 0;
        if (amp_) {
            amp_->GetRange(VideoProcAmp_Brightness, &min, &max, &step, &def, &flags);
            amp_->Get(VideoProcAmp_Brightness, &current, &flags);
        }
        SendMessageW(track_, TBM_SETRANGEMIN, FALSE, min);
        SendMessageW(track_, TBM_SETRANGEMAX, FALSE, max);
        SendMessageW(track_, TBM_SETPOS, TRUE, current);
        value_now_ = current;
        ShowValue();
        dirty_ = false;
        return S_OK;
    }

    STDMETHODIMP Deactivate() override {
        if (window_) DestroyWindow(window_);
        window_ = track_ = value_ = nullptr;
        return S_OK;
    }

    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override {
        if (!info) return E_POINTER;
        info->cb = sizeof(PROPPAGEINFO);
        info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof(kTitle)));
        if (!info->pszTitle) return E_OUTOFMEMORY;
        std::memcpy(info->pszTitle, kTitle, sizeof(kTitle));
        info->size = {kPageWidth, kPageHeight};
        info->pszDocString = nullptr;
        info->pszHelpFile = nullptr;
        info->dwHelpContext = 0;
        return S_OK;
    }

    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override {
        if (amp_) amp_->Release();
        amp_ = nullptr;
        if (count == 0) return S_OK;
        if (!objects || !objects[0]) return E_POINTER;
        return objects[0]->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&amp_));
    }

    STDMETHODIMP Show(UINT cmd) override {
        if (window_) ShowWindow(window_, cmd);
        return S_OK;
    }
    STDMETHODIMP Move(LPCRECT rect) override {
        if (!rect) return E_POINTER;
        if (window_)
            MoveWindow(window_, rect->left, rect->top, rect->right - rect->left,
                       rect->bottom - rect->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Apply() override {
        if (!dirty_) return S_OK;
        if (!amp_) return E_UNEXPECTED;
        HRESULT hr = amp_->Set(VideoProcAmp_Brightness, value_now_, VideoProcAmp_Flags_Manual);
        if (SUCCEEDED(hr)) dirty_ = false;
        return hr;
    }
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

  private:
    virtual ~BrightnessPage() {
        Deactivate();
        if (amp_) amp_->Release();
        if (site_) site_->Release();
        --g_objects;
    }

    void ShowValue() {
        wchar_t text[16];
        std::swprintf(text, 16, L"%ld", value_now_);
        if (value_) SetWindowTextW(value_, text);
    }

    void OnScroll() {
        value_now_ = static_cast<LONG>(SendMessageW(track_, TBM_GETPOS, 0, 0));
        ShowValue();
        dirty_ = true;
        if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* page = reinterpret_cast<BrightnessPage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_HSCROLL && page && reinterpret_cast<HWND>(lp) == page->track_) {
            page->OnScroll();
            return 0;
        }
        if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    IPropertyPageSite* site_ = nullptr;
    IAMVideoProcAmp* amp_ = nullptr;
    HWND window_ = nullptr, track_ = nullptr, value_ = nullptr;
    LONG value_now_ = 0;
    bool dirty_ = false;
};

}  // namespace

IPropertyPage* CreateBrightnessPage() {
    return new (std::nothrow) BrightnessPage();
}

void UnregisterPageClass(HINSTANCE module) {
    UnregisterClassW(kPageClass, module);
}

}  // namespace vcam
