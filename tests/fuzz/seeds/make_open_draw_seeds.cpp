// Writes the seed corpus of the open_draw fuzz target: small KpzBuilder plots that together
// use every record type, every raster format, both outer forms and every table, and files
// broken the ways real ones break: cut short anywhere, tables pointing into each other or into
// records, counts and lengths that lie, index records that disagree with the file, wrappers of
// odd sizes.
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
  quillon::KpzShape closed{1, {{4, {{1, 1}, {20, 2}, {20, 20}}, {}, {}}, {5, {{3, 3}, {9, 9}}, {}, {}}}};
  quillon::KpzShape curve{0, {{6, {{0, 0}, {10, 20}, {20, 20}, {30, 0}}, {}, {}}, {7, {}, {}, {}}}};
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

KpzBuilder Rasters(std::uint16_t format, const Bytes& data, std::int32_t rows = 4) {
  KpzBuilder b;
  b.PageSize(0.1, 0.1, 1000);
  quillon::KpzRasterHeader h;
  h.format = format;
  h.rows = rows;
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

// A raster drawn from three levels, the reduced ones stored outside any record.
KpzBuilder RasterLevels(std::uint16_t format, const Bytes& data) {
  KpzBuilder b;
  b.PageSize(0.1, 0.1, 1000);
  quillon::KpzRasterHeader h;
  h.format = format;
  h.rows = 8;
  h.bytesPerRow = 4;
  h.width = 32;
  h.x2 = 32;
  h.y2 = 8;
  h.colours = {0x000000, 0xFFFFFF};
  const auto half = static_cast<std::int32_t>(b.LevelData(data));
  const auto quarter = static_cast<std::int32_t>(b.LevelData(data));
  b.BeginPage()
      .RasterHeader(h)
      .RasterData(data)
      .RasterLevels({{16, 4, half}, {8, 2, quarter}, {4, 1, quarter}})
      .EndPage();
  b.BeginPage().RasterHeader(h).RasterData(data).EndPage();
  return b;
}

// Records whose counts promise more than the record or the file holds.
KpzBuilder LyingCounts() {
  KpzBuilder b = Lines();
  const std::uint16_t style = b.AddLineStyleBits({0x00010000, 0x00020000}, 65535);
  quillon::KpzRasterHeader h;
  h.format = 0x1000;
  h.rows = 0x7FFFFFFF;
  h.bytesPerRow = 0x7FFFFFFF;
  h.width = 0x7FFFFFFF;
  h.x2 = 100;
  h.y2 = 100;
  h.colours = {0, 0xFFFFFF};
  b.Table35(0x7FFFFFFF).Table47(65535).Table49(65535);
  b.BeginPage()
      .LineStyle(style)
      // A polyline of 2^31-1 points with two of them present, then one of 3 declared in 2.
      .Raw({quillon::opcode::PolylineRecord, 20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0, 2, 0,
            0, 0, 3, 0, 0, 0, 4, 0, 0, 0})
      .Raw({quillon::opcode::ShortPolylineRecord, 6, 0, 0, 0, 3, 0, 1, 0, 2, 0})
      .Record34(0x7FFFFFFF)
      .Record41(0x10000, 0x10000)
      .Record41(-1, 8)
      .RasterHeader(h)
      .RasterData(Bytes{0, 0x10, 0, 0x10})
      .EndPage();
  return b;
}

// A compound part whose bytes after its points read as another part when stepped by counts.
KpzBuilder CompoundTrailing() {
  KpzBuilder b;
  quillon::KpzCompoundPart a{4, {{1, 1}, {2, 2}, {3, 3}}, {}, {4, 0, 0, 0, 0, 2, 0, 0, 0}};
  quillon::KpzCompoundPart c{5, {{5, 5}}, {}, {}};
  quillon::KpzCompoundPart d{6, {{0, 0}, {1, 2}, {2, 2}, {3, 0}}, -1, {}};
  b.BeginPage().CompoundShape(1, {{1, {a, c}}, {0, {d}}}).Polyline({{0, 0}, {9, 9}}).EndPage();
  return b;
}

void AddSeed(std::vector<std::pair<std::string, Bytes>>& seeds, std::string name, Bytes bytes) {
  seeds.emplace_back(std::move(name), std::move(bytes));
}

// Files cut one byte before, at and after each page's start and each table, and at the index.
void AddCuts(std::vector<std::pair<std::string, Bytes>>& seeds, const std::string& stem,
             const KpzBuilder& b) {
  const Bytes whole = b.Build();
  const quillon::KpzBuiltLayout layout = b.Layout();
  std::vector<std::size_t> marks;
  for (std::uint32_t page : layout.pages) marks.push_back(layout.dataStart + page);
  for (std::uint32_t table : {layout.pageTable, layout.lineStyleTable, layout.patternTable,
                              layout.table47, layout.index}) {
    if (table != 0) marks.push_back(layout.dataStart + table);
  }
  marks.push_back(whole.size() - 4);  // inside the trailer
  for (std::size_t mark : marks) {
    for (std::size_t cut : {mark - 1, mark + 1}) {
      if (cut == 0 || cut >= whole.size()) continue;
      AddSeed(seeds, stem + "_cut_" + std::to_string(cut) + ".kpz",
              Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)));
    }
  }
}

