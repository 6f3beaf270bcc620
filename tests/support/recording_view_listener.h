#pragma once
// A view listener that records what the navigation asks of the window, for tests.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "interact/view_listener.h"

namespace quillon {

// Records what the navigation asks of the window, one line per call.
class RecordingListener : public ViewListener {
 public:
  void InvalidateView() override { events.push_back("invalidate"); }
  void InvalidateArea(const ViewRect& r, bool erase) override {
    events.push_back(std::string(erase ? "erase " : "repaint ") + std::to_string(r.left) + " " +
                     std::to_string(r.top) + " " + std::to_string(r.right) + " " +
                     std::to_string(r.bottom));
  }
  void UpdateView() override { events.push_back("update"); }
  bool JournalOpen() const override { return journal; }
  void JournalKeyword(std::string_view keyword) override {
    events.push_back("journal " + std::string(keyword));
  }
  void JournalViewState(const ViewState& view) override {
    char line[128];
    std::snprintf(line, sizeof line, "state %f %f %f %d", view.xOrg, view.yOrg, view.ViewScale,
                  view.Rot);
    events.push_back(line);
  }
  void ResetZoom() override { events.push_back("zoom 0"); }
  void ResetRasterCache() override { events.push_back("raster cache"); }

  bool journal = false;
  std::vector<std::string> events;
};

}  // namespace quillon
