#include "settings/win32/modal_dialog.h"

namespace quillon {

void CloseOpenDialog(HWND* openDialog) {
  if (openDialog == nullptr || *openDialog == nullptr) return;
  ::EndDialog(*openDialog, IDCANCEL);
  *openDialog = nullptr;
}

INT_PTR ModalDialog::Run(const DialogHost& host, int templateId) {
  openDialog_ = host.openDialog;
  const INT_PTR result = ::DialogBoxParamA(host.resources, MAKEINTRESOURCEA(templateId), host.owner,
                                           Procedure, reinterpret_cast<LPARAM>(this));
  if (openDialog_ != nullptr && *openDialog_ == window_) *openDialog_ = nullptr;
  window_ = nullptr;
  return result == IDOK ? IDOK : IDCANCEL;
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    dialog->window_ = window;
    if (dialog->openDialog_ != nullptr) *dialog->openDialog_ = window;
  }
  auto* dialog = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  // No C++ exception may unwind into the system's dialog loop.
  try {
    return dialog->Handle(msg, wParam, lParam);
  } catch (...) {
    ::EndDialog(window, IDCANCEL);
    return TRUE;
  }
}

INT_PTR ModalDialog::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;  // the system puts the focus on the first control
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (OnCommand(id, HIWORD(wParam))) return TRUE;
      if (id == IDOK || id == IDCANCEL) {
        End(id);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      if (openDialog_ != nullptr && *openDialog_ == window_) *openDialog_ = nullptr;
      return FALSE;
    default: {
      INT_PTR result = 0;
      if (!OnMessage(msg, wParam, lParam, result)) return FALSE;
      return result;
    }
  }
}

}  // namespace quillon
