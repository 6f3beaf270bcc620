#include "settings/win32/about_dialog.h"

#include "base/win32/unique_handle.h"
#include "settings/win32/browser_launch.h"
#include "settings/win32/dialog_ids.h"
#include "settings/win32/hand_cursor.h"

namespace quillon {
namespace {

class AboutDialog final : public ModalDialog {
 private:
  void OnInit() override {
    // The address is written like a link: its own font, underlined.
    HWND link = Item(IDC_ABOUT_LINK);
    auto font = reinterpret_cast<HFONT>(::SendMessageA(link, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (font != nullptr && ::GetObjectA(font, sizeof description, &description) != 0) {
      description.lfUnderline = 1;
      linkFont_.reset(::CreateFontIndirectA(&description));
      if (linkFont_) {
        ::SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), TRUE);
      }
    }
  }

  bool OnCommand(int id, int code) override {
    if (id != IDC_ABOUT_LINK) return false;
    if (code == STN_CLICKED) {
      char address[260] = {};
      ::GetDlgItemTextA(window(), IDC_ABOUT_LINK, address, sizeof address);
      OpenInBrowser(address);  // a browser that cannot be started is not reported
    }
    return true;
  }

  bool OnMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR& result) override {
    if (msg != WM_SETCURSOR) return false;
    const bool overLink = reinterpret_cast<HWND>(wParam) == Item(IDC_ABOUT_LINK);
    if (overLink) {
      if (hand_.get() != nullptr) ::SetCursor(hand_.get());
    } else {
      ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    }
    ::SetWindowLongPtrA(window(), DWLP_MSGRESULT, TRUE);
    result = TRUE;
    return true;
  }

  HandCursor hand_;
  UniqueFont linkFont_;  // outlives the window that shows it
};

}  // namespace

void ShowAboutDialog(const DialogHost& host) {
  AboutDialog dialog;
  dialog.Run(host, IDD_ABOUT);
}

}  // namespace quillon
