#pragma once
// The About window: a fixed-border window centred on the screen, shown at start-up above the
// main window and again by "Acerca de"; OK hides it. It never blocks the main window.

#include <windows.h>

#include "base/win32/unique_handle.h"

namespace quillon::mirandel {

class AboutBox {
 public:
  static bool Register(HINSTANCE instance);
  // Creates the window visible, owned by owner so that it stays above it.
  bool Create(HINSTANCE instance, HWND owner);
  HWND window() const { return window_; }
  void Show();

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void Paint();

  HWND window_ = nullptr;
  RECT panel_{};
  UniqueIcon programIcon_;
  UniqueIcon picture_;
  UniqueFont titleFont_;
  UniqueBrush whiteBrush_;
};

}  // namespace quillon::mirandel
