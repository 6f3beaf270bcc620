// Interpreter throughput on vector plots into the null device: the cost of reading records,
// turning points and managing pens, without any drawing. The plots are made in-process by the
// same generator that writes samples/large-plan.kpz and samples/site-plan.kpz.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/kpz_survey.h"
#include "document/native/native_document_platform.h"
#include "render/draw_context.h"
#include "render/null_device.h"
#include "tests/support/fake_document_platform.h"
#include "tools/kpzgen/sample_plots.h"

namespace quillon {
namespace {

constexpr std::uint32_t kLargePolylines = 262144;  // the size kpzgen writes: ~1M vectors

struct Plot {
  std::vector<std::uint8_t> bytes;
  std::uint64_t records = 0;  // every record of every page, as the survey counts them
};

const Plot& LargePlan() {
  static const Plot plot = [] {
    Plot p{MakeLargePlan(kLargePolylines), 0};
    for (const auto& page : SurveyKpz(p.bytes).pages) p.records += page.records;
    return p;
  }();
  return plot;
}

const Plot& SitePlan() {
  static const Plot plot = [] {
    Plot p{MakeSitePlan(), 0};
    for (const auto& page : SurveyKpz(p.bytes).pages) p.records += page.records;
    return p;
  }();
  return plot;
}

// Screen draws of one plot at fit into 1600 x 1200, turned by state.range(0) degrees.
void DrawIntoNullDevice(benchmark::State& state, const Plot& plot) {
  test::FakeDocumentPlatform platform;
  platform.AddFile("plot.kpz", plot.bytes);
  DrawContext context(platform, 0, 0);
  if (context.OpenDocument("plot.kpz", 1600, 1200) != 0) {
    state.SkipWithError("the plot does not open");
    return;
  }
  const int rotation = static_cast<int>(state.range(0));
  const bool sideways = rotation == 90 || rotation == 270;
  NullDevice device;
  for (auto _ : state) {
    context.state()->zoom = 0;
    context.state()->rotation = rotation;
    context.DrawDocument(&device, 0, sideways ? 1200 : 1600, sideways ? 1600 : 1200, 0, 0,
                         "plot.kpz", 0);
  }
  const double draws = static_cast<double>(state.iterations());
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(plot.records) * draws, benchmark::Counter::kIsRate);
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(device.points()), benchmark::Counter::kIsRate);
  state.counters["records"] = static_cast<double>(plot.records);
  state.counters["points/draw"] = static_cast<double>(device.points()) / draws;
  state.counters["pens/draw"] = static_cast<double>(device.objectsCreated()) / draws;
  state.SetBytesProcessed(static_cast<std::int64_t>(plot.bytes.size() * state.iterations()));
  context.CloseDocument(&device);
}

// The large plan turned by 270 degrees at eight times the scale that fits it into 1600 x 1200,
// the view in the middle of the sheet; the device says which logical box that view shows, so
// polylines outside it are skipped as on the screen.
void BM_LargePlanZoomedIntoNullDevice(benchmark::State& state) {
  const Plot& plot = LargePlan();
  test::FakeDocumentPlatform platform;
  platform.AddFile("plot.kpz", plot.bytes);
  DrawContext context(platform, 0, 0);
  if (context.OpenDocument("plot.kpz", 1600, 1200) != 0) {
    state.SkipWithError("the plot does not open");
    return;
  }
  const PageMeasure page = context.pageMeasure().value_or(PageMeasure{});
  // Turned, the page's long side runs down the view: fit is 1200 pixels over it.
  const double zoom = 8.0 * 1200.0 / page.width;
  const double originX = 800 - zoom * page.height / 2;
  const double originY = 600 - zoom * page.width / 2;
  NullDevice device;
  device.SetVisibleBox({static_cast<std::int32_t>(-originX / zoom),
                        static_cast<std::int32_t>(-originY / zoom),
                        static_cast<std::int32_t>((1600 - originX) / zoom),
                        static_cast<std::int32_t>((1200 - originY) / zoom)});
  for (auto _ : state) {
    context.state()->zoom = zoom;
    context.state()->rotation = 270;
    context.DrawDocument(&device, 0, 1600, 1200, originX, originY, "plot.kpz", 0);
  }
  const double draws = static_cast<double>(state.iterations());
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(plot.records) * draws, benchmark::Counter::kIsRate);
  state.counters["points/draw"] = static_cast<double>(device.points()) / draws;
  state.counters["primitives/draw"] = static_cast<double>(device.primitives()) / draws;
  context.CloseDocument(&device);
}
BENCHMARK(BM_LargePlanZoomedIntoNullDevice)->Unit(benchmark::kMillisecond);

// A plot file as the control opens it: mapped, not read, then drawn once at fit as the first
// paint does, and closed. The file is QUILLON_BENCH_PLOT (e.g. a 1 GB plot from
// `kpzgen --large 21900000`); without it the benchmark is skipped. "heap MiB" is what the
// process's heap grew by while the plot was open: it must not grow with the file.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;  // small blocks and blocks of their own mapping
}

void BM_MappedPlotFirstPaint(benchmark::State& state) {
  const char* path = std::getenv("QUILLON_BENCH_PLOT");
  if (path == nullptr) {
    state.SkipWithError("QUILLON_BENCH_PLOT names no plot file");
    return;
  }
  NativeDocumentPlatform platform;
  double heapGrowth = 0;
  for (auto _ : state) {
    const std::size_t heapBefore = HeapInUse();
    DrawContext context(platform, 0, 0);
    if (context.OpenDocument(path, 1600, 1200) != 0) {
      state.SkipWithError("the plot does not open");
      return;
    }
    NullDevice device;
    context.state()->zoom = 0;
    context.state()->rotation = 270;
    context.DrawDocument(&device, 0, 1200, 1600, 0, 0, path, 0);
    heapGrowth = (static_cast<double>(HeapInUse()) - static_cast<double>(heapBefore)) / (1 << 20);
    state.counters["points"] = static_cast<double>(device.points());
    context.CloseDocument(&device);
  }
  state.counters["heap MiB"] = heapGrowth;
}
BENCHMARK(BM_MappedPlotFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LargePlanIntoNullDevice(benchmark::State& state) { DrawIntoNullDevice(state, LargePlan()); }
BENCHMARK(BM_LargePlanIntoNullDevice)->Arg(0)->Arg(270)->Unit(benchmark::kMillisecond);

void BM_SitePlanIntoNullDevice(benchmark::State& state) { DrawIntoNullDevice(state, SitePlan()); }
BENCHMARK(BM_SitePlanIntoNullDevice)->Arg(270)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
