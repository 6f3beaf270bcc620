#pragma once
// Command identifiers of the viewer's menus, short cuts and tool-bar buttons. The tool-bar
// buttons that repeat a menu item send that item's command.

namespace quillon::mirandel {

enum Command : unsigned short {
  kCmdOpen = 101,
  kCmdPrintView = 102,
  kCmdPrintMap = 103,
  kCmdExit = 104,
  kCmdZoomIn = 105,
  kCmdZoomOut = 106,
  kCmdExtent = 107,
  kCmdAbout = 108,
  kCmdNewWindow = 109,       // Ctrl+N: shows the About window
  kCmdPrintMapButton = 110,  // the print-map tool-bar button, which does nothing
};

}  // namespace quillon::mirandel
