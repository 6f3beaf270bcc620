#pragma once
// MainForm: the viewer's MDI frame with its menu bar, short cuts, tool bar, status line and
// the QuillonCtl control filling the client area. It forwards the commands to the control.

#include <windows.h>

#include <string>

#include "base/win32/unique_handle.h"
#include "host/atl_container.h"
#include "host/quillon_control_site.h"
#include "host/status_line.h"
#include "host/tool_bar.h"

namespace quillon::mirandel {

class AboutBox;

class MainForm {
 public:
  static bool Register(HINSTANCE instance);
  bool Create(HINSTANCE instance, const AtlContainer& container);
  HWND window() const { return window_; }
  void SetAboutBox(AboutBox* about) { about_ = about; }

  // Hands a chosen file to the control and enables the document commands.
  void OpenFile(const std::wstring& path);
  // Translates the short cuts of a message meant for this window or its children.
  bool TranslateShortCut(MSG& message);

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void Layout();
  void OnCommand(int command);
  void OnMenuSelect(WPARAM wParam, LPARAM lParam);
  void EnableDocumentCommands();
  // A failed control call is shown with its description; the program carries on.
  void Report(const ControlFailure& failure);

  HWND window_ = nullptr;
  HWND mdiClient_ = nullptr;
  const AtlContainer* container_ = nullptr;
  AboutBox* about_ = nullptr;
  ToolBar toolBar_;
  StatusLine status_;
  QuillonControlSite control_;
  UniqueAccelerators shortCuts_;
  UniqueIcon icon_;
  UniqueIcon smallIcon_;
  bool documentCommands_ = false;
};

}  // namespace quillon::mirandel
