#pragma once
// Raster records: the image header (15), its data (54) and the reduced levels (61).
// Same contract as the line records.

#include "document/byte_reader.h"
#include "document/kpz_document.h"
#include "render/draw_context.h"

namespace quillon {

bool HandleRasterHeader(DrawContext& ctx, KpzDocument& doc, ByteReader& in);
bool HandleRasterData(DrawContext& ctx, KpzDocument& doc, ByteReader& in);
bool HandleRasterLevels(DrawContext& ctx, KpzDocument& doc, ByteReader& in);

}  // namespace quillon
