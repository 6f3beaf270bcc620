// kpzsnap: draws KPZ plots through the control's own paint into off-screen bitmaps and writes
// them as PNG pictures, for people to look at and for timing full draws.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/kpzsnap/control_snapshot.h"
#include "tools/kpzsnap/png_writer.h"
#include "tools/kpzsnap/snap_options.h"

// After the tool's headers, which use GDI's names.
#include <windows.h>
#include <psapi.h>

namespace {

constexpr int kAllWritten = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Processor time of this thread in ms: on a busy machine the wall time of a draw also holds
// the time other programs had the processor.
double ThreadCpuMilliseconds() {
  FILETIME created, exited, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e4;  // 100 ns units
}

// Private memory of the process in MiB (the heap and other committed memory of its own;
// mapped files are not in it), and the largest it has been.
struct PrivateMemory {
  double now = 0, peak = 0;
};
PrivateMemory ReadPrivateMemory() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  PrivateMemory m;
  if (::GetProcessMemoryInfo(::GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    const double now = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    m.now = now / (1 << 20);
    m.peak = static_cast<double>(memory.PeakPagefileUsage) / (1 << 20);
  }
  return m;
}

// N further draws of the open plot; prints the first (cold) draw beside their spread.
void TimeDraws(quillon::ControlSnapshot& snapshot, const std::string& file, double firstMs,
               int runs) {
  std::vector<double> times, cpu;
  for (int i = 0; i < runs; ++i) {
    const double cpuStart = ThreadCpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    snapshot.Draw();
    times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
  }
  std::sort(times.begin(), times.end());
  std::sort(cpu.begin(), cpu.end());
  std::printf(
      "%s: first draw %.1f ms; %d more: min %.1f ms, median %.1f ms, max %.1f ms; "
      "processor time median %.1f ms\n",
      file.c_str(), firstMs, runs, times.front(), times[times.size() / 2], times.back(),
      cpu[cpu.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  quillon::SnapOptions options;
  const std::string why =
      quillon::ParseSnapOptions(std::vector<std::string>(argv + 1, argv + argc), options);
  if (options.help) {
    std::fputs(quillon::kSnapHelp, stdout);
    return 0;
  }
  if (!why.empty()) {
    std::fprintf(stderr, "kpzsnap: %s\n(kpzsnap --help explains the options)\n", why.c_str());
    return kUsageError;
  }

  quillon::SnapView view;
  view.width = options.width;
  view.height = options.height;
  view.rotation = options.rotation;
  view.scale = options.scale;
  view.originX = options.originX;
  view.originY = options.originY;
  view.statusBar = options.statusBar;

  int status = kAllWritten;
  for (const quillon::SnapJob& job : options.jobs) {
    quillon::ControlSnapshot snapshot(view);
    if (!snapshot.error().empty()) {
      std::fprintf(stderr, "kpzsnap: %s\n", snapshot.error().c_str());
      return kSomeFailed;
    }
    // The control loads the plot in its first paint: the first draw includes the load.
    const PrivateMemory before = ReadPrivateMemory();
    const auto start = std::chrono::steady_clock::now();
    if (!snapshot.Open(job.file)) {
      std::fprintf(stderr, "kpzsnap: %s: the control cannot load this plot\n", job.file.c_str());
      status = kSomeFailed;
      continue;
    }
    const double firstMs = Milliseconds(std::chrono::steady_clock::now() - start);
    if (options.timeRuns > 0) {
      TimeDraws(snapshot, job.file, firstMs, options.timeRuns);
      const PrivateMemory after = ReadPrivateMemory();
      std::printf("%s: private memory %.1f MiB before opening, %.1f MiB open, peak %.1f MiB\n",
                  job.file.c_str(), before.now, after.now, after.peak);
    }
    if (!quillon::WritePng(job.out, snapshot.Image())) {
      std::fprintf(stderr, "kpzsnap: %s: cannot write the picture\n", job.out.c_str());
      status = kSomeFailed;
    }
  }
  return status;
}
