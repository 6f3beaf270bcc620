#include "render/fill_records.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "base/numeric.h"
#include "document/kpz_values.h"
#include "document/opcodes.h"
#include "render/figure_culling.h"
#include "render/fill_brush.h"
#include "render/line_pens.h"
#include "render/pattern_table.h"

namespace quillon {

namespace {

constexpr std::uint8_t kOutline = 1, kFill = 2;
constexpr std::uint16_t kFirstPatternStyle = 7;
constexpr std::uint64_t kMaxSetPoints = std::uint64_t{1} << 40;

// Restores the brush or pen a record replaced with a stock object.
struct Reselect {
  Device* dc = nullptr;
  ObjectId brush = kNoObject, pen = kNoObject;
  ~Reselect() {
    if (!dc) return;
    if (brush != kNoObject) dc->SelectObject(brush);
    if (pen != kNoObject) dc->SelectObject(pen);
  }
};

}  // namespace

// A record whose vertices cannot be buffered is stepped over by its layout, so the page goes
// on with the next record.
bool HandlePolygonSet(DrawContext& ctx, DrawState& st, std::uint8_t op, ByteReader& in) {
  const bool wide = op == opcode::PolygonSetRecord;
  const int width = wide ? kPoint32 : kPoint16;
  in.skip(4);
  const std::uint8_t flags = in.u8();
  const std::int64_t polygons = wide ? in.i32() : in.u16();
  if (!in.ok() || polygons < 0) return false;
  // The counts must be in the file before anything is sized from them.
  const std::uint64_t countBytes = static_cast<std::uint64_t>(polygons) * (wide ? 4 : 2);
  if (!in.has(countBytes)) return in.skip(countBytes);
  ByteReader scan = in;
  std::uint64_t total = 0;
  for (std::int64_t i = 0; i < polygons; ++i) {
    const std::int64_t count = wide ? scan.i32() : scan.u16();
    if (count < 0) return false;
    total += static_cast<std::uint64_t>(count);
  }
  if (total > kMaxSetPoints) return false;  // more than any file holds
  const std::uint64_t pointBytes = PointBytes(total, width);
  if (!in.has(countBytes + pointBytes)) return in.skip(countBytes + pointBytes);
  std::vector<std::int32_t> counts;
  try {
    counts.resize(static_cast<std::size_t>(polygons));
  } catch (const std::bad_alloc&) {
    return in.skip(countBytes + pointBytes);
  }
  for (auto& count : counts) count = wide ? in.i32() : in.u16();
  if (!ctx.EnsurePointCapacity(total)) return in.skip(pointBytes);
  auto points = ctx.points(static_cast<std::size_t>(total));
  if (!ReadPoints(in, points, width, st.rotation, ctx.pageDots())) return false;
  if (!st.target) return true;
  Device& dc = *st.target;
  const auto n = static_cast<std::uint32_t>(total);  // the capacity check bounds it
  const bool patternPrint = st.printing && st.fill.style >= kFirstPatternStyle;

  Reselect restore{&dc};
  if (flags & kFill) {
    if (!st.fill.valid) SelectFillBrush(ctx, st, n);
    // The tiles are the fill of a printed pattern: the polygon adds at most its outline.
    if (patternPrint) restore.brush = dc.SelectObject(dc.GetStockObject(gdi::kStockNullBrush));
  } else {
    restore.brush = dc.SelectObject(dc.GetStockObject(gdi::kStockNullBrush));
  }
  if (flags & kOutline) {
    if (!st.outline.valid)
      CreateOutlinePen(ctx, st, n);
    else if (ctx.windows9x())
      ctx.dashStepper().DrawPolyline(dc, points);
  } else {
    restore.pen = dc.SelectObject(dc.GetStockObject(gdi::kStockNullPen));
  }
  // ALTERNATE, the DC's default fill mode: inner rings are holes.
  const double edge = std::max(st.line.width, st.outline.width);
  if (!(wide || !patternPrint) || OutsideVisibleArea(st, ctx.windows9x(), points, edge))
    return true;
  std::vector<DevicePoint> cutPoints;
  std::vector<std::int32_t> cutCounts;
  if (!CutFarPolygons(st, points, counts, cutPoints, cutCounts))
    dc.PolyPolygon(points, counts);
  else if (!cutCounts.empty())
    dc.PolyPolygon(cutPoints, cutCounts);
  return true;
}

bool HandleRectangles(DrawContext& ctx, DrawState& st, ByteReader& in) {
  in.skip(1);
  const std::int32_t count = in.i32();
  if (!in.ok() || count < 0) return false;
  const std::uint64_t bytes = PointBytes(2ull * static_cast<std::uint64_t>(count), kPoint32);
  if (!in.has(bytes)) return in.skip(bytes);
  if (!ctx.EnsurePointCapacity(2)) return in.skip(bytes);
  for (std::int32_t i = 0; i < count; ++i) {
    auto corners = ctx.points(2);
    if (!ReadPoints(in, corners, kPoint32, st.rotation, ctx.pageDots())) return false;
    if (!st.target) continue;
    if (!st.fill.valid) SelectFillBrush(ctx, st, 2);
    st.target->Rectangle(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
  }
  return true;
}

bool HandlePatternDefinition(DrawContext&, DrawState& st, ByteReader& in) {
  in.skip(4);
  PatternRecord record;
  record.id = in.u16();
  record.value1 = in.i32();
  record.value2 = in.i32();
  record.rows = in.i32();
  record.bytesPerRow = in.i32();
  record.width = in.i32();
  record.format = in.u16();
  const std::uint16_t colours = in.u16();
  if (!in.ok() || record.rows < 0 || record.bytesPerRow < 0) return false;
  // With no colours one colour value is still there, and means nothing.
  const auto colourBytes = in.take_bytes(4ull * (colours == 0 ? 1 : colours));
  if (colours != 0) record.colours = colourBytes;
  record.pixels = in.take_bytes(static_cast<std::uint64_t>(record.rows) *
                                static_cast<std::uint64_t>(record.bytesPerRow));
  if (!in.ok()) return false;
  AddPattern(st, record);  // a pattern the heap cannot hold stays undefined
  return true;
}

bool HandleSheetBackground(DrawContext& ctx, DrawState& st, ByteReader& in) {
  in.skip(4);
  const double resolution = in.f64();
  in.skip(16);
  const double sheetWidth = in.f64();
  const double sheetHeight = in.f64();
  const std::uint32_t colour = in.u32();
  if (!in.ok()) return false;
  st.fill.colour = KpzColourToColorRef(colour);
  st.fill.colourMode = 1;
  st.fill.style = 0;
  st.fill.valid = false;
  // Kept with its fraction: page size, true-size prints and the scripts' values use it.
  st.resolution = std::isfinite(resolution) && resolution > 0 ? resolution : 0.0;
  const std::int64_t w = TruncToInt(resolution * sheetWidth);
  const std::int64_t h = TruncToInt(resolution * sheetHeight);
  if (!st.target || !ctx.EnsurePointCapacity(5)) return true;
  auto ring = ctx.points(5);
  ring[0] = RotatePoint(0, 0, st.rotation, ctx.pageDots());
  ring[1] = RotatePoint(0, h, st.rotation, ctx.pageDots());
  ring[2] = RotatePoint(w, h, st.rotation, ctx.pageDots());
  ring[3] = RotatePoint(w, 0, st.rotation, ctx.pageDots());
  ring[4] = ring[0];
  Device& dc = *st.target;
  SelectFillBrush(ctx, st, 5);
  const ObjectId pen = dc.SelectObject(dc.GetStockObject(gdi::kStockNullPen));
  const std::int32_t one[1] = {5};
  dc.PolyPolygon(ring, one);
  if (pen != kNoObject) dc.SelectObject(pen);
  return true;
}

}  // namespace quillon
