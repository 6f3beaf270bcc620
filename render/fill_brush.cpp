#include "render/fill_brush.h"

namespace quillon {

bool SelectFillBrush(DrawContext&, KpzDocument& doc, std::uint32_t) {
  if (!doc.targetDc) return false;
  Device& dc = *doc.targetDc;
  const ObjectId brush = dc.CreateSolidBrush(doc.fillColour);
  if (brush == kNoObject) return false;
  dc.SelectObject(brush);
  // Only the document's own brush is deleted; the DC's default brush is not ours.
  if (doc.fillBrush != kNoObject && doc.fillBrush != brush) dc.DeleteObject(doc.fillBrush);
  doc.fillBrush = brush;
  doc.brushValid = true;
  return true;
}

}  // namespace quillon
