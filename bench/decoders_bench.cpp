// Raster decoders side by side with the reference libraries on the same bytes:
// Group 4 and PackBits against libtiff, JPEG against bare libjpeg one row at a time.

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "render/codecs/group4_decoder.h"
#include "render/codecs/jpeg_decoder.h"
#include "render/codecs/packbits_decoder.h"
#include "render/draw_context.h"
#include "render/null_device.h"
#include "tests/support/fake_document_platform.h"
#include "tests/support/kpz_builder.h"
#include "tests/support/native/raster_oracle.h"

namespace quillon {
namespace {

std::string DataPath(const char* name) {
  const std::string dir = oracle::RasterDataDir(QUILLON_SHARED_DIR);
  return dir.empty() ? std::string() : dir + "/" + name;
}

struct Group4Data {
  std::vector<std::uint8_t> stream;
  std::int32_t width = 0, rows = 0;
  std::string path;
};

const Group4Data& Group4File(const char* name) {
  static std::vector<std::pair<std::string, Group4Data>> loaded;
  for (auto& [n, d] : loaded)
    if (n == name) return d;
  Group4Data d;
  d.path = DataPath(name);
  if (!d.path.empty()) {
    if (auto tiff = oracle::ReadBitonalTiff(d.path)) {
      d.stream = std::move(tiff->stream);
      d.width = tiff->image.width;
      d.rows = tiff->image.rows;
    }
  }
  loaded.emplace_back(name, std::move(d));
  return loaded.back().second;
}

void OursGroup4(benchmark::State& state, const char* name, int rotation, int factor) {
  const Group4Data& d = Group4File(name);
  if (d.stream.empty()) return state.SkipWithError("shared raster data not found");
  HalvingTables tables;
  tables.Build(PairRule::Or);
  const RasterGeometry g{d.width, d.rows, rotation, factor, PixelKind::Bitonal};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes);
  for (auto _ : state) {
    RasterTarget target(g, image, &tables);
    benchmark::DoNotOptimize(DecodeGroup4(d.stream, RasterLead::Absent, target));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(d.stream.size()));
}

// libtiff's decode of the strip as stored, into one buffer.
void LibtiffStrip(benchmark::State& state, const char* name) {
  const std::string path = DataPath(name);
  if (path.empty()) return state.SkipWithError("shared raster data not found");
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return state.SkipWithError("cannot open");
  const tmsize_t size = TIFFStripSize(tif);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(size));
  // Keep the raw strip in memory, as our decoder has it.
  TIFFReadEncodedStrip(tif, 0, out.data(), size);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TIFFReadEncodedStrip(tif, 0, out.data(), size));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(TIFFRawStripSize(tif, 0)));
  TIFFClose(tif);
}

struct PackBitsData {
  std::vector<std::uint8_t> record;  // our variant, after the 1024-byte lead
  std::int32_t width = 0, rows = 0;
};

const PackBitsData& MixedPackBits() {
  static PackBitsData d = [] {
    PackBitsData out;
    const std::string path = DataPath("mixed_packbits.tif");
    if (path.empty()) return out;
    auto tiff = oracle::ReadPackBitsTiff(path);
    if (!tiff) return out;
    out.record.assign(kRasterLeadBytes, 0);
    const auto variant = oracle::ToVariantPackBits(tiff->stream);
    out.record.insert(out.record.end(), variant.begin(), variant.end());
    out.width = tiff->image.width;
    out.rows = tiff->image.rows;
    return out;
  }();
  return d;
}

void OursPackBits8(benchmark::State& state, int rotation) {
  const PackBitsData& d = MixedPackBits();
  if (d.record.empty()) return state.SkipWithError("shared raster data not found");
  const RasterGeometry g{d.width, d.rows, rotation, 1, PixelKind::Gray8};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes);
  for (auto _ : state) {
    RasterTarget target(g, image);
    benchmark::DoNotOptimize(DecodePackBits8Image(d.record, RasterLead::Present, target));
    benchmark::ClobberMemory();
  }
}

std::vector<std::uint8_t>& Photo() {
  static std::vector<std::uint8_t> bytes = [] {
    const std::string path = DataPath("photo_q85_420.jpg");
    return path.empty() ? std::vector<std::uint8_t>() : oracle::ReadWholeFile(path);
  }();
  return bytes;
}

