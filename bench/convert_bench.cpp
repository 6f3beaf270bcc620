// kpzconvert's conversions of the large samples, whole: loading, drawing through CairoDevice
// and cairo writing the file. The plots are the sample files (make -C build/native samples);
// the output size is reported beside the time.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "document/native/native_document_platform.h"
#include "tools/kpzconvert/plot_conversion.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

void Convert(benchmark::State& state, const char* sample, const char* out,
             std::vector<std::string> extra) {
  const std::string file = std::string(QUILLON_SOURCE_DIR "/samples/") + sample;
  if (!fs::exists(file)) {
    state.SkipWithError("the sample is missing: make -C build/native samples");
    return;
  }
  const std::string path = (fs::temp_directory_path() / out).string();
  std::vector<std::string> args{file, path};
  args.insert(args.end(), extra.begin(), extra.end());
  ConvertOptions options;
  ParseConvertOptions(args, options);
  NativeDocumentPlatform platform;
  for (auto _ : state) {
    if (!ConvertPlot(platform, options.jobs.at(0), options).ok) {
      state.SkipWithError("the conversion failed");
      return;
    }
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(path));
  fs::remove(path);
}

void Large(benchmark::State& state, const char* out, std::vector<std::string> extra) {
  Convert(state, "large-plan.kpz", out, std::move(extra));
}
void SheetA0(benchmark::State& state, const char* out, std::vector<std::string> extra) {
  Convert(state, "raster-sheet-a0.kpz", out, std::move(extra));
}

BENCHMARK_CAPTURE(Large, Png1600x1200, "bench-large.png", {"--size", "1600x1200"})
    ->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Large, Pdf, "bench-large.pdf", {})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Large, Svg, "bench-large.svg", {})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(SheetA0, Png1600x1200, "bench-a0.png", {"--size", "1600x1200"})
    ->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(SheetA0, Pdf, "bench-a0.pdf", {})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(SheetA0, Svg, "bench-a0.svg", {})->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
