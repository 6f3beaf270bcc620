#pragma once
// The view of the document in the control window: scale, origin, quarter-turn rotation and
// the target extents, with the point mappings between document dots and window pixels.

namespace quillon {

struct ViewState {
  // Window pixels per document dot; 0 until the next paint derives it from the extents.
  double ViewScale = 0;
  // Window position of the rotated document's top-left corner.
  double xOrg = 0;
  double yOrg = 0;
  // Degrees: 0, 90, 180 or 270.
  int Rot = 270;
  // Target lengths of the document's own X and Y axes, before rotation.
  double DrawExtentX = 500.0;
  double DrawExtentY = 500.0;
};

// What the navigation reads beside the view state; the control keeps these up to date.
struct ViewFrame {
  // Page size in whole dots, refreshed after every paint.
  int KpzXSize = 1;
  int KpzYSize = 1;
  // Drawing area in pixels, without the status bar strip.
  double ViewWidth = 0;
  double ViewHeight = 0;
  // Drawing area as whole even pixel counts.
  int BufferWidth = 0;
  int BufferHeight = 0;
  // Zoom step of Scale, ScaleDown and the zoom tools, 1 to 2.
  double ScaleFactor = 2.0;
};

// A pixel of the control window.
struct ViewPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};

// A point of the document, in dots.
struct KpzPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const KpzPoint&, const KpzPoint&) = default;
};

inline constexpr int kInitialRot = 270;

bool IsQuarterTurn(int rot);

// True when the document's X axis runs vertically on the screen.
bool IsSideways(int rot);

// The Rot put: only the four quarter turns are taken; anything else leaves the view as it was
// and answers false.
bool PutRot(ViewState& view, int rot);

// A new document name: origin 0, initial rotation, scale derived at the next paint.
void ResetForNewDocument(ViewState& view);

// Extents that fit the drawing area, exchanged when the page lies sideways.
void SetExtentsToView(ViewState& view, double viewWidth, double viewHeight);

// The scale a paint derives from the extents: min(DrawExtentX / KpzXSize, DrawExtentY /
// KpzYSize). A page size below one dot counts as one, so an empty page gives no infinity.
double FittedScale(const ViewState& view, const ViewFrame& frame);

// ViewScale, or while it is 0 the scale the next paint will derive, so that the mappings and
// pan limits between a zoom and its paint work on the view about to be drawn.
double EffectiveScale(const ViewState& view, const ViewFrame& frame);

// Document dots to a window pixel. Every integer conversion truncates toward zero.
ViewPoint KpzToView(const ViewState& view, const ViewFrame& frame, KpzPoint point);

// A pixel offset from the origin back to a document point.
KpzPoint OffsetToKpz(const ViewState& view, const ViewFrame& frame, int x, int y);

// A window pixel back to a document point.
KpzPoint ViewToKpz(const ViewState& view, const ViewFrame& frame, ViewPoint pixel);

}  // namespace quillon
