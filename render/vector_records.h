#pragma once
// Line records: polylines (4, 5), Bezier chains (6), the pen touch (11) and compound shapes
// (14). Each takes the reader just after the opcode byte, leaves it at the next record, and
// returns false when the record cannot be read whole (the page then ends).

#include <cstdint>
#include <span>
#include <string>

#include "document/byte_reader.h"
#include "render/draw_context.h"
#include "render/draw_state.h"

namespace quillon {

bool HandlePolyline(DrawContext& ctx, DrawState& st, std::uint8_t op, ByteReader& in);
bool HandleBezier(DrawContext& ctx, DrawState& st, ByteReader& in);
bool HandlePenTouch(DrawContext& ctx, DrawState& st, ByteReader& in);
bool HandleCompoundShape(DrawContext& ctx, DrawState& st, ByteReader& in);

}  // namespace quillon
