#include "interact/context_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interact/mouse_tools.h"

namespace quillon {
namespace {

// One line per entry: "id text [c][g]", sub-menu entries indented, separators "-".
std::vector<std::string> Lines(const std::vector<MenuEntry>& entries, const std::string& indent = "") {
  std::vector<std::string> out;
  for (const MenuEntry& e : entries) {
    if (e.kind == MenuEntry::Kind::Separator) {
      out.push_back(indent + "-");
    } else if (e.kind == MenuEntry::Kind::SubMenu) {
      out.push_back(indent + std::string(e.text) + ":");
      for (const std::string& line : Lines(e.items, indent + "  ")) out.push_back(line);
    } else {
      out.push_back(indent + std::to_string(e.id) + " " + std::string(e.text) +
                    (e.checked ? " c" : "") + (e.greyed ? " g" : ""));
    }
  }
  return out;
}

TEST(ContextMenuTest, EntriesInOrderWithTheirStates) {
  const struct {
    const char* name;
    MenuState state;
    std::vector<std::string> lines;
  } cases[] = {
      {"pan",
       {kToolPan, MeasureMode::Off, true},
       {"40 Pan c", "42 Zoom In", "43 Zoom Out", "44 Window Area", "45 Window Center", "-",
        "46 Fit Image", "50 Rotate Left", "51 Rotate Right", "Measure:", "  53 Distance",
        "  60 Polygon Area", "  56 Configure Ruler...", "58 Copy", "Plot:", "  55 Plot Setup...",
        "  47 Plot...", "  48 Plot View...", "  57 Plot To Form...", "-", "61 Preferences...",
        "54 Status Bar c", "52 Help", "49 About Morvalent\xAE Quillon"}},
      {"plot to form, status bar hidden",
       {kToolPlotToForm, MeasureMode::Off, false},
       {"40 Pan", "42 Zoom In", "43 Zoom Out", "44 Window Area", "45 Window Center", "-",
        "46 Fit Image g", "50 Rotate Left", "51 Rotate Right", "Measure:", "  53 Distance",
        "  60 Polygon Area", "  56 Configure Ruler...", "58 Copy", "Plot:",
        "  55 Plot Setup... g", "  47 Plot... g", "  48 Plot View... g", "  57 Plot To Form... c",
        "-", "61 Preferences...", "54 Status Bar", "52 Help", "49 About Morvalent\xAE Quillon"}},
      {"measuring distance",
       {kToolMeasure, MeasureMode::Distance, true},
       {"40 Pan", "42 Zoom In", "43 Zoom Out", "44 Window Area", "45 Window Center", "-",
        "46 Fit Image", "50 Rotate Left", "51 Rotate Right", "Measure:", "  53 Distance c",
        "  60 Polygon Area g", "  56 Configure Ruler... g", "58 Copy", "Plot:",
        "  55 Plot Setup... g", "  47 Plot... g", "  48 Plot View... g", "  57 Plot To Form... g",
        "-", "61 Preferences...", "54 Status Bar c g", "52 Help g",
        "49 About Morvalent\xAE Quillon"}},
      {"zoom in chosen while measuring area",
       {kToolZoomIn, MeasureMode::Polygon, true},
       {"40 Pan", "42 Zoom In c", "43 Zoom Out", "44 Window Area", "45 Window Center", "-",
        "46 Fit Image", "50 Rotate Left", "51 Rotate Right", "Measure:", "  53 Distance g",
        "  60 Polygon Area c", "  56 Configure Ruler... g", "58 Copy", "Plot:",
        "  55 Plot Setup... g", "  47 Plot... g", "  48 Plot View... g", "  57 Plot To Form... g",
        "-", "61 Preferences...", "54 Status Bar c g", "52 Help g",
        "49 About Morvalent\xAE Quillon"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lines(ContextMenuEntries(c.state)), c.lines) << c.name;
  }
}

}  // namespace
}  // namespace quillon