// Index records that disagree with the file: each table offset aimed at another table or at
// a record, and fields that lie about the index itself.
void AddIndexLies(std::vector<std::pair<std::string, Bytes>>& seeds) {
  const quillon::KpzBuiltLayout layout = StateAndSkipped().Layout();
  const std::uint32_t firstPage = layout.pages.front();
  struct Lie {
    const char* name;
    void (*apply)(quillon::KpzIndexFields&, const quillon::KpzBuiltLayout&, std::uint32_t);
  };
  const Lie lies[] = {
      {"page_table_at_header", [](auto& f, auto&, std::uint32_t) { f.pageTable = 0; }},
      {"page_table_at_page", [](auto& f, auto&, std::uint32_t page) { f.pageTable = page; }},
      {"table47_at_table49", [](auto& f, auto& l, std::uint32_t) { f.table47 = l.table49; }},
      {"table35_at_index", [](auto& f, auto& l, std::uint32_t) { f.table35 = l.index; }},
      {"line_styles_at_page_table",
       [](auto& f, auto& l, std::uint32_t) { f.lineStyleTable = l.pageTable; }},
      {"pattern_table_past_end", [](auto& f, auto&, std::uint32_t) { f.patternTable = 0xFFFFFFF0; }},
      {"header_at_page", [](auto& f, auto&, std::uint32_t page) { f.headerOffset = page; }},
      {"raster_count_lies", [](auto& f, auto&, std::uint32_t) { f.rasterCount = 0xFFFFFFFF; }},
      {"index_length_short", [](auto& f, auto&, std::uint32_t) { f.length = 3; }},
      {"index_length_long", [](auto& f, auto&, std::uint32_t) { f.length = 0x7FFFFFFF; }},
      {"trailer_too_big", [](auto& f, auto&, std::uint32_t) { f.trailer = 0xFFFFFFFF; }},
      {"trailer_too_small", [](auto& f, auto&, std::uint32_t) { f.trailer = 5; }},
      {"index_not_an_index", [](auto& f, auto&, std::uint32_t) { f.opcode = 3; }},
      {"index_padded", [](auto& f, auto&, std::uint32_t) { f.padding = 7; }},
  };
  for (const Lie& lie : lies) {
    KpzBuilder b = StateAndSkipped();
    lie.apply(b.index(), layout, firstPage);
    AddSeed(seeds, std::string("broken_index_") + lie.name + ".kpz", b.Build());
  }
  KpzBuilder samePage = StateAndSkipped();
  samePage.PageTableEntries({firstPage, firstPage, firstPage});
  AddSeed(seeds, "broken_pages_all_the_same.kpz", samePage.Build());
  KpzBuilder pagesInTables = StateAndSkipped();
  pagesInTables.PageTableEntries({layout.table47, layout.index, layout.pageTable});
  AddSeed(seeds, "broken_pages_in_tables.kpz", pagesInTables.Build());
  KpzBuilder fewer = StateAndSkipped();
  fewer.PageCountOverride(9);
  AddSeed(seeds, "broken_page_count_lies.kpz", fewer.Build());
  KpzBuilder noTable = Lines();
  noTable.OmitPageTable();
  AddSeed(seeds, "broken_no_page_table.kpz", noTable.Build());
}

