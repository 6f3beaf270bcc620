#include "host/status_line.h"

#include <commctrl.h>

namespace quillon::mirandel {

void StatusLine::Create(HWND parent) {
  // Placed and sized by the form: the common control would choose its own height.
  window_ = ::CreateWindowExW(
      0, STATUSCLASSNAMEW, L"",
      WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
      0, 0, 0, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  int edges[1] = {-1};
  ::SendMessageW(window_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges));
}

void StatusLine::Show(const std::wstring& text) {
  ::SendMessageW(window_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusLine::SetText(const std::wstring& text) {
  // The new text replaces a hint on show; the next hint replaces it in turn.
  text_ = text;
  hinting_ = false;
  Show(text_);
}

void StatusLine::ShowHint(const std::wstring& hint) {
  hinting_ = true;
  Show(hint);
}

void StatusLine::EndHint() {
  if (!hinting_) return;
  hinting_ = false;
  Show(text_);
}

}  // namespace quillon::mirandel
