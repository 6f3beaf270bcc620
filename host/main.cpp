// mirandel: the Spanish-language KPZ viewer hosting one QuillonCtl control.
//
//   mirandel.exe [FILE]   FILE is opened at start-up as if chosen in the open dialog.

#include <windows.h>
// After <windows.h>, which they need.
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "host/about_box.h"
#include "host/atl_container.h"
#include "host/hidden_form.h"
#include "host/main_form.h"

namespace quillon::mirandel {
namespace {

class OleSession {
 public:
  OleSession() : status_(::OleInitialize(nullptr)) {}
  ~OleSession() {
    if (SUCCEEDED(status_)) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  HRESULT status_;
};

// The command line's first argument as a full path, or "" without one.
std::wstring FileArgument() {
  int count = 0;
  wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::wstring file;
  if (args != nullptr && count >= 2) {
    std::vector<wchar_t> full(32768);
    const DWORD length =
        ::GetFullPathNameW(args[1], static_cast<DWORD>(full.size()), full.data(), nullptr);
    file = length > 0 && length < full.size() ? std::wstring(full.data(), length) : args[1];
  }
  if (args != nullptr) ::LocalFree(args);
  return file;
}

int Run(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  OleSession ole;
  AtlContainer container;
  if (!MainForm::Register(instance) || !AboutBox::Register(instance) ||
      !HiddenForm::Register(instance))
    return 1;

  MainForm mainForm;
  if (!mainForm.Create(instance, container)) return 1;
  ::ShowWindow(mainForm.window(), SW_SHOWNORMAL);
  ::UpdateWindow(mainForm.window());
  AboutBox about;
  about.Create(instance, mainForm.window());
  mainForm.SetAboutBox(&about);
  HiddenForm form1;
  form1.Create(instance);

  if (std::wstring file = FileArgument(); !file.empty()) mainForm.OpenFile(file);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (mainForm.TranslateShortCut(message)) continue;
    if (about.window() != nullptr && ::IsDialogMessageW(about.window(), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace
}  // namespace quillon::mirandel

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return quillon::mirandel::Run(instance);
}
