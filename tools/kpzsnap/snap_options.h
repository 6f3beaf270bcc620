#pragma once
// kpzsnap's command line: which plots to draw into which pictures, and how.

#include <optional>
#include <string>
#include <vector>

namespace quillon {

struct SnapJob {
  std::string file;  // the KPZ plot
  std::string out;   // the PNG to write
};

struct SnapOptions {
  std::vector<SnapJob> jobs;
  int width = 800;
  int height = 600;
  int rotation = 270;  // the control's initial view
  // Set: device pixels per dot, with the page corner at (originX, originY). Unset: fit.
  std::optional<double> scale;
  double originX = 0;
  double originY = 0;
  bool statusBar = false;
  int timeRuns = 0;  // --time N: N further draws of each plot are timed
  bool help = false;
};

// Fills `options` from the arguments after the program name; answers "" or why the command
// line is refused.
std::string ParseSnapOptions(const std::vector<std::string>& args, SnapOptions& options);

extern const char kSnapHelp[];

}  // namespace quillon
