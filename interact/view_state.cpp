#include "interact/view_state.h"

#include <algorithm>

#include "base/numeric.h"

namespace quillon {

bool IsQuarterTurn(int rot) { return rot == 0 || rot == 90 || rot == 180 || rot == 270; }

bool IsSideways(int rot) { return rot == 90 || rot == 270; }

bool PutRot(ViewState& view, int rot) {
  if (!IsQuarterTurn(rot)) return false;
  view.Rot = rot;
  return true;
}

void ResetForNewDocument(ViewState& view) {
  view.xOrg = 0;
  view.yOrg = 0;
  view.Rot = kInitialRot;
  view.ViewScale = 0;
}

void SetExtentsToView(ViewState& view, double viewWidth, double viewHeight) {
  if (IsSideways(view.Rot)) {
    view.DrawExtentX = viewHeight;
    view.DrawExtentY = viewWidth;
  } else {
    view.DrawExtentX = viewWidth;
    view.DrawExtentY = viewHeight;
  }
}

double FittedScale(const ViewState& view, const ViewFrame& frame) {
  const double w = std::max(frame.KpzXSize, 1);
  const double h = std::max(frame.KpzYSize, 1);
  return std::min(view.DrawExtentX / w, view.DrawExtentY / h);
}

double EffectiveScale(const ViewState& view, const ViewFrame& frame) {
  return view.ViewScale != 0 ? view.ViewScale : FittedScale(view, frame);
}

ViewPoint KpzToView(const ViewState& view, const ViewFrame& frame, KpzPoint point) {
  const double s = EffectiveScale(view, frame);
  const double w = frame.KpzXSize;
  const double h = frame.KpzYSize;
  const int a = TruncToInt(point.x * s + 0.5);
  const int b = TruncToInt(point.y * s + 0.5);
  int u = a;
  int v = b;
  switch (view.Rot) {
    case 90:
      u = TruncToInt(s * h - b);
      v = a;
      break;
    case 180:
      u = TruncToInt(s * w - a);
      v = TruncToInt(s * h - b);
      break;
    case 270:
      u = b;
      v = TruncToInt(s * w - a);
      break;
    default:  // 0, and any value that is not a quarter turn: unturned
      break;
  }
  return {TruncToInt(view.xOrg + 0.5 + u), TruncToInt(view.yOrg + 0.5 + v)};
}

KpzPoint OffsetToKpz(const ViewState& view, const ViewFrame& frame, int x, int y) {
  const double s = EffectiveScale(view, frame);
  const double w = frame.KpzXSize;
  const double h = frame.KpzYSize;
  int p = x;
  int q = y;
  switch (view.Rot) {
    case 90:
      p = y;
      q = TruncToInt(h * s - x);
      break;
    case 180:
      p = TruncToInt(w * s - x);
      q = TruncToInt(h * s - y);
      break;
    case 270:
      p = TruncToInt(w * s - y);
      q = x;
      break;
    default:
      break;
  }
  // A zero scale (empty extents) maps every pixel to the document's origin.
  if (s == 0) return {};
  return {TruncToInt(p / s), TruncToInt(q / s)};
}

KpzPoint ViewToKpz(const ViewState& view, const ViewFrame& frame, ViewPoint pixel) {
  const int x = TruncToInt(pixel.x - view.xOrg + 0.5);
  const int y = TruncToInt(pixel.y - view.yOrg + 0.5);
  return OffsetToKpz(view, frame, x, y);
}

}  // namespace quillon
