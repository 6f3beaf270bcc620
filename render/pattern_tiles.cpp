#include "render/pattern_tiles.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/pattern_brush.h"
#include "render/pattern_table.h"

namespace quillon {

namespace {

bool SeeThrough(std::uint8_t mode) { return (mode & 2) != 0 || (mode & 4) != 0; }

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

std::uint32_t PrintPatternRop(std::uint8_t foreMode, std::uint8_t backMode,
                              std::uint32_t rasterRop) {
  if (!SeeThrough(foreMode) && !SeeThrough(backMode)) return gdi::kRopSrcCopy;
  return rasterRop;
}

TileGrid PlanTiles(std::span<const DevicePoint> area, std::int32_t tileWidth,
                   std::int32_t tileHeight, const std::optional<DeviceRect>& clip) {
  TileGrid grid;
  if (area.empty() || tileWidth <= 0 || tileHeight <= 0) return grid;
  std::int64_t minX = area[0].x, maxX = area[0].x, minY = area[0].y, maxY = area[0].y;
  for (const auto& p : area) {
    minX = std::min<std::int64_t>(minX, p.x);
    maxX = std::max<std::int64_t>(maxX, p.x);
    minY = std::min<std::int64_t>(minY, p.y);
    maxY = std::max<std::int64_t>(maxY, p.y);
  }
  grid.columns = maxX / tileWidth + 2;
  grid.rows = maxY / tileHeight + 2;
  // Tiles outside the area's box or the clip box can never be visible: they are not asked.
  std::int64_t left = minX, right = maxX, top = minY, bottom = maxY;  // inclusive
  if (clip) {
    left = std::max<std::int64_t>(left, clip->left);
    right = std::min<std::int64_t>(right, std::int64_t{clip->right} - 1);
    top = std::max<std::int64_t>(top, clip->top);
    bottom = std::min<std::int64_t>(bottom, std::int64_t{clip->bottom} - 1);
  }
  if (left > right || top > bottom) return grid;
  grid.firstColumn = std::max<std::int64_t>(0, FloorDiv(left, tileWidth));
  grid.lastColumn = std::min<std::int64_t>(grid.columns - 1, FloorDiv(right, tileWidth));
  grid.firstRow = std::max<std::int64_t>(0, FloorDiv(top, tileHeight));
  grid.lastRow = std::min<std::int64_t>(grid.rows - 1, FloorDiv(bottom, tileHeight));
  return grid;
}

void PaintPatternTiles(Device& dc, DrawState& st, PatternEntry& entry,
                       std::span<const DevicePoint> area, std::uint32_t rasterRop) {
  if (area.empty() || !PatternDrawable(entry)) return;
  const std::uint32_t rop = PrintPatternRop(st.fill.foreMode, st.fill.backMode, rasterRop);
  // PostScript printers take the colour table with red and blue exchanged for SRCAND.
  if (rop == gdi::kRopSrcAnd && !PatternColours(entry).empty() &&
      dc.QueryEscapeSupport(gdi::kEscPostscriptPassthrough) != 0) {
    const ColorRef back = (st.fill.backMode & 2) ? dc.GetBkColor() : st.fill.backColour;
    SetColourEntry(PatternColours(entry), 1, st.fill.foreColour, true);
    SetColourEntry(PatternColours(entry), 0, back, true);
  }
  std::vector<std::uint8_t> dib =
      ReducedTurnedDib(entry, {}, 1, PatternTurn(st.fill.angle, st.rotation));
  if (dib.empty()) return;
  const std::int32_t w = DibWidth(dib), h = DibHeight(dib);
  if (w <= 0 || h <= 0) return;
  const std::size_t infoBytes = kDibHeaderBytes + entry.colourBytes;
  const DibView view{{dib.data(), infoBytes}, {dib.data() + infoBytes, dib.size() - infoBytes}};

  DeviceRect saved{};
  const int kind = dc.GetClipBox(saved);
  dc.BeginPath();
  dc.MoveTo(area[0].x, area[0].y);
  for (std::size_t i = 1; i < area.size(); ++i) dc.LineTo(area[i].x, area[i].y);
  dc.EndPath();
  dc.SelectClipPath(gdi::kRgnAnd);

  std::optional<DeviceRect> clip;
  if (kind >= 2) clip = saved;  // SIMPLEREGION or COMPLEXREGION
  const TileGrid grid = kind == 1 ? TileGrid{} : PlanTiles(area, w, h, clip);
  std::uint64_t asked = 0;
  for (std::int64_t row = grid.firstRow; row <= grid.lastRow; ++row) {
    for (std::int64_t column = grid.firstColumn; column <= grid.lastColumn; ++column) {
      if (++asked > kMaxPrintTiles) break;
      const std::int64_t x = column * w, y = row * h;
      if (x + w > INT32_MAX || y + h > INT32_MAX) continue;
      const DeviceRect tile{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                            static_cast<std::int32_t>(x + w), static_cast<std::int32_t>(y + h)};
      if (dc.RectVisible(tile)) dc.StretchDIBits(tile.left, tile.top, w, h, 0, 0, w, h, view, rop);
    }
    if (asked > kMaxPrintTiles) break;
  }

  dc.SelectClipRgnNone();
  dc.BeginPath();
  dc.MoveTo(saved.left, saved.top);
  dc.LineTo(saved.right, saved.top);
  dc.LineTo(saved.right, saved.bottom);
  dc.LineTo(saved.left, saved.bottom);
  dc.LineTo(saved.left, saved.top);
  dc.EndPath();
  dc.SelectClipPath(gdi::kRgnCopy);
}

}  // namespace quillon
