// Writes the seed corpus of the open_draw fuzz target: small KpzBuilder plots that together
// use every record type, both outer forms, every table, and a few broken files.
//
//   make_open_draw_seeds OUTPUT_FOLDER

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "document/opcodes.h"
#include "tests/support/kpz_builder.h"

namespace {

using quillon::DevicePoint;
using quillon::KpzBuilder;
using Bytes = std::vector<std::uint8_t>;

KpzBuilder Lines() {
  KpzBuilder b;
  b.PageSize(0.297, 0.21, 4000);
  const auto dashed = b.AddLineStyle({3, 2});
  const auto dotted = b.AddLineStyle({0.5, 1, 2, 1});
  b.BeginPage()
      .LineWidth(2.5)
      .LineJoin(1)
      .LineCap(2)
      .LineColour(KpzBuilder::Rgb(200, 0, 0))
      .Polyline({{0, 0}, {500, 300}, {900, 100}})
      .LineStyle(dashed)
      .ShortPolyline({{10, 10}, {400, 10}})
      .LineStyle(dotted)
      .LineModeColour(6, KpzBuilder::Rgb(0, 0, 255))
      .Bezier({{0, 0}, {100, 200}, {200, 200}, {300, 0}})
      .PenTouch()
      .EndPage();
  return b;
}

KpzBuilder Wrapped() {
  quillon::KpzWrapperLayout w;
  w.strings[0] = "plot";
  w.strings[4] = "author";
  w.blockSizes = {6, 3};
  w.extras = {1, 2};
  w.remainder = 2;
  KpzBuilder b;
  b.Wrapped(w).PageSize(0.5, 0.25, 400);
  b.BeginPage().OutlineWidth(3).OutlineJoin(2).OutlineStyle(0).Polyline({{7, 8}, {90, 60}});
  b.OutlineColour(KpzBuilder::Rgb(0, 128, 0)).OutlineModeColour(13, 0x00FF00).EndPage();
  b.BeginPage().Rectangles({{0, 0, 50, 50}}).EndPage();
  return b;
}

KpzBuilder Fills() {
  KpzBuilder b;
  b.PageSize(0.2, 0.2, 1000);
  quillon::KpzPattern pattern;
  pattern.id = 3;
  pattern.rows = 8;
  pattern.bytesPerRow = 4;
  pattern.width = 8;
  pattern.colours = {0x000000, 0xFFFFFF};
  pattern.pixels.assign(32, 0x55);
  b.PatternTableDeclaration(4);
  b.BeginPage()
      .SheetBackground(1000, 0.2, 0.2, 0x00EEEEEE)
      .PatternDefinition(pattern)
      .FillColour(1, KpzBuilder::Rgb(10, 20, 30))
      .PolygonSet(3, {{{0, 0}, {50, 0}, {50, 50}}, {{60, 60}, {80, 60}, {70, 90}}})
      .FillStyle(3)
      .PatternFore(1, KpzBuilder::Rgb(255, 0, 0))
      .PatternBack(0, KpzBuilder::Rgb(0, 255, 0))
      .PatternAngle(45)
      .ShortPolygonSet(2, {{{-1, -2}, {30, 40}, {0, 40}}})
      .FillStyle(2)
      .Rectangles({{1, 2, 30, 40}, {50, 60, 70, 80}})
      .FillStyle(0)
      .EndPage();
  return b;
}

KpzBuilder Shapes() {
  KpzBuilder b;
  quillon::KpzShape closed{1, {{4, {{1, 1}, {20, 2}, {20, 20}}, {}}, {5, {{3, 3}, {9, 9}}, {}}}};
  quillon::KpzShape curve{0, {{6, {{0, 0}, {10, 20}, {20, 20}, {30, 0}}, {}}, {7, {}, {}}}};
  b.BeginPage().CompoundShape(2, {closed, curve}).CompoundShape(0, {closed}).EndPage();
  return b;
}

KpzBuilder Text() {
  KpzBuilder b;
  b.PlotInfo(1, 0.5, 0.25, 7, "sheet one");
  b.BeginPage()
      .PlotInfo2(2, 1.0, 2.0, 3, "sheet two")
      .Font("Arial", 120)
      .Text(1, {{5, 5}, {15, 5}, {25, 5}}, "abc")
      .Text(0, {{5, 50}}, "line")
      .WideText(1, {{5, 90}, {15, 90}}, u"\u00e9z")
      .EndPage();
  return b;
}

KpzBuilder Rasters(std::uint16_t format, const Bytes& data) {
  KpzBuilder b;
  b.PageSize(0.1, 0.1, 1000);
  quillon::KpzRasterHeader h;
  h.format = format;
  h.rows = 4;
  h.bytesPerRow = 2;
  h.width = 16;
  h.x1 = 0;
  h.y1 = 0;
  h.x2 = 16;
  h.y2 = 4;
  h.colours = {0x000000, 0xFFFFFF};
  const std::uint32_t level = b.LevelData(data);
  b.BeginPage()
      .RasterHeader(h)
      .RasterData(data)
      .RasterLevels({{8, 2, static_cast<std::int32_t>(level)}})
      .EndPage();
  return b;
}

KpzBuilder StateAndSkipped() {
  KpzBuilder b;
  const std::uint8_t payload[] = {1, 2, 3, 4};
  b.Table47(1, {7, 7}).Table49(2, {1, 2, 3, 4}).Table35(1, {1, 2, 3, 4}).Table45(1, 2);
  b.BeginPage()
      .Colour28(0x123456)
      .Colour31(0x654321)
      .Value32(-5)
      .Value33(9)
      .Record34(2)
      .Record38(3)
      .Record41(2, 3)
      .Skip(quillon::opcode::Record9)
      .Skip(quillon::opcode::Record10)
      .Skip(quillon::opcode::Record13)
      .Skip(quillon::opcode::Record17)
      .Skip(quillon::opcode::Record43)
      .Skip(quillon::opcode::Record40, 3)
      .Skip(quillon::opcode::Record62, 1)
      .LengthPrefixed(64, payload)
      .LengthPrefixed(200, payload)
      .Polyline({{0, 0}, {1, 1}})
      .EndPage();
  b.BeginPage().EndPage();
  return b;
}

bool Write(const std::string& folder, const std::string& name, const Bytes& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_open_draw_seeds OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const Bytes runs = {3, 5, 4, 4, 8, 8, 2, 6};
  const Bytes packed = {0x02, 0xAA, 0xBB, 0xFD, 0x00, 0x01, 0xFF, 0x00};
  const Bytes group4 = {0x00, 0x10, 0x00, 0x10, 0x00, 0x10};
  const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xD9};

