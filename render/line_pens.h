#pragma once
// The line pen (polylines, Bezier chains) and the outline pen (edges of filled shapes), made
// from the document's pen state only when a state record has marked them invalid.

#include <cstdint>
#include <vector>

#include "render/draw_context.h"
#include "render/draw_state.h"

namespace quillon {

// Dash counts ExtCreatePen is given for the line pen: at most 16, and 11 on a PostScript
// printer.
inline constexpr std::size_t kMaxPenDashes = 16;
inline constexpr std::size_t kMaxPostScriptPenDashes = 11;
// Styles from this number on are entries of the line-style table.
inline constexpr std::uint16_t kFirstUserStyle = 6;

int MixModeFor(std::uint8_t mix);               // 4: R2_MASKPEN, else R2_COPYPEN
std::uint32_t JoinBitsFor(std::uint8_t join);   // 2 miter, 4 bevel, else round
std::uint32_t EndCapBitsFor(std::uint8_t cap);  // 0 flat, 1 square, else round
// Whole dots, truncated toward zero; never negative.
std::uint32_t PenWidthFor(double width);

struct PenPattern {
  std::uint32_t style = 0;           // PS_GEOMETRIC and the pattern bits
  std::vector<std::int32_t> dashes;  // user styles only: lengths in whole dots
};
// A style number beyond the line-style table (or without one) gives a solid pen.
PenPattern PenPatternFor(const DrawState& st, std::uint16_t style);

// Make, select and mark valid the pen; the replaced pen is deleted when it is one of the
// document's. On Windows 9x with count not 0 the pen is plain and solid, and the first count
// points of the point buffer are drawn at once with the pattern stepped in software. False
// when the device refuses the pen: the old one stays selected and the valid flag clear.
bool CreateLinePen(DrawContext& ctx, DrawState& st, std::uint32_t count);
bool CreateOutlinePen(DrawContext& ctx, DrawState& st, std::uint32_t count);

}  // namespace quillon
