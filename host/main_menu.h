#pragma once
// The main window's menu bar and its short cuts.

#include <windows.h>

#include <string>

namespace quillon::mirandel {

// The menu bar with the document commands disabled.
HMENU CreateMainMenu();
// Ctrl+A, Ctrl+V, Ctrl+M, Ctrl+S, Ctrl+X, Ctrl+Z, Ctrl+E and Ctrl+N.
HACCEL CreateMainShortCuts();
// The hint of a sub-menu by its position in the bar (commands have none: the line is empty
// while one is under the mouse).
std::wstring MenuPopupHint(int position);

// Positions of the sub-menus in the menu bar.
inline constexpr int kFileMenuPosition = 0;
inline constexpr int kViewMenuPosition = 1;

}  // namespace quillon::mirandel
