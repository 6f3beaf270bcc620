#include "interact/context_menu.h"

#include "interact/mouse_tools.h"

namespace quillon {
namespace {

MenuEntry Command(std::string_view text, int id, bool checked = false, bool greyed = false) {
  return {MenuEntry::Kind::Command, text, id, checked, greyed, {}};
}

MenuEntry Separator() { return {MenuEntry::Kind::Separator, {}, 0, false, false, {}}; }

MenuEntry SubMenu(std::string_view text, std::vector<MenuEntry> items) {
  return {MenuEntry::Kind::SubMenu, text, 0, false, false, std::move(items)};
}

}  // namespace

std::vector<MenuEntry> ContextMenuEntries(const MenuState& s) {
  const bool distance = s.measure == MeasureMode::Distance;
  const bool polygon = s.measure == MeasureMode::Polygon;
  const bool measuring = distance || polygon;
  const bool formTool = s.activeTool == kToolPlotToForm;
  const auto tool = [&](std::string_view text, int id) {
    return Command(text, id, s.activeTool == id);
  };
  return {
      tool("Pan", kToolPan),
      tool("Zoom In", kToolZoomIn),
      tool("Zoom Out", kToolZoomOut),
      tool("Window Area", kToolWindowArea),
      tool("Window Center", kToolWindowCenter),
      Separator(),
      Command("Fit Image", kCommandFit, false, formTool),
      Command("Rotate Left", kCommandRotateLeft),
      Command("Rotate Right", kCommandRotateRight),
      SubMenu("Measure",
              {
                  Command("Distance", kCommandMeasureDistance, distance, !distance && polygon),
                  Command("Polygon Area", kCommandMeasurePolygon, polygon, !polygon && distance),
                  Command("Configure Ruler...", kCommandConfigureRuler, false, measuring),
              }),
      Command("Copy", kCommandCopy),
      SubMenu("Plot",
              {
                  Command("Plot Setup...", kCommandPlotSetup, false, formTool || measuring),
                  Command("Plot...", kCommandPlot, false, formTool || measuring),
                  Command("Plot View...", kCommandPlotView, false, formTool || measuring),
                  Command("Plot To Form...", kCommandPlotToForm, formTool, !formTool && measuring),
              }),
      Separator(),
      Command("Preferences...", kCommandPreferences),
      Command("Status Bar", kCommandStatusBar, s.statusBarVisible, measuring),
      Command("Help", kCommandHelp, false, measuring),
      Command("About Morvalent\xAE Quillon", kCommandAbout),
  };
}

}  // namespace quillon
