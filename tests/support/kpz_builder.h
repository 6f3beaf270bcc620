#pragma once
// KpzBuilder writes KPZ files in memory, well formed or deliberately broken.
//
//   KpzBuilder b;                                  // plain form, 1 m x 1 m at 1000 dots/m
//   b.PageSize(0.5, 0.25, 4000);
//   b.BeginPage()
//       .LineColour(KpzBuilder::Rgb(255, 0, 0))
//       .Polyline({{0, 0}, {100, 100}})
//       .EndPage();
//   std::vector<std::uint8_t> file = b.Build();
//
// Layout of a built file: [wrapper] header record, the records in the order written (a page
// is the run of records from BeginPage on), line-style definitions, tables 50 39 37 47 49 35
// 45 (those that exist), the index record. Build() computes every length, count and offset;
// the *Override setters and IndexFields replace single values to make broken files.
// Offsets taken and returned count from the data start, like the offsets inside the file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "render/device.h"

namespace quillon {

struct KpzHeaderFields {
  std::int32_t headerWord = 0;
  std::uint32_t headerValue1 = 0;  // KpzFixed bits
  std::uint32_t pageWidth = 0x00010000;
  std::uint32_t pageHeight = 0x00010000;
  std::uint32_t headerValue2 = 0;
  std::int16_t headerShort = 0;
  std::uint16_t resolution = 1000;
  std::string versionText = "KPZ test";  // at most 32 bytes are written
  std::uint8_t opcode = 0;               // anything else: "no header here"
  std::uint32_t length = 664;            // the plain-form test looks at this field
};

struct KpzWrapperLayout {
  std::array<std::string, 9> strings;
  std::vector<std::uint32_t> blockSizes;  // blocks are written as that many filler bytes
  std::vector<std::uint32_t> extras;
  std::uint32_t remainder = 0;               // r; not 0: (r + 4) mod 2^32 filler bytes after extras
  std::optional<std::uint32_t> wrapperSize;  // else the value that makes the skip rule give r
  std::optional<std::uint32_t> blockCount;   // else blockSizes.size()
  std::optional<std::uint32_t> extraCount;   // else extras.size()
};

// Values of the index record; unset ones are computed by Build().
struct KpzIndexFields {
  std::optional<std::uint8_t> opcode;
  std::optional<std::uint32_t> length;       // the len field
  std::optional<std::uint32_t> trailer;      // the last 4 bytes of the file (indexSize)
  std::optional<std::uint32_t> rasterCount;  // else the number of raster headers written
  std::optional<std::uint32_t> headerOffset, pageTable, table47, table49, table35, lineStyleTable,
      patternTable, table45;
  std::uint32_t padding = 0;  // extra bytes between the offsets and the trailer
};

struct KpzCompoundPart {
  std::uint8_t type = 4;  // 4, 5 (16-bit points) or 6 (Bézier); others have no operands
  std::vector<DevicePoint> points;
  std::optional<std::int32_t> partLen;  // else the bytes after it up to the part's end
  std::vector<std::uint8_t> trailing = {};  // bytes after the points, inside the part
};

struct KpzShape {
  std::uint8_t closeFlag = 0;
  std::vector<KpzCompoundPart> parts;
};

struct KpzRasterHeader {
  std::uint8_t flags = 0;
  std::uint32_t foreColour = 0, backColour = 0xFFFFFF;
  std::array<std::uint32_t, 3> fixedValues{};
  std::int32_t x = 0, y = 0;
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::int32_t rows = 0, bytesPerRow = 0, width = 0;
  std::uint16_t format = 0;
  std::vector<std::uint32_t> colours;  // C = colours.size(); C = 0 still writes one colour
  std::optional<std::uint16_t> colourCount;
};

struct KpzRasterLevel {
  std::int32_t width = 0, height = 0, offset = 0;  // offset from the start of the file
};

struct KpzPattern {
  std::uint16_t id = 1;
  std::int32_t value1 = 0, value2 = 0;
  std::int32_t rows = 0, bytesPerRow = 0, width = 0;
  std::uint16_t format = 0x8010;
  std::vector<std::uint32_t> colours;  // C = 0 still writes one colour
  std::vector<std::uint8_t> pixels;    // padded with zeros to rows × bytesPerRow (≤ kMaxFill)
};

struct KpzBuiltLayout {
  std::size_t dataStart = 0;  // absolute
  // Offsets from the data start; 0 when the table was not written.
  std::uint32_t pageTable = 0, lineStyleTable = 0, patternTable = 0, table47 = 0, table49 = 0,
                table35 = 0, table45 = 0, index = 0;
  std::vector<std::uint32_t> pages;
  std::vector<std::uint32_t> lineStyleDefinitions;
};

class KpzBuilder {
 public:
  KpzBuilder() = default;

