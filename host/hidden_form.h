#pragma once
// Form1: an empty form created at start-up and never shown.

#include <windows.h>

namespace quillon::mirandel {

class HiddenForm {
 public:
  static bool Register(HINSTANCE instance);
  bool Create(HINSTANCE instance);
  ~HiddenForm();

 private:
  HWND window_ = nullptr;
};

}  // namespace quillon::mirandel
