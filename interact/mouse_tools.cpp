#include "interact/mouse_tools.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "base/numeric.h"

namespace quillon {
namespace {

StatusTexts ToolTexts(std::string_view mode, std::string_view prompt) {
  return {std::string(mode), std::string(prompt), std::nullopt};
}

bool IsPointTool(int tool) {
  return tool == kToolZoomIn || tool == kToolZoomOut || tool == kToolWindowCenter;
}

CursorKind IdleCursor(int tool) {
  if (tool == kToolPan) return CursorKind::OpenHand;
  if (IsPointTool(tool) || tool == kToolWindowArea) return CursorKind::Cross;
  return CursorKind::Unchanged;
}

}  // namespace

bool MouseTools::TakeRedrawRubberLine() {
  const bool redraw = redrawRubberLine_;
  redrawRubberLine_ = false;
  return redraw;
}

std::vector<ViewPoint> MouseTools::MeasureFigure() const {
  std::vector<ViewPoint> figure;
  for (const KpzPoint& p : measure_.MeasurePoints()) {
    figure.push_back(KpzToView(nav_.view, nav_.frame, p));
  }
  return figure;
}

std::optional<RubberFigure> MouseTools::ShownRubberLine() const {
  const std::vector<KpzPoint>& points = measure_.MeasurePoints();
  if (!rubberLineShown_ || !measure_.On() || points.empty()) return std::nullopt;
  return RubberFigure{RubberFigure::Kind::Line, KpzToView(nav_.view, nav_.frame, points.back()),
                      rubberLineEnd_};
}

MouseResponse MouseTools::ChooseTool(int tool) {
  MouseResponse out;
  switch (tool) {
    case kToolPan:
      out.status = ToolTexts(kPanModeText, kPanPromptText);
      break;
    case kToolZoomIn:
      out.status = ToolTexts(" Zoom In", "Enter Zoom Point");
      break;
    case kToolZoomOut:
      out.status = ToolTexts(" Zoom Out", "Enter Zoom Point");
      break;
    case kToolWindowArea:
      out.status = ToolTexts(" Window Area", "Enter Zoom Rectangle");
      break;
    case kToolWindowCenter:
      out.status = ToolTexts(" Window Center", "Enter Point");
      break;
    default:
      out.taken = false;
      return out;
  }
  activeTool_ = tool;
  out.cursor = tool == kToolPan ? CursorKind::Unchanged : CursorKind::Cross;
  out.repaintFromBackBuffer = true;
  AfterCommand(tool);
  return out;
}

MouseResponse MouseTools::StartPlotToForm() {
  MouseResponse out;
  activeTool_ = kToolPlotToForm;
  outline_.reset();
  out.status = ToolTexts(" Plot To Form", "Click and Drag to Enter Area to be Plotted");
  out.repaintFromBackBuffer = true;
  return out;
}

MouseResponse MouseTools::ToggleMeasure(MeasureMode mode) {
  MouseResponse out;
  if (mode == MeasureMode::Off) {
    out.taken = false;
    return out;
  }
  if (measure_.Mode() == mode) return SwitchMeasureOff();
  // The menu greys the other mode while one is on, and the Plot To Form drag owns the mouse.
  if (measure_.On() || activeTool_ == kToolPlotToForm) {
    out.taken = false;
    return out;
  }
  return PlacingPoints(measure_.SwitchOn(mode));
}

MouseResponse MouseTools::PlacingPoints(StatusTexts status) {
  MouseResponse out;
  out.status = std::move(status);
  activeTool_ = kToolMeasure;
  rubberLineShown_ = false;
  out.cursor = CursorKind::Cross;
  out.repaintFromBackBuffer = true;
  return out;
}

MouseResponse MouseTools::SwitchMeasureOff() {
  MouseResponse out;
  out.status = measure_.SwitchOff();
  activeTool_ = kToolPan;
  rubberLineShown_ = false;
  out.removeMeasureFigure = true;
  out.repaintFromBackBuffer = true;
  return out;
}

void MouseTools::AfterCommand(int command) {
  if (!measure_.On()) return;
  if (activeTool_ != kToolMeasure) {
    rubberLineShown_ = false;
  } else if (command == kCommandFit || command == kCommandRotateLeft ||
             command == kCommandRotateRight) {
    redrawRubberLine_ = true;
  }
}

bool MouseTools::InView(ViewPoint p) const {
  return p.x >= 0 && p.y >= 0 && p.x <= nav_.frame.ViewWidth && p.y <= nav_.frame.ViewHeight;
}

void MouseTools::ReleaseCapture(MouseResponse& out) {
  out.releaseCapture = true;
  capturing_ = false;
}

MouseResponse MouseTools::Press(ViewPoint at) {
  MouseResponse out;
  last_ = at;
  if (activeTool_ == kToolWindowArea) {
    anchor_ = corner_ = at;
    out.capture = true;
    capturing_ = true;
  } else if (activeTool_ == kToolPlotToForm) {
    out.capture = true;
    capturing_ = true;
  }
  CancelPanDrag(nav_.drag);
  if (activeTool_ == kToolPan) {
    out.cursor = CursorKind::ClosedHand;
    panPressed_ = true;
  } else {
    out.cursor = CursorKind::Cross;
  }
  return out;
}

MouseResponse MouseTools::Move(ViewPoint at, bool leftHeld) {
  MouseResponse out;
  if (activeTool_ == kToolPan && panPressed_) {
    out.cursor = CursorKind::ClosedHand;
    // The release went elsewhere: the drag ends here.
    if (!leftHeld) {
      panPressed_ = false;
      EndPanDrag(nav_, listener_);
    }
  }
  if (measure_.On() && activeTool_ == kToolMeasure) MoveMeasureLine(at, out);
  if (!leftHeld) {
    if (const CursorKind idle = IdleCursor(activeTool_); idle != CursorKind::Unchanged) {
      out.cursor = idle;
    }
    return out;
  }
  if (activeTool_ == kToolPlotToForm && capturing_) {
    MoveOutline(at, out);
  } else if (activeTool_ == kToolWindowArea && capturing_) {
    MoveRubberRectangle(at, out);
  } else if (activeTool_ == kToolPan && panPressed_) {
    PanDragStep(nav_, listener_, last_, at);
  }
  return out;
}

void MouseTools::MoveMeasureLine(ViewPoint at, MouseResponse& out) {
  out.cursor = CursorKind::Cross;
  // A Window Area zoom while measuring keeps the capture until now; it goes whether or not
  // there are points, so the mouse is never left captured.
  if (deferredRelease_) {
    deferredRelease_ = false;
    ReleaseCapture(out);
  }
  const std::vector<KpzPoint>& points = measure_.MeasurePoints();
  if (points.empty()) return;
  const ViewPoint from = KpzToView(nav_.view, nav_.frame, points.back());
  if (rubberLineShown_) out.figures.push_back({RubberFigure::Kind::Line, from, rubberLineEnd_});
  rubberLineShown_ = true;
  if (InView(at)) rubberLineEnd_ = at;
  out.figures.push_back({RubberFigure::Kind::Line, from, rubberLineEnd_});
}

void MouseTools::MoveOutline(ViewPoint at, MouseResponse& out) {
  if (outline_) out.figures.push_back({RubberFigure::Kind::FormOutline, *outline_, {}});
  if (InView(at)) outline_ = at;
  if (outline_) out.figures.push_back({RubberFigure::Kind::FormOutline, *outline_, {}});
}

void MouseTools::MoveRubberRectangle(ViewPoint at, MouseResponse& out) {
  out.figures.push_back(Rectangle());
  if (InView(at)) corner_ = at;
  // The rectangle keeps the drawing area's proportions: its width sets its height.
  const int width = std::abs(corner_.x - anchor_.x);
  const double r = width == 0 ? 1.0 : nav_.frame.ViewWidth / width;
  const int t = TruncToInt(anchor_.y + nav_.frame.ViewHeight / r);
  corner_.y = anchor_.y < corner_.y ? t : 2 * anchor_.y - t;
  out.figures.push_back(Rectangle());
}

MouseResponse MouseTools::Release(ViewPoint at, const MeasurePage& page,
                                  const MeasureScale& scale) {
  MouseResponse out;
  if (measure_.On() && activeTool_ == kToolMeasure && !afterDoubleClick_) {
    out.cursor = CursorKind::Cross;
    out.status = measure_.Place(ViewToKpz(nav_.view, nav_.frame, at), page, scale);
    out.pointPlaced = true;
    out.repaintFromBackBuffer = true;
    // The repaint wipes the rubber line; the next move starts it afresh from the new point.
    rubberLineShown_ = false;
  }
  if (activeTool_ == kToolPlotToForm && capturing_) {
    out = EndPlotToForm();
  } else if (activeTool_ == kToolWindowArea && capturing_) {
    if (measure_.On()) {
      deferredRelease_ = true;
    } else {
      ReleaseCapture(out);
    }
    // A flat rectangle zooms nothing and no paint follows to wipe it: remove it here.
    if (!ZoomToRect(nav_, listener_, anchor_, corner_)) out.figures.push_back(Rectangle());
    anchor_ = corner_ = {};
  }
  if (nav_.drag.PanDragging) {
    EndPanDrag(nav_, listener_);
  } else if (activeTool_ == kToolZoomIn) {
    ZoomInAt(nav_, listener_, at.x, at.y);
  } else if (activeTool_ == kToolZoomOut) {
    ZoomOutAt(nav_, listener_, at.x, at.y);
  } else if (activeTool_ == kToolWindowCenter) {
    WindowCenter(nav_, listener_, at.x, at.y);
  }
  // A tool chosen while measuring works for one click; then measuring resumes.
  if (measure_.On() && activeTool_ != kToolMeasure) {
    activeTool_ = kToolMeasure;
    out.status = measure_.Resume();
    rubberLineShown_ = false;
  }
  if (activeTool_ == kToolPan) out.cursor = CursorKind::OpenHand;
  panPressed_ = false;
  afterDoubleClick_ = false;
  return out;
}

MouseResponse MouseTools::EndPlotToForm() {
  MouseResponse out;
  if (outline_) out.figures.push_back({RubberFigure::Kind::FormOutline, *outline_, {}});
  ReleaseCapture(out);
  out.placeFormAt = outline_;
  outline_.reset();
  activeTool_ = kToolPan;
  out.status = ToolTexts(kPanModeText, kPanPromptText);
  out.repaintFromBackBuffer = true;
  return out;
}

MouseResponse MouseTools::DoubleClick() {
  if (!measure_.On()) return {};
  afterDoubleClick_ = true;
  MouseResponse out = PlacingPoints(measure_.Reset());
  out.removeMeasureFigure = true;
  return out;
}

MouseResponse MouseTools::Escape() {
  MouseResponse out;
  if (measure_.On()) out = SwitchMeasureOff();
  if (activeTool_ == kToolPlotToForm && !capturing_) {
    out.status = ToolTexts(kPanModeText, kPanPromptText);
    listener_.InvalidateView();
    activeTool_ = kToolPan;
    out.cursor = CursorKind::ClosedHand;
  }
  return out;
}

MouseResponse MouseTools::CancelMode() {
  MouseResponse out;
  if (!capturing_) return out;
  if (activeTool_ == kToolWindowArea) {
    out.figures.push_back(Rectangle());
    anchor_ = corner_ = {};
  } else if (activeTool_ == kToolPlotToForm) {
    if (outline_) out.figures.push_back({RubberFigure::Kind::FormOutline, *outline_, {}});
    outline_.reset();
  }
  ReleaseCapture(out);
  return out;
}

MouseResponse MouseTools::Wheel(int delta, ViewPoint at) {
  MouseResponse out;
  if (!InView(at)) {
    out.taken = false;
    return out;
  }
  // A zoom under a rubber band or a shifted pan image would leave them on the wrong view.
  if (capturing_ || nav_.drag.PanDragging) return out;
  const double f = nav_.frame.ScaleFactor;
  const int steps = wheel_.Add(delta);
  for (int i = 0; i < std::abs(steps); ++i) ZoomAbout(nav_, listener_, steps > 0 ? f : 1 / f, at);
  // The paint at the new view wipes a measuring rubber line; it draws it again, as after Fit.
  if (steps != 0) AfterCommand(kCommandFit);
  return out;
}

}  // namespace quillon
