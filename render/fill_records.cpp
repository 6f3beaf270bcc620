#include "render/fill_records.h"

#include <string>
#include <vector>

#include "document/kpz_values.h"
#include "document/opcodes.h"
#include "render/setup_mapping.h"
#include "render/vector_records.h"

namespace quillon {

// The fill brush, pattern brushes and the Polygon/PolyPolygon/Rectangle calls belong to the
// area-fill work that follows; until then these records are read exactly, keep the state
// they own, and report what they read to the device as notes.

bool HandlePolygonSet(DrawContext& ctx, KpzDocument& doc, std::uint8_t op, ByteReader& in) {
  const bool wide = op == opcode::PolygonSetRecord;
  const int width = wide ? kPoint32 : kPoint16;
  in.skip(4);
  const std::uint8_t flags = in.u8();
  const std::int64_t polygons = wide ? in.i32() : in.u16();
  if (!in.ok() || polygons < 0) return false;
  // The counts must be in the file before the array is sized from them.
  const std::uint64_t countBytes = static_cast<std::uint64_t>(polygons) * (wide ? 4 : 2);
  if (!in.has(countBytes)) return in.skip(countBytes);
  std::vector<std::int32_t> counts(static_cast<std::size_t>(polygons));
  std::uint64_t total = 0;
  for (auto& count : counts) {
    count = wide ? in.i32() : in.u16();
    if (count < 0) return false;
    total += static_cast<std::uint64_t>(count);
  }
  if (!in.has(PointBytes(total, width))) return in.skip(PointBytes(total, width));
  if (!ctx.EnsurePointCapacity(total)) return false;
  auto points = ctx.points(static_cast<std::size_t>(total));
  if (!ReadPoints(in, points, width, doc.rotation, ctx.pageDots())) return false;
  if (doc.targetDc) {
    std::string list;
    for (std::size_t i = 0; i < counts.size(); ++i)
      list += (i ? "," : "") + std::to_string(counts[i]);
    doc.targetDc->Note(PointsNote(
        "polygon-set flags=" + std::to_string(flags) + " counts=[" + list + "]", points));
  }
  return true;
}

bool HandleRectangles(DrawContext& ctx, KpzDocument& doc, ByteReader& in) {
  in.skip(1);
  const std::int32_t count = in.i32();
  if (!in.ok() || count < 0) return false;
  if (!in.has(PointBytes(2ull * static_cast<std::uint64_t>(count), kPoint32)))
    return in.skip(PointBytes(2ull * static_cast<std::uint64_t>(count), kPoint32));
  if (!ctx.EnsurePointCapacity(2)) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    auto corners = ctx.points(2);
    if (!ReadPoints(in, corners, kPoint32, doc.rotation, ctx.pageDots())) return false;
    if (doc.targetDc) doc.targetDc->Note(PointsNote("rectangle", corners));
  }
  return true;
}

bool HandlePatternDefinition(DrawContext&, KpzDocument& doc, ByteReader& in) {
  in.skip(4);
  const std::uint16_t id = in.u16();
  in.skip(8);
  const std::int32_t rows = in.i32();
  const std::int32_t bytesPerRow = in.i32();
  const std::int32_t width = in.i32();
  const std::uint16_t format = in.u16();
  const std::uint16_t colours = in.u16();
  if (!in.ok() || rows < 0 || bytesPerRow < 0) return false;
  in.skip(4ull * (colours == 0 ? 1 : colours));
  in.skip(static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(bytesPerRow));
  if (!in.ok()) return false;
  if (doc.targetDc)
    doc.targetDc->Note("pattern id=" + std::to_string(id) + " rows=" + std::to_string(rows) +
                       " bytesPerRow=" + std::to_string(bytesPerRow) +
                       " width=" + std::to_string(width) + " format=" + std::to_string(format) +
                       " colours=" + std::to_string(colours));
  return true;
}

bool HandleSheetBackground(DrawContext& ctx, KpzDocument& doc, ByteReader& in) {
  in.skip(4);
  const double resolution = in.f64();
  in.skip(16);
  const double sheetWidth = in.f64();
  const double sheetHeight = in.f64();
  const std::uint32_t colour = in.u32();
  if (!in.ok()) return false;
  doc.fillColour = KpzColourToColorRef(colour);
  doc.fillColourMode = 1;
  doc.fillStyle = 0;
  doc.brushValid = false;
  // The document keeps its resolution as a 16-bit value; hold the file's double in range.
  doc.resolution = static_cast<std::uint16_t>(
      resolution > 0 ? (resolution < 65535.0 ? resolution : 65535.0) : 0.0);
  const std::int64_t w = TruncToInt(resolution * sheetWidth);
  const std::int64_t h = TruncToInt(resolution * sheetHeight);
  const DevicePoint ring[5] = {
      RotatePoint(0, 0, doc.rotation, ctx.pageDots()),
      RotatePoint(0, h, doc.rotation, ctx.pageDots()),
      RotatePoint(w, h, doc.rotation, ctx.pageDots()),
      RotatePoint(w, 0, doc.rotation, ctx.pageDots()),
      RotatePoint(0, 0, doc.rotation, ctx.pageDots()),
  };
  if (doc.targetDc) doc.targetDc->Note(PointsNote("sheet-background", ring));
  return true;
}

}  // namespace quillon