  KpzBuilder negative = Lines();
  negative.BeginPage().LengthPrefixed(70, {}, -8).EndPage();
  KpzBuilder lyingPages = Lines();
  lyingPages.PageTableEntries({0x7FFFFF00, 10});

  const std::vector<std::pair<std::string, Bytes>> seeds = {
      {"plain_lines.kpz", Lines().Build()},
      {"wrapped_two_pages.kpz", Wrapped().Build()},
      {"fills_patterns.kpz", Fills().Build()},
      {"compound_shapes.kpz", Shapes().Build()},
      {"text_plot_info.kpz", Text().Build()},
      {"raster_plain.kpz", Rasters(0x0000, runs).Build()},
      {"raster_run_pairs.kpz", Rasters(0x0001, runs).Build()},
      {"raster_packed.kpz", Rasters(0x0004, packed).Build()},
      {"raster_group4.kpz", Rasters(0x1000, group4).Build()},
      {"raster_jpeg.kpz", Rasters(0x0008, jpeg).Build()},
      {"tables_skipped_records.kpz", StateAndSkipped().Build()},
      {"broken_negative_length.kpz", negative.Build()},
      {"broken_page_offsets.kpz", lyingPages.Build()},
      {"broken_truncated.kpz", Fills().TruncateAt(300).Build()},
  };
  for (const auto& [name, bytes] : seeds) {
    if (!Write(folder, name, bytes)) {
      std::fprintf(stderr, "make_open_draw_seeds: cannot write %s/%s\n", folder.c_str(),
                   name.c_str());
      return 1;
    }
  }
  std::printf("%zu seeds written to %s\n", seeds.size(), folder.c_str());
  return 0;
}
