// Printing speed under Wine: each plot printed silently at fit by the control onto a
// PostScript printer whose port keeps the job's PostScript in a file. Prints the time of each
// job (the control's Plot call, spooling included) and the size of what was spooled.
//
//   print_bench.exe [--repeat N] PLOT.kpz...

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "control/quillon_h.h"
#include "tests/win32/postscript_test_printer.h"
#include "tools/kpzsnap/control_snapshot.h"

namespace {

long long FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string TempFolder() {
  char path[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, path);
  std::string folder = std::string(path) + "quillon-print-bench";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 3;
  std::vector<std::string> plots;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--repeat" && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else {
      plots.push_back(arg);
    }
  }
  if (plots.empty()) {
    std::fprintf(stderr, "usage: print_bench [--repeat N] PLOT.kpz...\n");
    return 2;
  }
  quillon::test::PostScriptTestPrinter printer(TempFolder(), 0);
  if (!printer.Install()) {
    std::fprintf(stderr, "no test printer: %s\n", printer.error().c_str());
    return 1;
  }
  ::SetDefaultPrinterA(printer.name().c_str());

  int failures = 0;
  for (const std::string& plot : plots) {
    quillon::SnapView view;
    view.width = 1600;
    view.height = 1200;
    quillon::ControlSnapshot snapshot(view);
    IQuillonCtl* ctl = snapshot.control();
    if (!snapshot.error().empty() || ctl == nullptr || !snapshot.Open(plot)) {
      std::fprintf(stderr, "%s: not opened %s\n", plot.c_str(), snapshot.error().c_str());
      ++failures;
      continue;
    }
    ctl->put_PlotSilent(1);
    ctl->put_PrintScaleOptions(-1);
    std::vector<double> seconds;
    for (int i = 0; i < repeat; ++i) {
      ::DeleteFileA(printer.postScriptFile().c_str());
      const auto start = std::chrono::steady_clock::now();
      const HRESULT hr = ctl->Plot(0);
      seconds.push_back(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      if (FAILED(hr)) ++failures;
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%s: print at fit min %.3f s, median %.3f s, max %.3f s; PostScript %lld bytes\n",
                plot.c_str(), seconds.front(), seconds[seconds.size() / 2], seconds.back(),
                FileBytes(printer.postScriptFile()));
  }
  return failures == 0 ? 0 : 1;
}
