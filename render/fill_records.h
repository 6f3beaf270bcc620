#pragma once
// Area records: polygon sets (7, 8), rectangles (12), pattern definitions (36) and the sheet
// background (63). Same contract as the line records.

#include <cstdint>

#include "document/byte_reader.h"
#include "render/draw_context.h"
#include "render/draw_state.h"

namespace quillon {

bool HandlePolygonSet(DrawContext& ctx, DrawState& st, std::uint8_t op, ByteReader& in);
bool HandleRectangles(DrawContext& ctx, DrawState& st, ByteReader& in);
bool HandlePatternDefinition(DrawContext& ctx, DrawState& st, ByteReader& in);
bool HandleSheetBackground(DrawContext& ctx, DrawState& st, ByteReader& in);

}  // namespace quillon
