#include "render/record_dispatch.h"

#include "document/opcodes.h"
#include "document/record_layout.h"
#include "render/fill_records.h"
#include "render/raster_records.h"
#include "render/state_records.h"
#include "render/vector_records.h"

namespace quillon {

namespace {

bool EndPage(DrawContext& ctx, DrawState& st, ByteReader& in) {
  const std::size_t end = ctx.dataEnd();
  in.seek(end > 0 ? end - 1 : 0);
  if (st.printing && st.target) st.target->EndPage();
  return true;
}

}  // namespace

bool DispatchRecord(DrawContext& ctx, DrawState& st, std::uint8_t op, ByteReader& in) {
  using namespace opcode;
  switch (op) {
    case PlotInfoRecord:
    case PlotInfoRecord2:
      return ReadPlotInfo(st, op, in);
    case EndPageRecord:
      return EndPage(ctx, st, in);
    case PolylineRecord:
    case ShortPolylineRecord:
      return HandlePolyline(ctx, st, op, in);
    case BezierRecord:
      return HandleBezier(ctx, st, in);
    case PenTouchRecord:
      return HandlePenTouch(ctx, st, in);
    case CompoundShapeRecord:
      return HandleCompoundShape(ctx, st, in);
    case LineWidthRecord:
    case OutlineWidthRecord:
    case LineJoinRecord:
    case OutlineJoinRecord:
    case LineCapRecord:
    case LineStyleRecord:
    case OutlineStyleRecord:
    case LineColourRecord:
    case OutlineColourRecord:
    case LineModeColourRecord:
    case OutlineModeColourRecord:
      return ReadPenState(st, op, in);
    case FillStyleRecord:
    case PatternForeRecord:
    case PatternBackRecord:
    case FillColourRecord:
    case PatternAngleRecord:
      return ReadFillState(st, op, in);
    case Colour28Record:
    case Colour31Record:
    case Value32Record:
    case Value33Record:
      return ReadStoredValue(st, op, in);
    case Record9:
    case Record10:
    case Record13:
    case TextRecord:
    case Record17:
    case Record34:
    case Record38:
    case Record41:
    case Record43:
    case FontRecord:
    case WideTextRecord:
      return ConsumeRecord(op, in);
    case PolygonSetRecord:
    case ShortPolygonSetRecord:
      return HandlePolygonSet(ctx, st, op, in);
    case RectangleSetRecord:
      return HandleRectangles(ctx, st, in);
    case PatternDefinitionRecord:
      return HandlePatternDefinition(ctx, st, in);
    case SheetBackgroundRecord:
      return HandleSheetBackground(ctx, st, in);
    case RasterHeaderRecord:
      return HandleRasterHeader(ctx, st, in);
    case RasterDataRecord:
      return HandleRasterData(ctx, st, in);
    case RasterLevelsRecord:
      return HandleRasterLevels(ctx, st, in);
    default:
      // 0, 1, the tables, 40, 42, 44, 46, 51-53, 62 and 64-255.
      return SkipLengthPrefixed(in);
  }
}

}  // namespace quillon
