#include "document/opcodes.h"

#include <array>
#include <cstdio>

namespace quillon {

namespace {

constexpr std::array<const char*, 64> kNames = {
    "HeaderRecord",
    "IndexRecord",
    "PlotInfoRecord",
    "EndPageRecord",
    "PolylineRecord",
    "ShortPolylineRecord",
    "BezierRecord",
    "PolygonSetRecord",
    "ShortPolygonSetRecord",
    "Record9",
    "Record10",
    "PenTouchRecord",
    "RectangleSetRecord",
    "Record13",
    "CompoundShapeRecord",
    "RasterHeaderRecord",
    "TextRecord",
    "Record17",
    "LineWidthRecord",
    "OutlineWidthRecord",
    "LineJoinRecord",
    "OutlineJoinRecord",
    "LineCapRecord",
    "LineStyleRecord",
    "OutlineStyleRecord",
    "FillStyleRecord",
    "LineColourRecord",
    "OutlineColourRecord",
    "Colour28Record",
    "PatternForeRecord",
    "PatternBackRecord",
    "Colour31Record",
    "Value32Record",
    "Value33Record",
    "Record34",
    "Table35",
    "PatternDefinitionRecord",
    "PatternTableDeclaration",
    "Record38",
    "LineStyleTable",
    "Record40",
    "Record41",
    "Record42",
    "Record43",
    "Record44",
    "Table45",
    "Record46",
    "Table47",
    "FontRecord",
    "Table49",
    "PageTable",
    "Record51",
    "Record52",
    "Record53",
    "RasterDataRecord",
    "FillColourRecord",
    "WideTextRecord",
    "PlotInfoRecord2",
    "LineModeColourRecord",
    "PatternAngleRecord",
    "OutlineModeColourRecord",
    "RasterLevelsRecord",
    "Record62",
    "SheetBackgroundRecord",
};

struct HighNames {
  std::array<std::array<char, 12>, 192> text{};
  HighNames() {
    for (int i = 0; i < 192; ++i) std::snprintf(text[i].data(), text[i].size(), "Opcode%d", i + 64);
  }
};

}  // namespace

const char* OpcodeName(std::uint8_t op) {
  if (op < kNames.size()) return kNames[op];
  static const HighNames high;  // built once, thread-safe static initialisation
  return high.text[op - 64].data();
}

}  // namespace quillon
