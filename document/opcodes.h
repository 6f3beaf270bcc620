#pragma once
// Opcode bytes of the display list. Unnamed records of the catalogue are called RecordN.
// Opcodes 64..255 carry a length prefix and have no name.

#include <cstdint>

namespace quillon {

namespace opcode {
enum : std::uint8_t {
  HeaderRecord = 0,
  IndexRecord = 1,
  PlotInfoRecord = 2,
  EndPageRecord = 3,
  PolylineRecord = 4,
  ShortPolylineRecord = 5,
  BezierRecord = 6,
  PolygonSetRecord = 7,
  ShortPolygonSetRecord = 8,
  Record9 = 9,
  Record10 = 10,
  PenTouchRecord = 11,
  RectangleSetRecord = 12,
  Record13 = 13,
  CompoundShapeRecord = 14,
  RasterHeaderRecord = 15,
  TextRecord = 16,
  Record17 = 17,
  LineWidthRecord = 18,
  OutlineWidthRecord = 19,
  LineJoinRecord = 20,
  OutlineJoinRecord = 21,
  LineCapRecord = 22,
  LineStyleRecord = 23,
  OutlineStyleRecord = 24,
  FillStyleRecord = 25,
  LineColourRecord = 26,
  OutlineColourRecord = 27,
  Colour28Record = 28,
  PatternForeRecord = 29,
  PatternBackRecord = 30,
  Colour31Record = 31,
  Value32Record = 32,
  Value33Record = 33,
  Record34 = 34,
  Table35 = 35,
  PatternDefinitionRecord = 36,
  PatternTableDeclaration = 37,
  Record38 = 38,
  LineStyleTable = 39,
  Record40 = 40,
  Record41 = 41,
  Record42 = 42,
  Record43 = 43,
  Record44 = 44,
  Table45 = 45,
  Record46 = 46,
  Table47 = 47,
  FontRecord = 48,
  Table49 = 49,
  PageTable = 50,
  Record51 = 51,
  Record52 = 52,
  Record53 = 53,
  RasterDataRecord = 54,
  FillColourRecord = 55,
  WideTextRecord = 56,
  PlotInfoRecord2 = 57,
  LineModeColourRecord = 58,
  PatternAngleRecord = 59,
  OutlineModeColourRecord = 60,
  RasterLevelsRecord = 61,
  Record62 = 62,
  SheetBackgroundRecord = 63,
};
}  // namespace opcode

// The name above for 0..63, "Opcode64".."Opcode255" otherwise; for tools and traces.
const char* OpcodeName(std::uint8_t op);

}  // namespace quillon
