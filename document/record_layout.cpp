#include "document/record_layout.h"

#include "document/opcodes.h"

namespace quillon {

namespace {

// Fails the reader on purpose: a nonsense value ends the record like a truncation does.
bool Refuse(ByteReader& r) {
  r.seek(UINT64_MAX);
  return false;
}

// Skips count × size bytes; count and size are at most 2^32, so the product fits 64 bits.
bool SkipItems(ByteReader& r, std::uint64_t count, std::uint64_t size) {
  return r.skip(count * size);
}

// A signed 32-bit count or length; a negative one is refused.
bool ReadNonNegative(ByteReader& r, std::uint64_t& value) {
  const std::int32_t v = r.i32();
  if (!r.ok()) return false;
  if (v < 0) return Refuse(r);
  value = static_cast<std::uint64_t>(v);
  return true;
}

// Text records: len; flags; u16 n; n positions or one; n characters of `charSize` bytes.
bool SkipText(ByteReader& r, std::uint64_t charSize) {
  r.skip(4);
  const std::uint8_t flags = r.u8();
  const std::uint16_t n = r.u16();
  if (!r.ok()) return false;
  if (!SkipItems(r, (flags & 1) ? n : 1, 8)) return false;
  return SkipItems(r, n, charSize);
}

// Compound shape parts are stepped over by their partLen, which counts the bytes after it.
// A part whose partLen cannot hold its own points is refused: a reader of the points would
// otherwise leave the part somewhere else than a reader that steps over it.
bool SkipCompoundPart(ByteReader& r) {
  const std::uint8_t type = r.u8();
  if (!r.ok()) return false;
  if (type != 4 && type != 5 && type != 6) return true;
  std::uint64_t partLen = 0;
  if (!ReadNonNegative(r, partLen)) return false;
  // Peek at n without moving: the part is left by partLen, not by its points.
  ByteReader look(r.bytes(), r.position());
  std::uint64_t points = 0;
  if (type == 4) {
    points = 4 + 8ull * look.u32();
  } else if (type == 5) {
    points = 2 + 4ull * look.u16();
  } else {
    look.skip(1);
    points = 5 + 8ull * look.u32();
  }
  if (!look.ok() || partLen < points) return Refuse(r);
  return r.skip(partLen);
}

bool SkipCompoundShape(ByteReader& r) {
  r.skip(4 + 1);
  std::uint64_t shapes = 0;
  if (!ReadNonNegative(r, shapes)) return false;
  for (std::uint64_t s = 0; s < shapes; ++s) {
    r.skip(2);
    std::uint64_t parts = 0;
    if (!ReadNonNegative(r, parts)) return false;
    // Every part takes at least its type byte, so a huge count ends at the file's end.
    for (std::uint64_t p = 0; p < parts; ++p)
      if (!SkipCompoundPart(r)) return false;
  }
  return r.ok();
}

// Opcode 7 (32-bit) and 8 (16-bit): skipped; flags; polygon count; vertex counts; vertices.
bool SkipPolygonSet(ByteReader& r, bool wide) {
  r.skip(4 + 1);
  std::uint64_t polygons = 0;
  if (wide) {
    if (!ReadNonNegative(r, polygons)) return false;
  } else {
    polygons = r.u16();
  }
  std::uint64_t vertices = 0;
  for (std::uint64_t i = 0; i < polygons; ++i) {
    std::uint64_t n = 0;
    if (wide) {
      if (!ReadNonNegative(r, n)) return false;
    } else {
      n = r.u16();
    }
    if (!r.ok()) return false;
    vertices += n;  // at most 2^31 polygons of 2^31 vertices: no overflow
  }
  return SkipItems(r, vertices, wide ? 8 : 4);
}

// Opcode 36: skipped; id; two values; rows, bytes per row, width; format; C; colours; pixels.
bool SkipPatternDefinition(ByteReader& r) {
  r.skip(4 + 2 + 8);
  std::uint64_t rows = 0, bytesPerRow = 0, width = 0;
  if (!ReadNonNegative(r, rows) || !ReadNonNegative(r, bytesPerRow) || !ReadNonNegative(r, width))
    return false;
  r.skip(2);
  const std::uint16_t colours = r.u16();
  if (!SkipItems(r, colours == 0 ? 1 : colours, 4)) return false;
  return SkipItems(r, rows, bytesPerRow);
}

// Opcode 15: flags, two colours, three fixed values, placement, box, rows/bpr/width, format,
// C, then max(C, 1) colours.
bool SkipRasterHeader(ByteReader& r) {
  r.skip(1 + 8 + 12 + 8 + 16 + 12 + 2);
  const std::uint16_t colours = r.u16();
  if (!r.ok()) return false;
  return SkipItems(r, colours == 0 ? 1 : colours, 4);
}

bool IsLengthPrefixedOp(std::uint8_t op) {
  switch (op) {
    case opcode::HeaderRecord:
    case opcode::IndexRecord:
    case opcode::Table35:
    case opcode::PatternTableDeclaration:
    case opcode::LineStyleTable:
    case opcode::Record40:
    case opcode::Record42:
    case opcode::Record44:
    case opcode::Table45:
    case opcode::Record46:
    case opcode::Table47:
    case opcode::Table49:
    case opcode::PageTable:
    case opcode::Record51:
    case opcode::Record52:
    case opcode::Record53:
    case opcode::Record62:
      return true;
    default:
      return op >= 64;
  }
}

bool ConsumeOperands(std::uint8_t op, ByteReader& r) {
  if (IsLengthPrefixedOp(op)) return SkipLengthPrefixed(r);
  switch (op) {
    case opcode::EndPageRecord:
      return true;
    case opcode::PlotInfoRecord:
      return r.skip(527);
    case opcode::PlotInfoRecord2:
      return r.skip(535);
    case opcode::PolylineRecord:
      r.skip(4);
      return SkipItems(r, r.u32(), 8);
    case opcode::ShortPolylineRecord:
      r.skip(4);
      return SkipItems(r, r.u16(), 4);
    case opcode::BezierRecord:
      r.skip(4 + 1);
      return SkipItems(r, r.u32(), 8);
    case opcode::PolygonSetRecord:
      return SkipPolygonSet(r, true);
    case opcode::ShortPolygonSetRecord:
      return SkipPolygonSet(r, false);
    case opcode::Record9:
    case opcode::Record10:
      return r.skip(9);
    case opcode::PenTouchRecord:
    case opcode::Record17:
      return r.skip(16);
    case opcode::RectangleSetRecord: {
      r.skip(1);
      std::uint64_t n = 0;
      return ReadNonNegative(r, n) && SkipItems(r, n, 16);
    }
    case opcode::Record13:
      return r.skip(5);
    case opcode::CompoundShapeRecord:
      return SkipCompoundShape(r);
    case opcode::RasterHeaderRecord:
      return SkipRasterHeader(r);
    case opcode::TextRecord:
      return SkipText(r, 1);
    case opcode::WideTextRecord:
      return SkipText(r, 2);
    case opcode::LineWidthRecord:
    case opcode::OutlineWidthRecord:
    case opcode::LineColourRecord:
    case opcode::OutlineColourRecord:
    case opcode::Colour28Record:
    case opcode::Colour31Record:
    case opcode::Value32Record:
    case opcode::Record43:
      return r.skip(4);
    case opcode::LineJoinRecord:
    case opcode::OutlineJoinRecord:
    case opcode::LineCapRecord:
      return r.skip(1);
    case opcode::LineStyleRecord:
    case opcode::OutlineStyleRecord:
    case opcode::FillStyleRecord:
    case opcode::Value33Record:
      return r.skip(2);
    case opcode::PatternForeRecord:
    case opcode::PatternBackRecord:
    case opcode::FillColourRecord:
    case opcode::LineModeColourRecord:
    case opcode::OutlineModeColourRecord:
      return r.skip(5);
    case opcode::Record34: {
      r.skip(4 + 4);
      std::uint64_t n = 0;
      return ReadNonNegative(r, n) && SkipItems(r, n, 16);
    }
    case opcode::PatternDefinitionRecord:
      return SkipPatternDefinition(r);
    case opcode::Record38:
      r.skip(4 + 2);
      return SkipItems(r, r.u16(), 4);
    case opcode::Record41: {
      r.skip(4 + 2 + 2);
      std::uint64_t a = 0, b = 0;
      if (!ReadNonNegative(r, a) || !ReadNonNegative(r, b)) return false;
      r.skip(4 + 2 + 2 + 4);
      return SkipItems(r, a, b);
    }
    case opcode::FontRecord:
      return r.skip(4 + 2 + 60);
    case opcode::RasterDataRecord:
      return SkipLengthPrefixed(r);  // int32 L, then L bytes of raster data
    case opcode::PatternAngleRecord:
      return r.skip(12);
    case opcode::RasterLevelsRecord:
      r.skip(4);
      return SkipItems(r, r.u8(), 12);
    case opcode::SheetBackgroundRecord:
      return r.skip(4 + 8 + 16 + 8 + 8 + 4);
    default:
      return Refuse(r);  // not reached: every opcode below 64 is listed
  }
}

}  // namespace

bool IsLengthPrefixed(std::uint8_t op) { return IsLengthPrefixedOp(op); }

bool SkipLengthPrefixed(ByteReader& r) {
  std::uint64_t len = 0;
  return ReadNonNegative(r, len) && r.skip(len);
}

bool ConsumeRecord(std::uint8_t op, ByteReader& r) {
  if (!r.ok()) return false;
  // A failed reader still "skips" 0 bytes, so the result also asks ok().
  return ConsumeOperands(op, r) && r.ok();
}

}  // namespace quillon
