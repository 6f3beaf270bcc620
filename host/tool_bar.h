#pragma once
// The viewer's tool bar: its buttons, their images and enabled states, and their hints, which
// go to the status line (the buttons have no tool tips).

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <string>

#include "base/win32/unique_handle.h"
#include "host/status_line.h"

namespace quillon::mirandel {

// The common controls' own handle: the tool bar's images.
using UniqueImageList = UniqueHandle<NullHandleTraits<HIMAGELIST, ::ImageList_Destroy>>;

struct ToolButton {
  int command;  // 0 for a separator
  int glyph;
  const wchar_t* hint;
  bool initiallyEnabled;
};

class ToolBar {
 public:
  void Create(HWND parent, StatusLine* status);
  HWND window() const { return window_; }
  void Enable(int command, bool enabled);

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void TrackHint(POINT point);

  HWND window_ = nullptr;
  WNDPROC baseProc_ = nullptr;
  StatusLine* status_ = nullptr;
  int hintButton_ = -1;
  UniqueImageList images_;
};

}  // namespace quillon::mirandel
