#pragma once
// Area records: polygon sets (7, 8), rectangles (12), pattern definitions (36) and the sheet
// background (63). Same contract as the line records.

#include <cstdint>

#include "document/byte_reader.h"
#include "document/kpz_document.h"
#include "render/draw_context.h"

namespace quillon {

bool HandlePolygonSet(DrawContext& ctx, KpzDocument& doc, std::uint8_t op, ByteReader& in);
bool HandleRectangles(DrawContext& ctx, KpzDocument& doc, ByteReader& in);
bool HandlePatternDefinition(DrawContext& ctx, KpzDocument& doc, ByteReader& in);
bool HandleSheetBackground(DrawContext& ctx, KpzDocument& doc, ByteReader& in);

}  // namespace quillon
