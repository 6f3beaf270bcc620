#pragma once
// The fill brush of filled shapes: solid, hatched, or a pattern of the document (a pattern
// brush on the screen, tiles painted inside the area on a printer).

#include <cstdint>
#include <optional>

#include "render/draw_context.h"
#include "render/draw_state.h"

namespace quillon {

// The mix mode a mode byte asks for: its lowest of the bit values 1, 2, 4 gives R2_COPYPEN,
// R2_NOP or R2_MASKPEN; none of them leaves the DC's mix mode alone.
std::optional<int> MixForMode(std::uint8_t mode);
// Hatch style of fill styles 1 to 6.
int HatchFor(std::uint16_t fillStyle);
// The mix mode after a pattern fill, or none.
std::optional<int> PatternMix(std::uint8_t foreMode, std::uint8_t backMode,
                              std::uint32_t rasterRop);

// Chooses and selects the fill brush for a shape whose `count` transformed vertices are in
// the point buffer. Solid and hatch brushes are marked valid; a pattern leaves the flag clear
// so that the next filled record builds it again. Selecting a brush invalidates both pens.
// False when nothing was selected (the device refused the brush, or no such pattern).
bool SelectFillBrush(DrawContext& ctx, DrawState& st, std::uint32_t count);

}  // namespace quillon
