#pragma once
// The right-click menu as a table: every entry in its order with its command, and whether it
// is checked or greyed for the tool and measuring mode of the moment. The window builds its
// popup from this table; the commands are run by the window.

#include <string_view>
#include <vector>

#include "interact/measurement.h"

namespace quillon {

// Commands of the menu besides the tools (mouse_tools.h holds those and Fit, Rotate).
inline constexpr int kCommandPlot = 47;
inline constexpr int kCommandPlotView = 48;
inline constexpr int kCommandAbout = 49;
inline constexpr int kCommandHelp = 52;
inline constexpr int kCommandMeasureDistance = 53;
inline constexpr int kCommandStatusBar = 54;
inline constexpr int kCommandPlotSetup = 55;
inline constexpr int kCommandConfigureRuler = 56;
inline constexpr int kCommandPlotToForm = 57;
inline constexpr int kCommandCopy = 58;
inline constexpr int kCommandMeasurePolygon = 60;
inline constexpr int kCommandPreferences = 61;

// What the entries' states depend on.
struct MenuState {
  int activeTool = 40;
  MeasureMode measure = MeasureMode::Off;
  bool statusBarVisible = true;
};

struct MenuEntry {
  enum class Kind { Command, Separator, SubMenu };
  Kind kind = Kind::Command;
  std::string_view text;  // ANSI; empty for a separator
  int id = 0;             // 0 for a separator or a sub-menu
  bool checked = false;
  bool greyed = false;
  std::vector<MenuEntry> items;  // a sub-menu's entries
};

std::vector<MenuEntry> ContextMenuEntries(const MenuState& state);

}  // namespace quillon
