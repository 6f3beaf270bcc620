#include "render/pattern_brush.h"

#include <cmath>

#include "render/bit_rotation.h"
#include "render/bitmap_halving.h"
#include "render/pattern_table.h"

namespace quillon {

int LargestReduction(std::int32_t width, std::int32_t height) {
  for (int l : {16, 8, 4, 2})
    if (width / l >= kMinReducedSide && height / l >= kMinReducedSide) return l;
  return 1;
}

int ReductionFor(int largest, double zoom) {
  if (!(zoom > 0)) return 1;
  const double d = 1.0 / zoom;
  int limit = 1;
  if (d > 16)
    limit = 16;
  else if (d > 8)
    limit = 8;
  else if (d > 4)
    limit = 4;
  else if (d > 2)
    limit = 2;
  return largest < limit ? largest : limit;
}

std::optional<int> PatternTurn(float patternAngle, int rotation) {
  if (patternAngle != 0.0f && patternAngle != 90.0f && patternAngle != 180.0f &&
      patternAngle != 270.0f)
    return std::nullopt;
  int turn = (static_cast<int>(patternAngle) - rotation) % 360;
  if (turn < 0) turn += 360;
  return turn;
}

std::vector<std::uint8_t> ReducedTurnedDib(const PatternEntry& entry, const HalvingTables& tables,
                                           int reduction, std::optional<int> turn) {
  const RowsView source = PatternRows(entry);
  if (source.data.empty()) return {};
  PixelRows rows;
  rows.data.assign(source.data.begin(), source.data.end());
  rows.width = source.width;
  rows.height = source.height;
  rows.stride = source.stride;
  for (int e = reduction; e > 1; e /= 2) {
    const RowsView view{rows.data, rows.width, rows.height, rows.stride, entry.bitCount};
    rows = entry.bitCount == 1 ? HalveBits(view, tables) : HalvePixels(view);
    if (rows.width == 0 || rows.height == 0) return {};
  }
  if (turn) {
    const RowsView view{rows.data, rows.width, rows.height, rows.stride, entry.bitCount};
    rows = entry.bitCount == 1 ? RotateBits(view, *turn) : RotatePixels(view, *turn);
    if (rows.width == 0 || rows.height == 0) return {};
  }
  return PackLike(entry, rows);
}

ObjectId CreateScreenPatternBrush(Device& dc, const PatternEntry& entry,
                                  const HalvingTables& tables, double zoom, float patternAngle,
                                  int rotation) {
  if (!PatternDrawable(entry)) return kNoObject;
  const std::int32_t w = entry.width, h = entry.height;
  if (w < kSmallPatternSide || h < kSmallPatternSide) {
    // Small patterns are used as defined; at angles 0 and 180 the rows are given top-down.
    std::vector<std::uint8_t> dib(entry.dib, entry.dib + entry.dibSize);
    const float whole = std::trunc(patternAngle);
    if (whole == 0.0f || whole == 180.0f) SetDibHeight(dib, -h);
    const std::size_t infoBytes = kDibHeaderBytes + entry.colourBytes;
    return dc.CreateDibPatternBrush(
        {{dib.data(), infoBytes}, {dib.data() + infoBytes, dib.size() - infoBytes}});
  }
  const int reduction = ReductionFor(LargestReduction(w, h), zoom);
  std::vector<std::uint8_t> dib =
      ReducedTurnedDib(entry, tables, reduction, PatternTurn(patternAngle, rotation));
  if (dib.empty()) return kNoObject;
  const std::size_t infoBytes = kDibHeaderBytes + entry.colourBytes;
  return dc.CreateDibPatternBrush(
      {{dib.data(), infoBytes}, {dib.data() + infoBytes, dib.size() - infoBytes}});
}

}  // namespace quillon
