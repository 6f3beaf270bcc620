#pragma once
// The fill brush of filled shapes.

#include <cstdint>

#include "document/kpz_document.h"
#include "render/draw_context.h"

namespace quillon {

// Makes and selects the fill brush and marks it valid; count is the number of points of the
// shape about to be filled. Only the solid brush in fillColour so far: hatches and bitmap
// patterns come with the fill styles. False when the device refuses the brush (the old one
// stays selected and the valid flag clear).
bool SelectFillBrush(DrawContext& ctx, KpzDocument& doc, std::uint32_t count);

}  // namespace quillon
