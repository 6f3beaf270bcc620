#pragma once
// Line records: polylines (4, 5), Bezier chains (6), the pen touch (11) and compound shapes
// (14). Each takes the reader just after the opcode byte, leaves it at the next record, and
// returns false when the record cannot be read whole (the page then ends).

#include <cstdint>
#include <span>
#include <string>

#include "document/byte_reader.h"
#include "document/kpz_document.h"
#include "render/draw_context.h"

namespace quillon {

bool HandlePolyline(DrawContext& ctx, KpzDocument& doc, std::uint8_t op, ByteReader& in);
bool HandleBezier(DrawContext& ctx, KpzDocument& doc, ByteReader& in);
bool HandlePenTouch(DrawContext& ctx, KpzDocument& doc, ByteReader& in);
bool HandleCompoundShape(DrawContext& ctx, KpzDocument& doc, ByteReader& in);

// "label n=3 (10,20) (30,40) (50,60)", at most 16 points, then " ...": the device note that
// records carry until their drawing is in place.
std::string PointsNote(const std::string& label, std::span<const DevicePoint> points);

}  // namespace quillon
