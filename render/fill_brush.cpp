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
void SelectBrush(KpzDocument& doc, Device& dc, ObjectId previousOwn) {
  if (doc.fillBrush != kNoObject) {
    const ObjectId replaced = dc.SelectObject(doc.fillBrush);
    if (replaced != kNoObject && replaced != doc.fillBrush && replaced == previousOwn)
      dc.DeleteObject(replaced);
    else if (previousOwn != kNoObject && previousOwn != doc.fillBrush)
      dc.DeleteObject(previousOwn);  // made earlier but no longer selected: still ours
  }
  doc.linePenValid = false;
  doc.outlinePenValid = false;
}

// Colour table of a one-bit pattern from the pattern colours (entry 1 the 1-bits).
void ColourOneBitPattern(KpzDocument& doc, Device& dc, PatternEntry& entry) {
  if ((doc.patternForeMode & 2) && doc.patternForeColour == doc.patternBackColour) {
    doc.patternBackMode = 2;
    doc.patternForeMode = 1;
  }
  const ColorRef back = (doc.patternBackMode & 2) ? dc.GetBkColor() : doc.patternBackColour;
  SetColourEntry(PatternColours(entry), 1, doc.patternForeColour);
  SetColourEntry(PatternColours(entry), 0, back);
}

// Pattern path. False when the pattern is unknown: the current brush stays.
bool SelectPattern(DrawContext& ctx, KpzDocument& doc, Device& dc, std::uint32_t count,
                   ObjectId& made) {
  PatternEntry* entry = FindPattern(doc, doc.fillStyle);
  if (!entry) return false;
  if (entry->bitCount == 1) ColourOneBitPattern(doc, dc, *entry);
  if (!doc.printing) {
    made = CreateScreenPatternBrush(dc, *entry, ctx.halvingTables(), doc.zoom, doc.patternAngle,
                                    doc.rotation);
  } else {
    const std::uint32_t n = std::min(count, ctx.pointCapacity());
    if (ctx.points(0).data() != nullptr)
      PaintPatternTiles(dc, doc, *entry, ctx.points(n), ctx.rasterRop());
  }
  if (const auto mix = PatternMix(doc.patternForeMode, doc.patternBackMode, ctx.rasterRop()))
    dc.SetROP2(*mix);
  return true;
}

}  // namespace

bool SelectFillBrush(DrawContext& ctx, KpzDocument& doc, std::uint32_t count) {
  if (!doc.targetDc) return false;
  Device& dc = *doc.targetDc;
  const ObjectId previous = doc.fillBrush;
  ObjectId made = kNoObject;
  bool valid = false;
  if (doc.fillStyle == 0) {
    made = dc.CreateSolidBrush(doc.fillColour);
    ApplyMix(dc, doc.fillColourMode);
    valid = true;
  } else if (doc.fillStyle <= 6) {
    ApplyMix(dc, doc.patternForeMode);
    made = dc.CreateHatchBrush(HatchFor(doc.fillStyle), doc.patternForeColour);
    valid = true;
  } else if (!doc.printing && ctx.windows9x()) {
    made = dc.CreateSolidBrush(doc.patternForeColour);
  } else {
    if (!SelectPattern(ctx, doc, dc, count, made)) return false;
    if (doc.printing) {
      // Tiles were painted; the brush stays as it is.
      SelectBrush(doc, dc, kNoObject);
      return true;
    }
  }
  if (made == kNoObject) return false;
  doc.fillBrush = made;
  SelectBrush(doc, dc, previous);
  doc.brushValid = valid;
  return true;
}

}  // namespace quillon
