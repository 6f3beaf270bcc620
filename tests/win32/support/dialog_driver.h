#pragma once
// Drives a modal dialog from inside its own loop: a thread timer fires while the dialog runs,
// finds the dialog of this thread and hands it to the test's steps, which read it, type into
// it and press its buttons as a user would.

#include <windows.h>

#include <functional>
#include <string>

namespace quillon::test {

class DialogDriver {
 public:
  using Steps = std::function<void(HWND dialog)>;

  // The steps run once, at the first tick that finds a dialog of this thread.
  explicit DialogDriver(Steps steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 30, Tick);
  }
  ~DialogDriver() {
    if (timer_ != 0) ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  bool ran() const { return ran_; }
  HWND dialog() const { return dialog_; }

 private:
  static BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver* self = current_;
    if (self == nullptr || self->ran_) return;
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    self->ran_ = true;
    self->dialog_ = dialog;
    ::KillTimer(nullptr, self->timer_);
    self->timer_ = 0;
    self->steps_(dialog);
  }

  static inline DialogDriver* current_ = nullptr;
  Steps steps_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
  HWND dialog_ = nullptr;
};

// What a dialog item shows.
inline std::string ItemText(HWND dialog, int id) {
  char text[512] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

inline std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

// Presses a button the way a click does: the dialog gets the button's notification.
inline void Press(HWND dialog, int id) {
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// Types into an edit and leaves it: the focus moves on, so the edit reports losing it.
inline void TypeAndLeave(HWND dialog, int edit, const char* text, int next) {
  ::SetFocus(::GetDlgItem(dialog, edit));
  ::SetDlgItemTextA(dialog, edit, text);
  ::SetFocus(::GetDlgItem(dialog, next));
}

// Chooses an entry of a drop-down list as the user's pick does: selection, then the report.
inline void Choose(HWND dialog, int list, int index) {
  HWND combo = ::GetDlgItem(dialog, list);
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

}  // namespace quillon::test