// Wrappers with odd block sizes, a remainder, lying counts and sizes.
void AddWrappers(std::vector<std::pair<std::string, Bytes>>& seeds) {
  struct Variant {
    const char* name;
    void (*apply)(quillon::KpzWrapperLayout&);
  };
  const Variant variants[] = {
      {"odd_blocks", [](auto& w) { w.blockSizes = {1, 3, 0, 7}; w.remainder = 3; }},
      {"eleven_blocks", [](auto& w) { w.blockSizes.assign(11, 1); }},
      {"block_count_lies", [](auto& w) { w.blockCount = 0xFFFFFFFF; }},
      {"extra_count_lies", [](auto& w) { w.extraCount = 1000; }},
      {"size_lies", [](auto& w) { w.wrapperSize = 0xFFFFFFFF; }},
      {"remainder_wraps", [](auto& w) { w.remainder = 0xFFFFFFFD; }},
      {"long_strings", [](auto& w) { w.strings.fill(std::string(300, 'w')); }},
  };
  for (const Variant& v : variants) {
    quillon::KpzWrapperLayout w;
    w.strings[0] = "plot";
    w.blockSizes = {6, 3};
    w.extras = {1, 2};
    v.apply(w);
    KpzBuilder b;
    b.Wrapped(w).PageSize(0.5, 0.25, 400);
    b.BeginPage().Polyline({{7, 8}, {90, 60}}).EndPage();
    AddSeed(seeds, std::string("broken_wrapper_") + v.name + ".kpz", b.Build());
  }
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
  const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x4A, 0x46, 0xFF, 0xD9};
  const Bytes stored(8, 0x5A);

  KpzBuilder negative = Lines();
  negative.BeginPage().LengthPrefixed(70, {}, -8).EndPage();
  KpzBuilder lyingPages = Lines();
  lyingPages.PageTableEntries({0x7FFFFF00, 10});

  std::vector<std::pair<std::string, Bytes>> seeds = {
      {"plain_lines.kpz", Lines().Build()},
      {"wrapped_two_pages.kpz", Wrapped().Build()},
      {"fills_patterns.kpz", Fills().Build()},
      {"compound_shapes.kpz", Shapes().Build()},
      {"text_plot_info.kpz", Text().Build()},
      {"raster_plain.kpz", Rasters(0x0000, runs).Build()},
      {"raster_run_pairs.kpz", Rasters(0x0001, runs).Build()},
      {"raster_packed.kpz", Rasters(0x0004, packed).Build()},
      {"raster_group4.kpz", Rasters(0x1000, group4).Build()},
      {"raster_jpeg.kpz", Rasters(0x2000, jpeg).Build()},
      {"tables_skipped_records.kpz", StateAndSkipped().Build()},
      {"broken_negative_length.kpz", negative.Build()},
      {"broken_page_offsets.kpz", lyingPages.Build()},
      {"broken_truncated.kpz", Fills().TruncateAt(300).Build()},
  };
  // Every raster format the reader tells apart, whole and with levels.
  const std::pair<std::uint16_t, const Bytes*> formats[] = {
      {0x8010, &stored}, {0x8020, &stored}, {0x8040, &stored}, {0x8080, &stored},
      {0x8000, &stored}, {0x0001, &runs},   {0x0002, &packed}, {0x0004, &packed},
      {0x4002, &packed}, {0x4004, &packed}, {0x5000, &group4}, {0x1000, &group4},
      {0x2000, &jpeg},   {0x6000, &jpeg},   {0x0000, &stored},
  };
  for (const auto& [format, data] : formats) {
    char name[48];
    std::snprintf(name, sizeof name, "raster_format_%04x.kpz", format);
    AddSeed(seeds, name, Rasters(format, *data).Build());
    std::snprintf(name, sizeof name, "raster_levels_%04x.kpz", format);
    AddSeed(seeds, name, RasterLevels(format, *data).Build());
  }
  AddSeed(seeds, "broken_lying_counts.kpz", LyingCounts().Build());
  AddSeed(seeds, "broken_compound_trailing.kpz", CompoundTrailing().Build());
  AddSeed(seeds, "broken_raster_rows_negative.kpz", Rasters(0x0001, runs, -4).Build());
  AddCuts(seeds, "broken_tables", StateAndSkipped());
  AddCuts(seeds, "broken_wrapped", Wrapped());
  AddCuts(seeds, "broken_text", Text());
  AddIndexLies(seeds);
  AddWrappers(seeds);
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
