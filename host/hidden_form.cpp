#include "host/hidden_form.h"

#include "host/host_texts.h"

namespace quillon::mirandel {

bool HiddenForm::Register(HINSTANCE instance) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = ::DefWindowProcW;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kForm1Class;
  return ::RegisterClassExW(&cls) != 0;
}

bool HiddenForm::Create(HINSTANCE instance) {
  window_ = ::CreateWindowExW(0, kForm1Class, kForm1Caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 696, 480, nullptr, nullptr, instance, nullptr);
  return window_ != nullptr;
}

HiddenForm::~HiddenForm() {
  if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
}

}  // namespace quillon::mirandel