void OursJpeg(benchmark::State& state, int rotation) {
  const auto& bytes = Photo();
  if (bytes.empty()) return state.SkipWithError("shared raster data not found");
  const RasterGeometry g{4000, 3000, rotation, 1, PixelKind::Rgb24};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes);
  for (auto _ : state) {
    RasterTarget target(g, image);
    if (!DecodeJpeg(bytes, target)) return state.SkipWithError("decode failed");
    benchmark::ClobberMemory();
  }
}

// Bare libjpeg: its own memory source, one row per jpeg_read_scanlines, into one image buffer.
void LibjpegRows(benchmark::State& state) {
  const auto& bytes = Photo();
  if (bytes.empty()) return state.SkipWithError("shared raster data not found");
  std::vector<std::uint8_t> image(static_cast<std::size_t>(4000) * 3 * 3000);
  for (auto _ : state) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * 3;
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = image.data() + rowBytes * info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::ClobberMemory();
  }
}

// A plot whose one page is the dense drawing as a full-sheet Group 4 raster (7000 dots wide),
// opened once and drawn at fit on a window 1000 pixels wide (factor 8).
struct SheetPlot {
  test::FakeDocumentPlatform platform;
  DrawContext context{platform, 0, 0};
  NullDevice device;
  bool ok = false;
};

SheetPlot& FullSheet() {
  static SheetPlot plot;
  static bool made = false;
  if (made) return plot;
  made = true;
  const Group4Data& d = Group4File("drawing_g4_lsb.tif");
  if (d.stream.empty()) return plot;
  KpzBuilder b;
  b.PageSize(d.width / 1000.0, d.rows / 1000.0, 1000);
  KpzRasterHeader h;
  h.x2 = d.width;
  h.y2 = d.rows;
  h.rows = d.rows;
  h.width = d.width;
  h.bytesPerRow = (d.width + 7) / 8;
  h.format = 0x1000;
  std::vector<std::uint8_t> record(kRasterLeadBytes, 0);
  record.insert(record.end(), d.stream.begin(), d.stream.end());
  b.BeginPage().RasterHeader(h).RasterData(record).EndPage();
  plot.platform.AddFile("sheet.kpz", b.Build());
  plot.ok = plot.context.OpenDocument("sheet.kpz", 1000, 714) == 0;
  return plot;
}

// First paint: the cache is dropped (as after a turn) and the raster decoded and painted.
void SheetFirstPaint(benchmark::State& state) {
  SheetPlot& plot = FullSheet();
  if (!plot.ok) return state.SkipWithError("shared raster data not found");
  for (auto _ : state) {
    plot.context.RequestRasterCacheReset();
    plot.context.DrawDocument(&plot.device, 0, 1000, 714, 0, 0, "sheet.kpz", 0);
  }
}

// Repaint at the same view: painted from the cached image.
void SheetCachedRepaint(benchmark::State& state) {
  SheetPlot& plot = FullSheet();
  if (!plot.ok) return state.SkipWithError("shared raster data not found");
  plot.context.DrawDocument(&plot.device, 0, 1000, 714, 0, 0, "sheet.kpz", 0);
  for (auto _ : state) plot.context.DrawDocument(&plot.device, 0, 1000, 714, 0, 0, "sheet.kpz", 0);
}

BENCHMARK_CAPTURE(LibtiffStrip, drawing, "drawing_g4_lsb.tif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursGroup4, drawing_rot0, "drawing_g4_lsb.tif", 0, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursGroup4, drawing_rot90, "drawing_g4_lsb.tif", 90, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursGroup4, drawing_rot180, "drawing_g4_lsb.tif", 180, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursGroup4, drawing_rot270, "drawing_g4_lsb.tif", 270, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursGroup4, drawing_rot0_f4, "drawing_g4_lsb.tif", 0, 4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibtiffStrip, sparse, "sparse_g4_lsb.tif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursGroup4, sparse_rot0, "sparse_g4_lsb.tif", 0, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibtiffStrip, packbits, "mixed_packbits.tif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursPackBits8, rot0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursPackBits8, rot90, 90)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursPackBits8, rot270, 270)->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegRows)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursJpeg, rot0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursJpeg, rot90, 90)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OursJpeg, rot270, 270)->Unit(benchmark::kMillisecond);
BENCHMARK(SheetFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(SheetCachedRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