  // File values.
  static std::uint32_t Fixed(double value);  // KpzFixed bits nearest to value (>= 0)
  static std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

  // Outer form and header.
  KpzBuilder& Wrapped(KpzWrapperLayout wrapper);
  KpzBuilder& Header(KpzHeaderFields header);
  KpzBuilder& PageSize(double widthMetres, double heightMetres, std::uint16_t resolution);
  KpzHeaderFields& header() { return header_; }

  // Offset from the data start at which the next record goes.
  std::uint32_t Offset() const;

  // Pages and the page table.
  KpzBuilder& BeginPage();
  KpzBuilder& EndPage();
  KpzBuilder& PageTableEntries(std::vector<std::uint32_t> offsets);  // replaces BeginPage's
  KpzBuilder& PageCountOverride(std::uint16_t count);
  KpzBuilder& OmitPageTable();

  // Tables.
  std::uint16_t AddLineStyle(const std::vector<double>& dashes);  // returns the style number
  std::uint16_t AddLineStyleBits(const std::vector<std::uint32_t>& dashBits,
                                 std::optional<std::uint16_t> countOverride = {});
  KpzBuilder& PatternTableDeclaration(std::uint16_t count);
  KpzBuilder& Table47(std::uint16_t count, std::vector<std::uint8_t> entries = {});
  KpzBuilder& Table49(std::uint16_t count, std::vector<std::uint8_t> entries = {});
  KpzBuilder& Table35(std::int32_t count, std::vector<std::uint8_t> entries = {});
  KpzBuilder& Table45(std::uint16_t first, std::uint16_t second);
  KpzBuilder& Index(KpzIndexFields fields);
  KpzIndexFields& index() { return index_; }

  // Vector records.
  KpzBuilder& Polyline(const std::vector<DevicePoint>& points,
                       std::optional<std::uint32_t> countOverride = {});
  KpzBuilder& ShortPolyline(const std::vector<DevicePoint>& points,
                            std::optional<std::uint16_t> countOverride = {});
  KpzBuilder& Bezier(const std::vector<DevicePoint>& points,
                     std::optional<std::uint32_t> countOverride = {});
  KpzBuilder& CompoundShape(std::uint8_t shapeFlags, const std::vector<KpzShape>& shapes);
  KpzBuilder& PenTouch();

  // State records.
  KpzBuilder& LineWidth(double width);
  KpzBuilder& OutlineWidth(double width);
  KpzBuilder& LineJoin(std::uint8_t join);
  KpzBuilder& OutlineJoin(std::uint8_t join);
  KpzBuilder& LineCap(std::uint8_t cap);
  KpzBuilder& LineStyle(std::uint16_t style);
  KpzBuilder& OutlineStyle(std::uint16_t style);
  KpzBuilder& FillStyle(std::uint16_t style);
  KpzBuilder& LineColour(std::uint32_t kpzColour);
  KpzBuilder& OutlineColour(std::uint32_t kpzColour);
  KpzBuilder& Colour28(std::uint32_t kpzColour);
  KpzBuilder& PatternFore(std::uint8_t mode, std::uint32_t kpzColour);
  KpzBuilder& PatternBack(std::uint8_t mode, std::uint32_t kpzColour);
  KpzBuilder& Colour31(std::uint32_t kpzColour);
  KpzBuilder& Value32(std::int32_t value);
  KpzBuilder& Value33(std::int16_t value);
  KpzBuilder& FillColour(std::uint8_t mode, std::uint32_t kpzColour);
  KpzBuilder& LineModeColour(std::uint8_t mix, std::uint32_t kpzColour);
  KpzBuilder& PatternAngle(double degrees, double unused = 0);
  KpzBuilder& OutlineModeColour(std::uint8_t mix, std::uint32_t kpzColour);

  // Plot information, text and font.
  KpzBuilder& PlotInfo(std::uint8_t byte, double x, double y, std::uint16_t word,
                       const std::string& name);
  KpzBuilder& PlotInfo2(std::uint8_t byte, double x, double y, std::uint16_t word,
                        const std::string& name);
  KpzBuilder& Text(std::uint8_t flags, const std::vector<DevicePoint>& positions,
                   const std::string& text);
  KpzBuilder& WideText(std::uint8_t flags, const std::vector<DevicePoint>& positions,
                       const std::u16string& text);
  KpzBuilder& Font(const std::string& face, std::int32_t height = 0);

