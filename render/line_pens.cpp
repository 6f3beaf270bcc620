#include "render/line_pens.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/kpz_tables.h"

namespace quillon {

int MixModeFor(std::uint8_t mix) { return mix == 4 ? gdi::kMixMaskPen : gdi::kMixCopyPen; }

std::uint32_t JoinBitsFor(std::uint8_t join) {
  if (join == 2) return gdi::kPenJoinMiter;
  if (join == 4) return gdi::kPenJoinBevel;
  return gdi::kPenJoinRound;
}

std::uint32_t EndCapBitsFor(std::uint8_t cap) {
  if (cap == 0) return gdi::kPenEndCapFlat;
  if (cap == 1) return gdi::kPenEndCapSquare;
  return gdi::kPenEndCapRound;
}

std::uint32_t PenWidthFor(double width) {
  if (!(width > 0)) return 0;
  const double whole = std::trunc(width);
  if (whole >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::uint32_t>(whole);
}

PenPattern PenPatternFor(const DrawState& st, std::uint16_t style) {
  static constexpr std::uint32_t kBuiltIn[kFirstUserStyle] = {
      gdi::kPenSolid,   gdi::kPenDash,       gdi::kPenDot,
      gdi::kPenDashDot, gdi::kPenDashDotDot, gdi::kPenAlternate};
  PenPattern pattern;
  if (style < kFirstUserStyle) {
    pattern.style = gdi::kPenGeometric | kBuiltIn[style];
    return pattern;
  }
  const auto lengths = LineStyleDashes(st.doc(), style - kFirstUserStyle);
  if (!lengths) {
    pattern.style = gdi::kPenGeometric | gdi::kPenSolid;
    return pattern;
  }
  pattern.style = gdi::kPenGeometric | gdi::kPenUserStyle;
  pattern.dashes.reserve(lengths->size());
  // Lengths are at most 65536, so the truncation fits.
  for (float length : *lengths) pattern.dashes.push_back(static_cast<std::int32_t>(length));
  return pattern;
}

namespace {

// Everything that differs between the two pens.
struct PenRecipe {
  int mix;
  std::uint16_t style;
  std::uint32_t endsAndJoin;
  double width;
  ColorRef colour;
  bool limitDashes;  // the outline pen passes its dashes unlimited
};

// Selects the new pen and deletes the one it replaced, as long as that one is the
// document's: the DC's default pen and pens of whoever set up the DC are not ours to delete.
// A pen of the same kind that was not selected here (a DC changed between draws) is deleted
// too, so that replacing it never loses its id.
void TakePen(DrawState& st, Device& dc, ObjectId pen, ObjectId& own) {
  const ObjectId previous = dc.SelectObject(pen);
  if (previous != kNoObject && previous != pen &&
      (previous == st.line.pen || previous == st.outline.pen)) {
    dc.DeleteObject(previous);
    if (st.line.pen == previous) st.line.pen = kNoObject;
    if (st.outline.pen == previous) st.outline.pen = kNoObject;
  }
  if (own != kNoObject && own != pen) dc.DeleteObject(own);
  own = pen;
}

// The first count points of the buffer, never more than it holds.
std::span<const DevicePoint> BufferedPoints(DrawContext& ctx, std::uint32_t count) {
  if (ctx.points(0).data() == nullptr) return {};
  return ctx.points(std::min(count, ctx.pointCapacity()));
}

// Steps shared by both pens; `own` is the pen field being replaced. True when a pen was made.
bool MakePen(DrawContext& ctx, DrawState& st, const PenRecipe& recipe, ObjectId& own,
             DashStepper* stepper, std::uint32_t count) {
  if (!st.target) return false;
  Device& dc = *st.target;
  dc.SetROP2(recipe.mix);
  PenPattern pattern = PenPatternFor(st, recipe.style);
  const std::uint32_t style = pattern.style | recipe.endsAndJoin;
  const std::uint32_t width = PenWidthFor(recipe.width);

  const auto points = BufferedPoints(ctx, count);
  if (ctx.windows9x() && !points.empty()) {
    const ObjectId pen = dc.CreatePen(gdi::kPenSolid, static_cast<int>(width), recipe.colour);
    if (pen == kNoObject) return false;
    TakePen(st, dc, pen, own);
    // The built-in styles have no lengths here, so they draw solid.
    DashStepper local;
    DashStepper& walk = stepper ? *stepper : local;
    walk.SetPattern(pattern.dashes);
    walk.DrawPolyline(dc, points);
    return true;
  }

  std::size_t dashCount = pattern.dashes.size();
  if (recipe.limitDashes) {
    dashCount = std::min(dashCount, kMaxPenDashes);
    if (st.printing && dc.QueryEscapeSupport(gdi::kEscPostscriptPassthrough) != 0)
      dashCount = std::min(dashCount, kMaxPostScriptPenDashes);
  }
  std::vector<std::uint32_t> dashes(
      pattern.dashes.begin(), pattern.dashes.begin() + static_cast<std::ptrdiff_t>(dashCount));
  const ObjectId pen =
      dc.ExtCreatePen(style, width, BrushDesc{gdi::kBrushSolid, recipe.colour, 0}, dashes);
  if (pen == kNoObject) return false;
  TakePen(st, dc, pen, own);
  return true;
}

}  // namespace

bool CreateLinePen(DrawContext& ctx, DrawState& st, std::uint32_t count) {
  const PenRecipe recipe{MixModeFor(st.line.mix),
                         st.line.style,
                         EndCapBitsFor(st.line.cap) | JoinBitsFor(st.line.join),
                         st.line.width,
                         st.line.colour,
                         true};
  if (!MakePen(ctx, st, recipe, st.line.pen, &ctx.dashStepper(), count)) return false;
  st.line.valid = true;
  st.outline.valid = false;
  st.fill.valid = false;
  return true;
}

// The outline pen has round ends always, and on Windows 9x steps its dashes with a stepper
// of its own so that the line pattern's phase is left alone.
bool CreateOutlinePen(DrawContext& ctx, DrawState& st, std::uint32_t count) {
  const PenRecipe recipe{MixModeFor(st.outline.mix),
                         st.outline.style,
                         gdi::kPenEndCapRound | JoinBitsFor(st.outline.join),
                         st.outline.width,
                         st.outline.colour,
                         false};
  if (!MakePen(ctx, st, recipe, st.outline.pen, nullptr, count)) return false;
  st.outline.valid = true;
  st.line.valid = false;
  st.fill.valid = false;
  return true;
}

}  // namespace quillon
