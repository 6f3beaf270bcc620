// kpzinfo: what a KPZ file holds and whether the control draws it whole, or the device calls
// of a screen draw. The file is opened by the control's own loader, so refusals carry the
// control's messages.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/kpz_survey.h"
#include "render/draw_context.h"
#include "render/trace_device.h"
#include "tools/kpzinfo/info_report.h"
#include "tools/kpzinfo/tool_platform.h"

namespace {

constexpr int kDrawnWhole = 0;
constexpr int kNotDrawnWhole = 1;
constexpr int kUsageError = 2;

constexpr const char kHelp[] =
    "usage: kpzinfo [--trace [--size WxH] [--rot R]] FILE\n"
    "       kpzinfo --help\n"
    "\n"
    "Without --trace, prints what FILE holds: the outer form (plain or wrapped, data start,\n"
    "wrapper blocks), the header (page size in metres, resolution in dots per metre, size in\n"
    "dots), the index record, the tables, every page with its records counted per opcode, and\n"
    "every problem found.\n"
    "\n"
    "--trace       prints the device calls of a screen draw instead\n"
    "--size WxH    the window the page is fitted into (default 800x600)\n"
    "--rot R       rotation 0, 90, 180 or 270 (default 270, the control's initial one)\n"
    "--help        this text\n"
    "\n"
    "The file is opened by the control's loader; its messages go to stderr.\n"
    "\n"
    "Exit status:\n"
    "  0  the control opens the file and draws every page whole\n"
    "  1  the control refuses the file or draws less than all of it: the file cannot be\n"
    "     opened or mapped, its outer form or wrapper is refused, its index record is\n"
    "     invalid, its header is missing, its page table holds fewer pages than it declares,\n"
    "     a page starts outside the file, or a page holds a record that cannot be read whole\n"
    "     (the page is drawn up to that record). Notes (a table offset that is ignored, a\n"
    "     page without an end-of-page record, no pages) do not change the status.\n"
    "  2  usage error: no file, more than one file, an unknown option or a bad value\n";

int Usage(const char* why) {
  std::fprintf(stderr, "kpzinfo: %s\n(kpzinfo --help explains the options)\n", why);
  return kUsageError;
}

bool ParseSize(const char* text, int& width, int& height) {
  char* end = nullptr;
  const long w = std::strtol(text, &end, 10);
  if (end == text || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  const long h = std::strtol(rest, &end, 10);
  if (end == rest || *end != '\0') return false;
  if (w < 1 || h < 1 || w > 100000 || h > 100000) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool ParseRotation(const char* text, int& rotation) {
  for (int r : {0, 90, 180, 270}) {
    if (std::to_string(r) == text) {
      rotation = r;
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  bool trace = false;
  int width = 800, height = 600, rotation = 270;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (std::strcmp(arg, "--trace") == 0) {
      trace = true;
    } else if (std::strcmp(arg, "--size") == 0) {
      if (++i == argc || !ParseSize(argv[i], width, height))
        return Usage("--size needs WxH, e.g. 800x600");
    } else if (std::strcmp(arg, "--rot") == 0) {
      if (++i == argc || !ParseRotation(argv[i], rotation))
        return Usage("--rot needs 0, 90, 180 or 270");
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return Usage((std::string("unknown option ") + arg).c_str());
    } else if (path) {
      return Usage("only one file at a time");
    } else {
      path = arg;
    }
  }
  if (!path) return Usage("no file given");

  auto platform = quillon::MakeToolPlatform();
  quillon::DrawContext context(*platform, 0, 0);
  if (context.OpenDocument(path, width, height) != 0) {
    std::fprintf(stderr, "kpzinfo: %s: the control refuses to open the file\n", path);
    return kNotDrawnWhole;
  }
  const quillon::KpzDocument& doc = *context.document();
  const quillon::KpzSurvey info = quillon::SurveyKpz(doc.view);

  if (trace) {
    quillon::TraceDevice device;
    context.state()->rotation = rotation;
    context.DrawDocument(&device, 0, width, height, 0, 0, path, 0);
    context.CloseDocument(&device);
    std::fputs(device.str().c_str(), stdout);
    for (const std::string& problem : info.problems)
      std::fprintf(stderr, "kpzinfo: %s: %s\n", path, problem.c_str());
  } else {
    quillon::WriteInfoReport(stdout, path, info);
    context.CloseDocument();
  }
  return info.drawnWhole() ? kDrawnWhole : kNotDrawnWhole;
}
