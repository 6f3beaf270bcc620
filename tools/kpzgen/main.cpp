// kpzgen: writes the sample plots into a folder.
//   kpzgen [--large N] OUTDIR
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/kpzgen/sample_plots.h"

namespace {

bool Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "kpzgen: cannot write %s\n", path.string().c_str());
    return false;
  }
  std::printf("%s (%zu bytes)\n", path.string().c_str(), bytes.size());
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: kpzgen [--large N] OUTDIR\n"
               "  writes site-plan.kpz (A1 at 400 dpi), building-plan.kpz (A3 at 200 dpi), raster-plan.kpz and\n"
               "  raster-scan-runs.kpz (rasters of every format, A2 at 200 dpi), raster-sheet-a0.kpz (a\n"
               "  full-sheet Group 4 scan, A0 at 400 dpi) and large-plan.kpz (N polylines of\n"
               "  four vectors each on an A0 sheet; default 262144, about a million vectors)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint32_t large = 262144;
  const char* outDir = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--large") == 0 && i + 1 < argc) {
      large = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (argv[i][0] == '-' || outDir) {
      return Usage();
    } else {
      outDir = argv[i];
    }
  }
  if (!outDir) return Usage();
  std::filesystem::path dir(outDir);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  bool ok = Write(dir / "site-plan.kpz", quillon::MakeSitePlan());
  ok = Write(dir / "building-plan.kpz", quillon::MakeBuildingPlan()) && ok;
  ok = Write(dir / "raster-plan.kpz", quillon::MakeRasterPlan()) && ok;
  ok = Write(dir / "raster-scan-runs.kpz", quillon::MakeRasterScanRuns()) && ok;
  ok = Write(dir / "raster-sheet-a0.kpz", quillon::MakeRasterSheetA0()) && ok;
  if (large > 0) ok = Write(dir / "large-plan.kpz", quillon::MakeLargePlan(large)) && ok;
  return ok ? 0 : 1;
}
