#pragma once
// The viewer's single-panel status line. Its own text (the open file) gives way to the hint of
// the menu item or tool-bar button under the mouse and comes back when the hint ends; a new
// text shows at once.

#include <windows.h>

#include <string>

namespace quillon::mirandel {

class StatusLine {
 public:
  void Create(HWND parent);
  HWND window() const { return window_; }

  void SetText(const std::wstring& text);
  void ShowHint(const std::wstring& hint);
  void EndHint();

 private:
  void Show(const std::wstring& text);

  HWND window_ = nullptr;
  std::wstring text_;
  bool hinting_ = false;
};

}  // namespace quillon::mirandel
