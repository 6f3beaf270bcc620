#include "render/fill_brush.h"

#include <algorithm>

#include "render/pattern_brush.h"
#include "render/pattern_table.h"
#include "render/pattern_tiles.h"

namespace quillon {

std::optional<int> MixForMode(std::uint8_t mode) {
  if (mode & 1) return gdi::kMixCopyPen;
  if (mode & 2) return gdi::kMixNop;
  if (mode & 4) return gdi::kMixMaskPen;
  return std::nullopt;
}

int HatchFor(std::uint16_t fillStyle) {
  static constexpr std::uint32_t kHatches[6] = {gdi::kHatchHorizontal, gdi::kHatchVertical,
                                                gdi::kHatchFDiagonal,  gdi::kHatchBDiagonal,
                                                gdi::kHatchCross,      gdi::kHatchDiagCross};
  return static_cast<int>(kHatches[std::clamp<int>(fillStyle, 1, 6) - 1]);
}

std::optional<int> PatternMix(std::uint8_t foreMode, std::uint8_t backMode,
                              std::uint32_t rasterRop) {
  std::optional<int> mix;
  if (foreMode & 1)
    mix = gdi::kMixCopyPen;
  else if ((foreMode & 6) && rasterRop == gdi::kRopSrcAnd)
    mix = gdi::kMixMaskPen;
  if ((backMode & 2) && rasterRop == gdi::kRopSrcAnd) mix = gdi::kMixMaskPen;
  return mix;
}

namespace {

void ApplyMix(Device& dc, std::uint8_t mode) {
  if (const auto mix = MixForMode(mode)) dc.SetROP2(*mix);
}

// Selects fillBrush and deletes the brush it replaced when that one was the document's; the
// DC's own brushes and stock objects are not ours to delete. Both pens become invalid.
void SelectBrush(DrawState& st, Device& dc, ObjectId previousOwn) {
  if (st.fill.brush != kNoObject) {
    const ObjectId replaced = dc.SelectObject(st.fill.brush);
    if (replaced != kNoObject && replaced != st.fill.brush && replaced == previousOwn)
      dc.DeleteObject(replaced);
    else if (previousOwn != kNoObject && previousOwn != st.fill.brush)
      dc.DeleteObject(previousOwn);  // made earlier but no longer selected: still ours
  }
  st.line.valid = false;
  st.outline.valid = false;
}

// Colour table of a one-bit pattern from the pattern colours (entry 1 the 1-bits).
void ColourOneBitPattern(DrawState& st, Device& dc, PatternEntry& entry) {
  if ((st.fill.foreMode & 2) && st.fill.foreColour == st.fill.backColour) {
    st.fill.backMode = 2;
    st.fill.foreMode = 1;
  }
  const ColorRef back = (st.fill.backMode & 2) ? dc.GetBkColor() : st.fill.backColour;
  SetColourEntry(PatternColours(entry), 1, st.fill.foreColour);
  SetColourEntry(PatternColours(entry), 0, back);
}

// Pattern path. False when the pattern is unknown: the current brush stays.
bool SelectPattern(DrawContext& ctx, DrawState& st, Device& dc, std::uint32_t count,
                   ObjectId& made) {
  PatternEntry* entry = FindPattern(st, st.fill.style);
  if (!entry) return false;
  if (entry->bitCount == 1) ColourOneBitPattern(st, dc, *entry);
  if (!st.printing) {
    made = CreateScreenPatternBrush(dc, *entry, ctx.halvingTables(), st.zoom, st.fill.angle,
                                    st.rotation);
  } else {
    const std::uint32_t n = std::min(count, ctx.pointCapacity());
    if (ctx.points(0).data() != nullptr)
      PaintPatternTiles(dc, st, *entry, ctx.points(n), ctx.rasterRop());
  }
  if (const auto mix = PatternMix(st.fill.foreMode, st.fill.backMode, ctx.rasterRop()))
    dc.SetROP2(*mix);
  return true;
}

}  // namespace

bool SelectFillBrush(DrawContext& ctx, DrawState& st, std::uint32_t count) {
  if (!st.target) return false;
  Device& dc = *st.target;
  const ObjectId previous = st.fill.brush;
  ObjectId made = kNoObject;
  bool valid = false;
  if (st.fill.style == 0) {
    made = dc.CreateSolidBrush(st.fill.colour);
    ApplyMix(dc, st.fill.colourMode);
    valid = true;
  } else if (st.fill.style <= 6) {
    ApplyMix(dc, st.fill.foreMode);
    made = dc.CreateHatchBrush(HatchFor(st.fill.style), st.fill.foreColour);
    valid = true;
  } else if (!st.printing && ctx.windows9x()) {
    made = dc.CreateSolidBrush(st.fill.foreColour);
  } else {
    if (!SelectPattern(ctx, st, dc, count, made)) return false;
    if (st.printing) {
      // Tiles were painted; the brush stays as it is.
      SelectBrush(st, dc, kNoObject);
      return true;
    }
  }
  if (made == kNoObject) return false;
  st.fill.brush = made;
  SelectBrush(st, dc, previous);
  st.fill.valid = valid;
  return true;
}

}  // namespace quillon
