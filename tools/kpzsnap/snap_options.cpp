#include "tools/kpzsnap/snap_options.h"

#include <cmath>
#include <cstdlib>

namespace quillon {

const char kSnapHelp[] =
    "usage: kpzsnap [options] FILE OUT.png [FILE OUT.png]...\n"
    "       kpzsnap --help\n"
    "\n"
    "Draws each KPZ plot the way the control draws it on the screen, through GDI onto an\n"
    "off-screen bitmap with a white background, and writes the bitmap as a PNG picture.\n"
    "\n"
    "--size WxH        the picture in pixels (default 800x600)\n"
    "--rot R           view rotation 0, 90, 180 or 270 (default 270, the control's initial\n"
    "                  one); the page is turned first, then fitted\n"
    "--scale S         draw at S pixels per document dot instead of fitting\n"
    "--org X,Y         with --scale: the pixel where the turned page's top-left corner goes\n"
    "                  (default 0,0)\n"
    "--status-bar      keep the bottom 17 pixels for the control's status bar and draw it\n"
    "--time N          draw each plot N more times and print the draw times (wall and\n"
    "                  processor) in ms, and the process's private memory\n"
    "--help            this text\n"
    "\n"
    "The control's messages go to stderr; nothing waits for a click.\n"
    "\n"
    "Exit status: 0 every picture written; 1 a plot could not be loaded or a picture could\n"
    "not be written (the other pairs are still done); 2 usage error.\n";

namespace {

bool ParseInt(const std::string& text, long low, long high, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || v < low || v > high) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool ParsePair(const std::string& text, char separator, std::string& first, std::string& second) {
  const auto at = text.find(separator);
  if (at == std::string::npos) return false;
  first = text.substr(0, at);
  second = text.substr(at + 1);
  return true;
}

}  // namespace

std::string ParseSnapOptions(const std::vector<std::string>& args, SnapOptions& options) {
  std::vector<std::string> names;
  bool haveOrigin = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : std::string();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return "";
    }
    if (arg == "--status-bar") {
      options.statusBar = true;
      continue;
    }
    if (arg == "--size") {
      std::string w, h;
      if (!hasValue || (!ParsePair(value, 'x', w, h) && !ParsePair(value, 'X', w, h)) ||
          !ParseInt(w, 1, 16384, options.width) || !ParseInt(h, 1, 16384, options.height))
        return "--size needs WxH, each 1 to 16384, e.g. 800x600";
    } else if (arg == "--rot") {
      int r = 0;
      if (!hasValue || !ParseInt(value, 0, 270, r) || r % 90 != 0)
        return "--rot needs 0, 90, 180 or 270";
      options.rotation = r;
    } else if (arg == "--scale") {
      double s = 0;
      if (!hasValue || !ParseDouble(value, s) || s <= 0 || s > 1000)
        return "--scale needs a number of pixels per dot above 0 (at most 1000)";
      options.scale = s;
    } else if (arg == "--org") {
      std::string x, y;
      if (!hasValue || !ParsePair(value, ',', x, y) || !ParseDouble(x, options.originX) ||
          !ParseDouble(y, options.originY) || std::fabs(options.originX) > 1e9 ||
          std::fabs(options.originY) > 1e9)
        return "--org needs X,Y in pixels, e.g. -200,-150";
      haveOrigin = true;
    } else if (arg == "--time") {
      if (!hasValue || !ParseInt(value, 1, 10000, options.timeRuns))
        return "--time needs a number of draws, 1 to 10000";
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else {
      names.push_back(arg);
      continue;
    }
    ++i;  // the option's value
  }
  if (haveOrigin && !options.scale) return "--org goes with --scale (a fitted page starts at 0,0)";
  if (names.empty()) return "no file given";
  if (names.size() % 2 != 0) return "every FILE needs its OUT.png";
  if (options.statusBar && options.height <= 17) return "--status-bar needs a height above 17";
  for (std::size_t i = 0; i < names.size(); i += 2)
    options.jobs.push_back({names[i], names[i + 1]});
  return "";
}

}  // namespace quillon