  // Fills and patterns.
  KpzBuilder& PolygonSet(std::uint8_t drawFlags,
                         const std::vector<std::vector<DevicePoint>>& polygons);
  KpzBuilder& ShortPolygonSet(std::uint8_t drawFlags,
                              const std::vector<std::vector<DevicePoint>>& polygons);
  KpzBuilder& Rectangles(const std::vector<DeviceRect>& rectangles);
  KpzBuilder& SheetBackground(double resolution, double widthMetres, double heightMetres,
                              std::uint32_t colour);
  KpzBuilder& PatternDefinition(const KpzPattern& pattern);

  // Rasters. LevelData writes a reduced level (byte, int32 length, data) outside any record
  // and returns its offset from the data start.
  KpzBuilder& RasterHeader(const KpzRasterHeader& header);
  KpzBuilder& RasterData(std::span<const std::uint8_t> data);
  KpzBuilder& RasterLevels(const std::vector<KpzRasterLevel>& levels);
  std::uint32_t LevelData(std::span<const std::uint8_t> data);

  // Records consumed without drawing. Their data are zeros; data of more than kMaxFill bytes
  // (or of a negative count) are left out, so a huge count describes bytes the file lacks.
  static constexpr std::uint64_t kMaxFill = 1u << 20;
  KpzBuilder& Record34(std::int32_t count);              // count × 16 bytes
  KpzBuilder& Record38(std::uint16_t count);             // count × 4 bytes
  KpzBuilder& Record41(std::int32_t a, std::int32_t b);  // a × b bytes
  // A well-formed record of a fixed-size opcode (9, 10, 13, 17, 43) filled with zeros, or
  // of a length-prefixed one with `payload` zero bytes.
  KpzBuilder& Skip(std::uint8_t op, std::uint32_t payload = 0);
  KpzBuilder& LengthPrefixed(std::uint8_t op, std::span<const std::uint8_t> payload,
                             std::optional<std::int32_t> lengthOverride = {});
  KpzBuilder& Raw(std::span<const std::uint8_t> bytes);
  KpzBuilder& Raw(std::initializer_list<std::uint8_t> bytes);

  // Cuts the built file to its first `size` bytes.
  KpzBuilder& TruncateAt(std::size_t size);

  std::vector<std::uint8_t> Build() const;
  // Where Build() puts things (the same every time for the same calls).
  KpzBuiltLayout Layout() const;

 private:
  std::vector<std::uint8_t> Assemble(KpzBuiltLayout* layout) const;
  void U8(std::uint8_t v) { body_.push_back(v); }
  void U16(std::uint16_t v);
  void U32(std::uint32_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void F64(double v);
  void Zeros(std::size_t n) { body_.insert(body_.end(), n, 0); }
  void Point32(const DevicePoint& p);
  void Point16(const DevicePoint& p);
  void OpColour(std::uint8_t op, std::uint8_t mode, std::uint32_t colour);
  void PlotInfoBody(std::uint8_t op, std::uint8_t byte, double x, double y, std::uint16_t word,
                    const std::string& name);
  void TextBody(std::uint8_t op, std::uint8_t flags, const std::vector<DevicePoint>& positions,
                std::span<const std::uint8_t> characters);
  void PolygonSetBody(std::uint8_t op, std::uint8_t drawFlags,
                      const std::vector<std::vector<DevicePoint>>& polygons);
  // Writes the len field of a record begun at `start` (the opcode byte): bytes after it.
  void PatchLength(std::size_t start);

  struct RawTable {
    bool present = false;
    std::int32_t count = 0;
    std::vector<std::uint8_t> entries;
  };
  struct LineStyleEntry {
    std::vector<std::uint32_t> dashBits;
    std::optional<std::uint16_t> countOverride;
  };

  std::optional<KpzWrapperLayout> wrapper_;
  KpzHeaderFields header_;
  std::vector<std::uint8_t> body_;  // records after the header
  std::vector<std::uint32_t> pages_;
  std::optional<std::vector<std::uint32_t>> pageEntries_;
  std::optional<std::uint16_t> pageCount_;
  bool pageTable_ = true;
  std::vector<LineStyleEntry> lineStyles_;
  RawTable table37_, table47_, table49_, table35_;
  std::optional<std::array<std::uint16_t, 2>> table45_;
  KpzIndexFields index_;
  std::uint32_t rasterHeaders_ = 0;
  std::optional<std::size_t> truncateAt_;
};

}  // namespace quillon
