#pragma once
// One modal dialog and the object that handles it: the shared dialog procedure hands the
// first message's object to the window and routes every later message to it.

#include <windows.h>

namespace quillon {

// Where a dialog comes from and whom it belongs to. openDialog, when given, holds the dialog
// window while it is open, so that its owner can end it (CloseOpenDialog) when the owner
// goes away first.
struct DialogHost {
  HINSTANCE resources = nullptr;
  HWND owner = nullptr;
  HWND* openDialog = nullptr;
};

// Ends the dialog held in openDialog, as Cancel would; nothing when none is open.
void CloseOpenDialog(HWND* openDialog);

class ModalDialog {
 public:
  ModalDialog() = default;
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // The identifier of the button that ended the dialog; IDCANCEL when the template cannot
  // be had or the dialog went away with its owner.
  INT_PTR Run(const DialogHost& host, int templateId);

 protected:
  HWND window() const { return window_; }
  HWND Item(int id) const { return ::GetDlgItem(window_, id); }
  void End(INT_PTR result) { ::EndDialog(window_, result); }

  virtual void OnInit() {}
  // A WM_COMMAND from a control or a button. OK and Cancel end the dialog unless handled.
  virtual bool OnCommand(int id, int code) = 0;
  // Any other message; true when handled, with the answer in result.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR& result) {
    result = 0;
    return false;
  }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  HWND* openDialog_ = nullptr;
};

}  // namespace quillon
