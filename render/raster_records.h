#pragma once
// Raster records: the image header (15), its data (54) and the reduced levels (61).
// Same contract as the line records.

#include "document/byte_reader.h"
#include "render/draw_context.h"
#include "render/draw_state.h"

namespace quillon {

bool HandleRasterHeader(DrawContext& ctx, DrawState& st, ByteReader& in);
bool HandleRasterData(DrawContext& ctx, DrawState& st, ByteReader& in);
bool HandleRasterLevels(DrawContext& ctx, DrawState& st, ByteReader& in);

}  // namespace quillon
