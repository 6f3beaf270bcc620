#pragma once
// Patterns on a printer: the area is made the clip path and the pattern bitmap is painted
// over it tile by tile with StretchDIBits, on a grid anchored at logical (0, 0).

#include <cstdint>
#include <optional>
#include <span>

#include "render/device.h"
#include "render/draw_state.h"

namespace quillon {

// At most this many grid tiles are looked at for one area.
inline constexpr std::uint64_t kMaxPrintTiles = 1u << 22;

// The raster operation of the tiles: SRCCOPY when neither mode byte asks for a see-through
// mix (bit values 2 or 4), else `rasterRop`.
std::uint32_t PrintPatternRop(std::uint8_t foreMode, std::uint8_t backMode,
                              std::uint32_t rasterRop);

// The grid over an area: columns = maxX div W + 2, rows = maxY div H + 2, and within it the
// columns and rows [first, last] that can meet `visible` (the area's bounding box clipped
// to the clip box); none when the two do not meet.
struct TileGrid {
  std::int64_t columns = 0, rows = 0;
  std::int64_t firstColumn = 0, lastColumn = -1, firstRow = 0, lastRow = -1;
};
TileGrid PlanTiles(std::span<const DevicePoint> area, std::int32_t tileWidth,
                   std::int32_t tileHeight, const std::optional<DeviceRect>& clip);

// Steps 4a-4g of the pattern path: rop choice, PostScript colour swap, turn, clip path, the
// tiles, clip restored along the saved clip box. Nothing is done for an empty area or a
// pattern without a bitmap.
void PaintPatternTiles(Device& dc, DrawState& st, PatternEntry& entry,
                       std::span<const DevicePoint> area, std::uint32_t rasterRop);

}  // namespace quillon
