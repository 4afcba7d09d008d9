#pragma once
// A dialog object per template: modal runs through our own message loop (so the owner
// sees each message first), modeless windows live until the object destroys them.
// Commands and messages reach handlers through per-class dispatch tables.
#include <windows.h>

#include <span>

namespace orvane {

class Dialog {
  public:
    explicit Dialog(UINT templateId) : templateId_(templateId) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Runs the dialog modally; returns the value given to EndDialog (or -1 if it cannot open).
    INT_PTR DoModal(HWND owner);
    // Creates the window modelessly, hidden unless the template says otherwise.
    bool Create(HWND owner);
    void Destroy();
    // For a modeless dialog inside another dialog's loop: its own keyboard handling (Enter,
    // Esc, Tab) for messages to it or its controls; true when it took the message.
    bool TranslateOwnKeys(MSG& msg);

    HWND Hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    void EndDialog(INT_PTR result);
    void CenterOn(HWND reference);

    static HINSTANCE Instance();
    // Builds the window from the template's version in this language (0, the default: the one
    // the platform picks). A template missing in that language falls back to the default.
    void SetTemplateLanguage(WORD language) { templateLanguage_ = language; }

  protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The modal loop offers every message here first; true consumes it.
    virtual bool PreTranslateMessage(MSG& msg) { return IsDialogMessageW(hwnd_, &msg) != FALSE; }
    // Table dispatch, provided by each dialog class; true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    template <typename T>
    struct CommandEntry {
        UINT first;
        UINT last;
        void (T::*handler)(UINT id);
    };
    template <typename T>
    struct MessageEntry {
        UINT message;
        LRESULT (T::*handler)(WPARAM, LPARAM);
    };
    template <typename T>
    static bool DispatchCommand(T* self, std::span<const CommandEntry<T>> table, UINT id) {
        for (const auto& e : table) {
            if (id >= e.first && id <= e.last) {
                (self->*e.handler)(id);
                return true;
            }
        }
        return false;
    }
    template <typename T>
    static bool DispatchMessageTo(T* self, std::span<const MessageEntry<T>> table, UINT message,
                                  WPARAM wParam, LPARAM lParam, LRESULT& result) {
        for (const auto& e : table) {
            if (e.message == message) {
                result = (self->*e.handler)(wParam, lParam);
                return true;
            }
        }
        return false;
    }

    void SetItemText(int id, const wchar_t* text) { SetDlgItemTextW(hwnd_, id, text); }

  private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void RunModalLoop();
    HWND CreateFromTemplate(HWND owner);

    UINT templateId_;
    WORD templateLanguage_ = 0;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = -1;
};

}  // namespace orvane
