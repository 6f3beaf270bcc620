#include "host/main_menu.h"

#include <iterator>

#include "host/command_ids.h"
#include "host/host_texts.h"

namespace quillon::mirandel {

HMENU CreateMainMenu() {
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuW(file, MF_STRING, kCmdOpen, kMenuOpen);
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(file, MF_STRING | MF_GRAYED, kCmdPrintView, kMenuPrintView);
  ::AppendMenuW(file, MF_STRING | MF_GRAYED, kCmdPrintMap, kMenuPrintMap);
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(file, MF_STRING, kCmdExit, kMenuExit);

  HMENU view = ::CreatePopupMenu();
  ::AppendMenuW(view, MF_STRING | MF_GRAYED, kCmdZoomIn, kMenuZoomIn);
  ::AppendMenuW(view, MF_STRING | MF_GRAYED, kCmdZoomOut, kMenuZoomOut);
  ::AppendMenuW(view, MF_STRING | MF_GRAYED, kCmdExtent, kMenuExtent);

  HMENU bar = ::CreateMenu();
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), kMenuFile);
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), kMenuView);
  ::AppendMenuW(bar, MF_STRING, kCmdAbout, kMenuAbout);
  return bar;
}

HACCEL CreateMainShortCuts() {
  ACCEL keys[] = {
      {FVIRTKEY | FCONTROL, 'A', kCmdOpen},     {FVIRTKEY | FCONTROL, 'V', kCmdPrintView},
      {FVIRTKEY | FCONTROL, 'M', kCmdPrintMap}, {FVIRTKEY | FCONTROL, 'S', kCmdExit},
      {FVIRTKEY | FCONTROL, 'X', kCmdZoomIn},   {FVIRTKEY | FCONTROL, 'Z', kCmdZoomOut},
      {FVIRTKEY | FCONTROL, 'E', kCmdExtent},   {FVIRTKEY | FCONTROL, 'N', kCmdNewWindow},
  };
  return ::CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

std::wstring MenuPopupHint(int position) {
  return position == kFileMenuPosition ? kFileMenuHint : L"";
}

}  // namespace quillon::mirandel
