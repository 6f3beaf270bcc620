#include "render/vector_records.h"

#include <algorithm>
#include <vector>

#include "document/opcodes.h"
#include "render/figure_culling.h"
#include "render/fill_brush.h"
#include "render/line_pens.h"

namespace quillon {

namespace {

// Reads n points of the given width into the point buffer from index `at`.
bool ReadInto(DrawContext& ctx, const DrawState& st, ByteReader& in, std::uint64_t at,
              std::uint64_t n, int width) {
  return ReadPoints(in, ctx.points(static_cast<std::size_t>(at + n)).subspan(at), width,
                    st.rotation, ctx.pageDots());
}

// Point count of a record about to be read: its points must be in the file before any
// memory is sized from the count.
bool ReserveFor(DrawContext& ctx, ByteReader& in, std::uint64_t n, int width) {
  if (!in.has(PointBytes(n, width))) return in.skip(PointBytes(n, width));
  return ctx.EnsurePointCapacity(n);
}

// A polyline that can show, cut when it reaches far beyond the visible area.
void StrokePolyline(DrawContext& ctx, DrawState& st, std::span<const DevicePoint> points) {
  if (OutsideVisibleArea(st, ctx.windows9x(), points, st.line.width)) return;
  std::vector<std::vector<DevicePoint>> runs;
  if (!CutFarPolyline(st, points, runs)) {
    st.target->Polyline(points);
    return;
  }
  for (const auto& run : runs) st.target->Polyline(run);
}

// A Bezier chain that can show; one reaching far beyond the visible area goes as polylines.
void StrokeBezierChain(DrawContext& ctx, DrawState& st, std::span<const DevicePoint> points) {
  if (OutsideVisibleArea(st, ctx.windows9x(), points, st.line.width)) return;
  std::vector<std::vector<DevicePoint>> runs;
  if (!FlattenFarBezier(st, points, st.line.width, runs)) {
    st.target->PolyBezier(points);
    return;
  }
  for (const auto& run : runs) st.target->Polyline(run);
}

}  // namespace

// On Windows 9x a fresh line pen draws the points itself (stepping the dashes); with a valid
// pen the points go through the stepper so the pattern carries on from the last line.
bool HandlePolyline(DrawContext& ctx, DrawState& st, std::uint8_t op, ByteReader& in) {
  in.i32();  // length, not used: the count says how far the record reaches
  const bool wide = op == opcode::PolylineRecord;
  const std::uint64_t n = wide ? in.u32() : in.u16();
  const int width = wide ? kPoint32 : kPoint16;
  if (!in.ok() || !ReserveFor(ctx, in, n, width) || !ReadInto(ctx, st, in, 0, n, width))
    return false;
  if (!st.target) return true;
  const auto count = static_cast<std::uint32_t>(n);  // the capacity check bounds it
  const auto points = ctx.points(count);
  if (ctx.windows9x()) {
    if (!st.line.valid) {
      CreateLinePen(ctx, st, count);
    } else if (!points.empty()) {
      ctx.dashStepper().DrawPolyline(*st.target, points);
    }
    return true;
  }
  if (!st.line.valid) CreateLinePen(ctx, st, 0);
  StrokePolyline(ctx, st, points);
  return true;
}

// The count of a Bezier chain (1 + 3k) is passed on as read.
bool HandleBezier(DrawContext& ctx, DrawState& st, ByteReader& in) {
  in.i32();
  in.skip(1);
  const std::uint64_t n = in.u32();
  if (!in.ok() || !ReserveFor(ctx, in, n, kPoint32) || !ReadInto(ctx, st, in, 0, n, kPoint32))
    return false;
  if (!st.target) return true;
  if (!st.line.valid) CreateLinePen(ctx, st, 0);
  StrokeBezierChain(ctx, st, ctx.points(static_cast<std::size_t>(n)));
  return true;
}

bool HandlePenTouch(DrawContext& ctx, DrawState& st, ByteReader& in) {
  if (!in.skip(16)) return false;
  if (st.target && !st.line.valid) CreateLinePen(ctx, st, 0);
  return true;
}

namespace {

constexpr std::uint8_t kPart32 = 4, kPart16 = 5, kPartBezier = 6;

// Bytes between a part's length field and its points: the count, and for a Bezier the byte
// before it.
std::uint64_t PartLead(std::uint8_t type) {
  return type == kPart16 ? 2 : type == kPartBezier ? 5 : 4;
}

// First pass: the points of all parts plus the closing one, stepping by each part's length.
// A part whose points do not lie inside its own length is refused, so the count can never
// exceed what the record holds.
bool CountShapePoints(ByteReader scan, std::int32_t parts, bool close, std::uint64_t& total) {
  total = 0;
  for (std::int32_t p = 0; p < parts; ++p) {
    const std::uint8_t type = scan.u8();
    if (!scan.ok()) return false;
    if (type != kPart32 && type != kPart16 && type != kPartBezier) continue;
    const std::int32_t partLen = scan.i32();
    if (!scan.ok() || partLen < 0) return false;
    const std::uint64_t partEnd = scan.position() + static_cast<std::uint64_t>(partLen);
    if (static_cast<std::uint64_t>(partLen) < PartLead(type)) return false;
    if (type == kPartBezier) scan.skip(1);
    std::int64_t n = type == kPart16 ? scan.u16() : scan.i32();
    if (!scan.ok() || n < 0) return false;
    const int width = type == kPart16 ? kPoint16 : kPoint32;
    if (PointBytes(static_cast<std::uint64_t>(n), width) >
        static_cast<std::uint64_t>(partLen) - PartLead(type))
      return false;
    if (!scan.seek(partEnd)) return false;
    total += static_cast<std::uint64_t>(n);
  }
  if (close) ++total;
  return true;
}

}  // namespace

// Each shape is drawn as one polyline or, when filled, one polygon edged with whatever pen
// is selected. Bezier parts are drawn at once as they are read and their points stay in the
// shape's outline too.
bool HandleCompoundShape(DrawContext& ctx, DrawState& st, ByteReader& in) {
  in.i32();
  const std::uint8_t shapeFlags = in.u8();
  const std::int32_t shapes = in.i32();
  if (!in.ok() || shapes < 0) return false;
  const bool filled = (shapeFlags & 2) != 0;
  for (std::int32_t s = 0; s < shapes; ++s) {
    in.skip(1);
    const bool close = (in.u8() & 1) != 0;
    const std::int32_t parts = in.i32();
    if (!in.ok() || parts < 0) return false;
    std::uint64_t total = 0;
    if (!CountShapePoints(in, parts, close, total) || !ctx.EnsurePointCapacity(total)) return false;

    std::uint64_t used = 0;
    for (std::int32_t p = 0; p < parts; ++p) {
      const std::uint8_t type = in.u8();
      if (!in.ok()) return false;
      if (type != kPart32 && type != kPart16 && type != kPartBezier) continue;
      in.i32();
      if (type == kPartBezier) in.skip(1);
      const std::int64_t n = type == kPart16 ? in.u16() : in.i32();
      const int width = type == kPart16 ? kPoint16 : kPoint32;
      // The second pass steps by the counts; it may not outrun what the first pass counted.
      if (!in.ok() || n < 0 || used + static_cast<std::uint64_t>(n) > total) return false;
      if (!ReadInto(ctx, st, in, used, static_cast<std::uint64_t>(n), width)) return false;
      if (type == kPartBezier && st.target) {
        if (!st.line.valid) CreateLinePen(ctx, st, 0);
        StrokeBezierChain(ctx, st, ctx.points(used + n).subspan(static_cast<std::size_t>(used)));
      }
      used += static_cast<std::uint64_t>(n);
    }
    // A shape without points has no first point to repeat.
    if (close && used > 0 && used < total) {
      auto buffer = ctx.points(used + 1);
      buffer[used] = buffer[0];
      ++used;
    }
    if (!st.target) continue;
    const auto count = static_cast<std::uint32_t>(used);
    const auto shape = ctx.points(count);
    if (filled) {
      if (!st.fill.valid) SelectFillBrush(ctx, st, count);
      // Edged with whichever pen is selected.
      const double edge = std::max(st.line.width, st.outline.width);
      if (OutsideVisibleArea(st, ctx.windows9x(), shape, edge)) continue;
      std::vector<DevicePoint> cut;
      std::vector<std::int32_t> counts;
      const std::int32_t one[1] = {static_cast<std::int32_t>(count)};
      if (!CutFarPolygons(st, shape, one, cut, counts))
        st.target->Polygon(shape);
      else if (!counts.empty())
        st.target->Polygon(cut);
    } else {
      if (!st.line.valid) CreateLinePen(ctx, st, 0);
      StrokePolyline(ctx, st, shape);
    }
  }
  return true;
}

}  // namespace quillon
